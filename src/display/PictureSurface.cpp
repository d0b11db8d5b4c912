#include "display/PictureSurface.h"

#include <QFontMetricsF>
#include <QPainter>

namespace orv {

PictureSurface::PictureSurface(QSize pixels)
{
    resize(pixels);
}

void PictureSurface::resize(QSize pixels)
{
    m_image = QImage(pixels.isValid() ? pixels : QSize(1, 1), QImage::Format_RGB32);
    m_image.fill(m_back);
    if (m_scaleWidth == 1 && m_scaleHeight == 1)
        setScale(m_image.width(), m_image.height());
}

void PictureSurface::setScale(double widthUnits, double heightUnits)
{
    m_scaleWidth = widthUnits;
    m_scaleHeight = heightUnits;
}

QPointF PictureSurface::toPixels(QPointF units) const
{
    return {units.x() * m_image.width() / m_scaleWidth, units.y() * m_image.height() / m_scaleHeight};
}

void PictureSurface::clear()
{
    m_image.fill(m_back);
    m_pen = {};
}

void PictureSurface::drawLine(QPointF from, QPointF to)
{
    QPainter p(&m_image);
    p.setPen(QPen(m_fore, 1));
    const QPointF a = toPixels(from);
    const QPointF b = toPixels(to);
    p.drawLine(QPoint(qFloor(a.x()), qFloor(a.y())), QPoint(qFloor(b.x()), qFloor(b.y())));
    m_pen = to;
}

void PictureSurface::printLine(const QString &text)
{
    QPainter p(&m_image);
    p.setPen(m_fore);
    p.setFont(m_font);
    const QPointF at = toPixels(m_pen);
    const QFontMetricsF fm(m_font, &m_image);
    p.drawText(QRectF(qFloor(at.x()), qFloor(at.y()), fm.horizontalAdvance(text) + 2, fm.height()),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    m_pen = {0.0, m_pen.y() + fm.height() * m_scaleHeight / m_image.height()};
}

} // namespace orv
