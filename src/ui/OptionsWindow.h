// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Choices.h"
#include "ui/DialogWindow.h"

#include <array>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orv {

// The options window: the sampling interval and the source. A choice takes effect and is
// saved at once (there is no cancel); "OK", Enter, Escape and the close box close the window.
// Showing the current choices applies nothing: only a button checked while the window is
// shown (by the mouse, the keys or an assistive tool) is a choice.
class OptionsWindow : public DialogWindow {
    Q_OBJECT
public:
    OptionsWindow(Interval interval, SourceKind source, QWidget *parent = nullptr);

    QRadioButton *intervalButton(Interval interval) const;
    QRadioButton *sourceButton(SourceKind kind) const;

Q_SIGNALS:
    void intervalChosen(Interval interval);
    void sourceChosen(SourceKind kind);
    // Once, when the window goes (OK or the close box).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setupUi();
    void choose(const QButtonGroup *group, int id);

    std::array<QRadioButton *, 10> m_intervals{}; // by interval number - 1
    std::array<QRadioButton *, 3> m_sources{};    // by source number
    QButtonGroup *m_intervalGroup = nullptr;
    QButtonGroup *m_sourceGroup = nullptr;
    QPushButton *m_ok = nullptr;
    bool m_pressedWasChecked = false;
    bool m_closed = false;
};

} // namespace orv
