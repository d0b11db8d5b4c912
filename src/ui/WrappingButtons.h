// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>
#include <QRadioButton>

namespace orv {

// A push button whose caption wraps onto several lines when it is wider than the button.
class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *) override;
};

// An option button whose caption wraps beside its indicator when one line does not fit.
class WrapRadioButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent *) override;
};

} // namespace orv
