// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RecordingLight.h"

#include "display/Twips.h"
#include "ui/Look.h"

#include <QEvent>
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
    // It paints its whole box, so a blink repaints only the light, not the frame behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RecordingLight::setLit(bool lit)
{
    if (lit == m_lit)
        return;
    m_lit = lit;
    update();
}

void RecordingLight::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    QPixmap &look = m_looks[m_lit ? 1 : 0];
    if (look.isNull() || look.size() != size() * ratio || look.devicePixelRatio() != ratio) {
        look = QPixmap(size() * ratio);
        look.setDevicePixelRatio(ratio);
        QPainter p(&look);
        draw(p, m_lit);
    }
    QPainter(this).drawPixmap(0, 0, look);
}

void RecordingLight::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        m_looks[0] = m_looks[1] = QPixmap();
        update();
    }
}

void RecordingLight::draw(QPainter &p, bool lit) const
{
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    if (lit) {
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
    p.setBrush(lit ? kOn : kOff);
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
