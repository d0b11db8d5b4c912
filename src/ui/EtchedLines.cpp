// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EtchedLines.h"

#include "display/Twips.h"
#include "ui/Look.h"

#include <QPainter>

namespace orv {

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QFontMetrics fm(font());
    // Etched: a shadow line with a highlight one pixel to the lower right.
    const QRect line = rect().adjusted(0, fm.height() / 2, -2, -2);
    p.setPen(kShadowColor);
    p.drawRect(line);
    p.setPen(kLightColor);
    p.drawRect(line.translated(1, 1));
    if (title().isEmpty())
        return;
    const QRect caption(6, 0, fm.horizontalAdvance(title()) + 4, fm.height());
    p.fillRect(caption, palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, title());
}

PlainLine::PlainLine(QWidget *parent, QPoint fromTwips, QPoint toTwips, const QColor &color)
    : QWidget(parent)
    , m_color(color)
{
    const QPoint a(px(fromTwips.x()), px(fromTwips.y()));
    const QPoint b(px(toTwips.x()), px(toTwips.y()));
    // QRect(a, b) already holds both end points; one more pixel would make the widget two
    // pixels high and slant the line drawn corner to corner.
    setGeometry(QRect(a, b).normalized());
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PlainLine::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(m_color);
    p.drawLine(0, 0, width() - 1, height() - 1);
}

} // namespace orv
