// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartScale.h"

#include "display/Scales.h"
#include "ui/Look.h"

#include <QPainter>

namespace orv {

ChartScale::ChartScale(Kind kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(layoutFont(QStringLiteral("MS Serif"), 6));
}

void ChartScale::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), kFaceColor);
    const QFontMetricsF fm(font(), this);
    const std::vector<ScaleTick> ticks = m_kind == Kind::TimeAxis ? timeAxisTicks(size())
                                         : m_kind == Kind::Left   ? leftScaleTicks(size())
                                                                  : rightScaleTicks(size());
    for (const ScaleTick &tick : ticks) {
        p.setPen(QPen(kTextColor, 1));
        p.drawLine(tick.from, tick.to);
        p.setPen(kTextColor);
        p.drawText(QRectF(tick.to.x(), tick.to.y(), fm.horizontalAdvance(tick.label) + 2, fm.height()),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, tick.label);
    }
}

} // namespace orv
