#include "ui/TraceChart.h"

#include "display/Trace.h"
#include "ui/Look.h"

#include <QPainter>

namespace orv {

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
    p.setPen(kShadowColor);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(kLightColor);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    const QRect in = r.adjusted(1, 1, -1, -1);
    p.setPen(kTextColor);
    p.drawLine(in.topLeft(), in.topRight());
    p.drawLine(in.topLeft(), in.bottomLeft());
    p.setPen(kFaceColor);
    p.drawLine(in.bottomLeft(), in.bottomRight());
    p.drawLine(in.topRight(), in.bottomRight());

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
