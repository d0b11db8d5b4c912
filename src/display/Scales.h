#pragma once

#include <QPointF>
#include <QString>

#include <vector>

namespace orv {

// One mark of a scale: a tick in the box's own units and the label written at its end.
struct ScaleMark {
    QPointF from;
    QPointF to;
    QString label;
};

// Time axis under the chart: horizontalExtent units across (the chart's 96),
// ticks 10 px down to 5 px down, labels 0, 6, ... 36.
std::vector<ScaleMark> timeAxisMarks(double horizontalExtent);
// Right scale, 0 to 1000: x in hundredths of the width, y in twips of a drawing area
// heightTwips high.
std::vector<ScaleMark> rightScaleMarks(double heightTwips);
// Left scale, 0 to 30: twips both ways.
std::vector<ScaleMark> leftScaleMarks(double heightTwips);

} // namespace orv
