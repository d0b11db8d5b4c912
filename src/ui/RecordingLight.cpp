#include "ui/RecordingLight.h"

#include "display/Twips.h"
#include "ui/Look.h"

#include <QPainter>

namespace orv {

namespace {

const QColor kOff{128, 0, 0};
const QColor kOn{255, 0, 0};

// The circle centred in a box of the layout (twips, within the light).
QRectF circleIn(const QRect &box)
{
    const int d = qMin(box.width(), box.height());
    return {box.x() + (box.width() - d) / 2.0, box.y() + (box.height() - d) / 2.0, double(d), double(d)};
}

} // namespace

RecordingLight::RecordingLight(QWidget *parent)
    : QWidget(parent)
{
}

void RecordingLight::setLit(bool lit)
{
    m_lit = lit;
    update();
}

void RecordingLight::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    if (m_lit) {
        // Its pen, 2 pixels wide, lies wholly inside the box.
        const QRectF halo = circleIn(twips(105, 45, 210, 210)).adjusted(1, 1, -1, -1);
        p.setBrush(QColor(255, 128, 128));
        p.drawEllipse(halo);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 192, 192), 2));
        p.drawEllipse(halo);
    }
    const QRectF disc = circleIn(twips(120, 75, 165, 135)).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(m_lit ? kOn : kOff);
    p.drawEllipse(disc);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOff, 1));
    p.drawEllipse(disc);
    // A circle this small is its square of pixels: smoothed, its edge would blend with the
    // disc and the white turn pink.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(circleIn(twips(145, 50, 30, 150)).toRect(), kLightColor);
}

} // namespace orv
