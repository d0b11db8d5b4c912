#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>

namespace orv {

// A retained drawing surface with a user coordinate system: origin at the top-left of
// the drawing area, extents in user units, a pen position, segments and text output.
// Lives in an image so the drawing survives being covered or hidden.
class PictureSurface {
public:
    explicit PictureSurface(QSize pixels = {});

    void resize(QSize pixels);
    QSize pixelSize() const { return m_image.size(); }
    const QImage &image() const { return m_image; }

    // Units spanning the drawing area; separate for each axis.
    void setScale(double widthUnits, double heightUnits);
    double scaleWidth() const { return m_scaleWidth; }
    double scaleHeight() const { return m_scaleHeight; }

    void setBackColor(const QColor &c) { m_back = c; }
    void setForeColor(const QColor &c) { m_fore = c; }
    void setFont(const QFont &f) { m_font = f; }
    const QFont &font() const { return m_font; }

    void clear();
    // A segment in the fore colour; the pen ends at its second point.
    void drawLine(QPointF from, QPointF to);
    // Text with its top-left corner at the pen, then a line break: the pen goes to
    // the left edge one text line lower.
    void printLine(const QString &text);

    QPointF currentPos() const { return m_pen; }
    QPointF toPixels(QPointF units) const;

private:
    QImage m_image;
    double m_scaleWidth = 1;
    double m_scaleHeight = 1;
    QColor m_back = Qt::white;
    QColor m_fore = Qt::black;
    QFont m_font;
    QPointF m_pen;
};

} // namespace orv
