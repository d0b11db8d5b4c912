// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WrappingButtons.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace orv {

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text.trimmed();
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    const QRect area = rect().adjusted(2, 2, -2, -2).translated(isDown() ? QPoint(1, 1) : QPoint());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
}

void WrapRadioButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QRect area = style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, this);
    const QString caption = opt.text;
    opt.text.clear();
    p.drawControl(QStyle::CE_RadioButton, opt);
    p.setPen(opt.palette.color(QPalette::WindowText));
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, caption);
}

} // namespace orv
