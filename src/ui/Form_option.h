#pragma once

#include "core/ProgramState.h"

#include <QWidget>

#include <array>
#include <functional>

class QGroupBox;
class QLineEdit;
class QLabel;
class QPushButton;
class QRadioButton;

namespace orv {

class OptionsBehaviour;

// Options window: interval and source choices. Choices take effect and are saved at
// once; "OK" and the close box both unload the window (there is no cancel).
class Form_option : public QWidget {
    Q_OBJECT
public:
    Form_option(ProgramState &state, OptionsBehaviour &behaviour, QWidget *parent = nullptr);

    // Public so start-up can apply stored choices without showing the window.
    void Option1_Click(qint16 index);
    void Option2_Click(qint16 index);

    // Runs when the window is destroyed, after OK or the close box.
    std::function<void()> onUnload;

    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Capteur = nullptr;
    QPushButton *Command1 = nullptr;
    std::array<QRadioButton *, 11> Option1{}; // 1..10
    std::array<QRadioButton *, 3> Option2{};  // source code
    std::array<QRadioButton *, 4> Option3{};  // channels, inert
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setupUi();
    void Form_Load();
    void Command1_Click();
    void Form_Unload();

    ProgramState &m_state;
    OptionsBehaviour &m_behaviour;
    bool m_unloaded = false;
};

} // namespace orv
