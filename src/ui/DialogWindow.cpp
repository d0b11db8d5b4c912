// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DialogWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace orv {

namespace {

// A link to assistive tools: its text is its name, and pressing it opens it.
class LinkAccessible final : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel *label)
        : QAccessibleWidget(label, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<const LinkLabel *>(widget())->text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            Q_EMIT static_cast<LinkLabel *>(widget())->activated();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *accessibleFor(const QString &key, QObject *object)
{
    // Without this a window of its own is a plain "filler" that a screen reader may not announce.
    if (key == QLatin1String("orv::DialogWindow"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Dialog);
    if (key == QLatin1String("orv::LinkLabel"))
        return new LinkAccessible(static_cast<LinkLabel *>(object));
    return nullptr;
}

void registerAccessibility()
{
    static const bool registered = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace

DialogWindow::DialogWindow(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    registerAccessibility();
}

void DialogWindow::setDefaultButton(QPushButton *button)
{
    m_defaultButton = button;
    button->setDefault(true);
}

void DialogWindow::keyPressEvent(QKeyEvent *event)
{
    // Keys the focused control left alone: the keypad's Enter comes with its modifier.
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_defaultButton
            && m_defaultButton->isVisible() && m_defaultButton->isEnabled()) {
            m_defaultButton->click();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    registerAccessibility();
    // Tab only: a click keeps doing what it did, without taking the focus.
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: Q_EMIT activated(); break;
    default: QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter p(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    const QRect text = fontMetrics().boundingRect(contentsRect(), static_cast<int>(alignment()), QLabel::text());
    option.rect = text.adjusted(-1, 0, 1, 0) & rect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
}

} // namespace orv
