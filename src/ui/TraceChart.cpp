// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TraceChart.h"

#include "display/Trace.h"
#include "ui/Look.h"

#include <QPainter>

namespace orv {

namespace {

// The top and left sides of a rectangle in one colour, the bottom and right ones in another.
void drawEdge(QPainter &p, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    p.setPen(topLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

TraceChart::TraceChart(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TraceChart::clear()
{
    m_shown = false;
    update();
}

void TraceChart::showCount(int count)
{
    m_shown = true;
    // From index 97 on a new point lies beyond the right edge: nothing visible changes.
    if (count <= static_cast<int>(kChartWidthUnits) + 1)
        update();
}

void TraceChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // The classic sunken edge: grey and white outside, black and face colour inside.
    const QRect r = rect().adjusted(0, 0, -1, -1);
    drawEdge(p, r, kShadowColor, kLightColor);
    drawEdge(p, r.adjusted(1, 1, -1, -1), kTextColor, kFaceColor);

    const QRect area = rect().adjusted(2, 2, -2, -2);
    p.fillRect(area, Qt::black);
    if (!m_shown || !m_store)
        return;
    p.translate(area.topLeft());
    p.setClipRect(QRect(QPoint(0, 0), area.size()));
    p.setPen(QPen(QColor(0, 255, 0), 1));
    for (const std::vector<QPoint> &run : tracePixels(*m_store, area.size())) {
        if (run.size() == 1)
            p.drawPoint(run.front());
        else
            p.drawPolyline(run.data(), static_cast<int>(run.size()));
    }
}

} // namespace orv
