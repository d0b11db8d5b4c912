#pragma once

#include "ui/HistoryView.h"
#include "ui/Widgets.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>

namespace orv {

// Client area of the main window at creation, in twips.
constexpr int kMainClientWidth = 4320;
constexpr int kMainClientHeight = 2655;

// Look of the recording light's disc.
inline const QColor kLedOffColor{128, 0, 0};
inline const QColor kLedOnColor{255, 0, 0};

// Tooltips of the value readouts as laid out.
inline constexpr const char *kValue1Tooltip = "In A1 USB K8055 - V2 RS232";
inline constexpr const char *kValue2Tooltip = "In A2 - que USB K8055";

// The main window's controls and menus, as laid out in twips (15 to the pixel).
struct MainWindowLayout {
    QWidget *client = nullptr;

    QFrame *recordGroup = nullptr;
    QWidget *led = nullptr;
    Shape *ledHalo = nullptr;
    Shape *ledDisc = nullptr;
    Shape *ledHighlight = nullptr;
    QPushButton *recordButton = nullptr;
    QLabel *clockLabel = nullptr;
    QFrame *readoutGroup = nullptr;
    QLabel *value1Readout = nullptr;
    QLabel *value1Tag = nullptr;
    QLabel *value2Readout = nullptr;
    QLabel *value2Tag = nullptr;
    QLabel *historyHeading = nullptr;
    HistoryView *historyList = nullptr;
    QLabel *versionLabel = nullptr;
    QLabel *waitingNotice = nullptr; // shown while sample lines wait to be written
    QFrame *chartGroup = nullptr;
    PictureBox *leftScale = nullptr;
    PictureBox *chart = nullptr;
    PictureBox *rightScale = nullptr;
    PictureBox *timeScale = nullptr;
    QLabel *leftUnit = nullptr;
    QLabel *rightUnit = nullptr;
    QLabel *timeUnit = nullptr;

    QMenu *fileMenu = nullptr;
    QAction *newRecordingAction = nullptr;
    QAction *openRecordingAction = nullptr; // opens a viewer
    QMenu *optionMenu = nullptr;
    QAction *chartAction = nullptr;
    QAction *settingsAction = nullptr;
    QMenu *helpMenu = nullptr;
    QAction *helpAction = nullptr;
    QAction *aboutAction = nullptr;

    void setupUi(QMainWindow *window);
};

// A label that shows data: its accessible name carries the data too ("Heure 14:03:07"),
// so a screen reader hears the value, not only what the label is.
void showData(QLabel *label, const QString &accessiblePrefix, const QString &text);

} // namespace orv
