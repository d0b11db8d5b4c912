// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace orv {

// A small window of its own that assistive tools know as a dialog: Enter presses its
// default button, Escape closes it as its close box does.
class DialogWindow : public QWidget {
    Q_OBJECT
public:
    DialogWindow(QWidget *parent, Qt::WindowFlags flags);

    void setDefaultButton(QPushButton *button);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPointer<QPushButton> m_defaultButton;
};

// The text of a link: reached with Tab, opened with Enter or Space, and a link with its
// text as name to assistive tools. The mouse is its owner's business.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString &text, QWidget *parent);

Q_SIGNALS:
    void activated();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace orv
