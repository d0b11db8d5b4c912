// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordings/Decimation.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace orv {

// What the chart shows: a run of samples (a recording, or all of them end to end) between
// two times, and the sample under the cursor.
struct ChartScene {
    const SampleTable *table = nullptr;
    const MinMaxIndex *index = nullptr;
    RecordingSpan samples;
    double from = 0; // WallSeconds, fractional when zoomed in close
    double to = 1;
    qsizetype cursor = -1;
    QString message; // shown in place of the chart (a file that could not be read)
};

inline const QColor kValue1Color{192, 0, 0};
inline const QColor kValue2Color{0, 80, 200};

// The times a whole view spans: the samples with a margin, so the first and the last stand
// clear of the frame; a minute around a lone sample.
std::pair<double, double> wholeTimeRange(const SampleTable &table, RecordingSpan samples);

// Where the plot lies in a chart of this size; the rest holds the legend and the axes.
QRect plotArea(QSize size);
// Draws the chart: value 1 on the left axis, value 2 on the right one, each on its own
// scale fitted to what is shown, the time below in French formats, gaps as gaps.
void paintChart(QPainter &p, QSize size, const ChartScene &scene);
// "07/12/2026 14:03:07 · Valeur 1 : 128 · Valeur 2 : ---"
QString cursorText(const SampleTable &table, qsizetype sample);

// A chart drawn for a file: the pixels of a PNG, or the text of an SVG when vector.
struct ChartPicture {
    QImage pixels;
    QByteArray svg;
};
ChartPicture drawChartPicture(const ChartScene &scene, QSize size, bool vector);
// Writes a drawn chart; a failed write leaves no part of a picture. Needs no window, so it
// may run on any thread. Returns why it failed, in French, or an empty text.
QString writeChartPicture(const ChartPicture &picture, const QString &path);
// Both at once, .png or .svg after the name's extension.
QString saveChartPicture(const ChartScene &scene, QSize size, const QString &path);

} // namespace orv
