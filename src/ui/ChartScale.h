// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace orv {

// One of the chart's three scales: the time axis under it, the 0 to 30 scale on its left,
// the 0 to 1000 scale on its right. Drawn from its size alone.
class ChartScale : public QWidget {
    Q_OBJECT
public:
    enum class Kind { TimeAxis, Left, Right };
    ChartScale(Kind kind, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    Kind m_kind;
};

} // namespace orv
