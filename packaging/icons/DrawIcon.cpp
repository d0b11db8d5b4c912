// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's icon at the sizes an icon theme asks for, with the shapes of
// orvalin.svg: a chart screen with a green trace and the red recording light.
//   orvalin_draw_icon <folder> <size>...   writes <folder>/<size>x<size>/apps/orvalin.png
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdio>

namespace {

void draw(QPainter &p, double size)
{
    // Drawn in the 256-unit square of the SVG; lines keep at least a pixel and a half.
    const double s = size / 256.0;
    auto pen = [s](QColor c, double width) {
        return QPen(c, std::max(width, 1.5 / s), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    };
    p.scale(s, s);

    QPainterPath body;
    body.addRoundedRect(QRectF(12, 12, 232, 232), 40, 40);
    p.fillPath(body, QColor(0x2b, 0x2d, 0x30));
    p.setPen(pen(QColor(0x5a, 0x5e, 0x63), 6));
    p.drawPath(body);

    const QRectF screen(36, 76, 184, 144);
    p.fillRect(screen, Qt::black);
    p.setPen(pen(QColor(0, 0x60, 0), 4));
    for (double y : {112.0, 148.0, 184.0})
        p.drawLine(QPointF(screen.left(), y), QPointF(screen.right(), y));

    p.setPen(pen(QColor(0, 255, 0), 12));
    const QPointF trace[] = {{44, 196}, {82, 160}, {112, 178}, {146, 112}, {178, 134}, {212, 92}};
    p.drawPolyline(trace, static_cast<int>(std::size(trace)));

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 0, 0));
    p.drawEllipse(QPointF(200, 44), 22, 22);
    p.setBrush(QColor(255, 0, 0));
    p.drawEllipse(QPointF(200, 44), 15, 15);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            draw(p, size);
        }
        if (size <= 0 || !QDir().mkpath(dir) || !image.save(dir + QStringLiteral("/orvalin.png"))) {
            std::fprintf(stderr, "cannot write the %s pixel icon in %s\n", argv[i], qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
