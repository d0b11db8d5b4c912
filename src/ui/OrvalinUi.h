#pragma once

#include "Widgets.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace orv {

// Client area of the main window at creation, in twips.
constexpr int kMainClientWidth = 4320;
constexpr int kMainClientHeight = 2655;

// The main window's controls, named as the window's logic knows them.
struct OrvalinUi {
    QWidget *client = nullptr;

    QFrame *Frame1 = nullptr;
    QWidget *FrameLED = nullptr;
    Shape *LedOn1 = nullptr;
    Shape *Led1 = nullptr;
    Shape *RefleLed1 = nullptr;
    QPushButton *CmdRecord = nullptr;
    QLabel *Label2 = nullptr;
    QFrame *Frame3 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *LabelAttente = nullptr; // shown while sample lines wait to be written
    QFrame *Frame2 = nullptr;
    PictureBox *EchelleV2 = nullptr;
    PictureBox *Ecran1 = nullptr;
    PictureBox *EchelleV = nullptr;
    PictureBox *EchelleH = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label7 = nullptr;

    QTimer *Timer1 = nullptr;
    QTimer *TimerValActu = nullptr;
    QTimer *TimerLed = nullptr;
    QTimer *TimerVideBufferRS = nullptr;

    QMenu *menu_fichier = nullptr;
    QAction *menu_nouveau = nullptr;
    QMenu *menu_option = nullptr;
    QAction *menuGraphe = nullptr;
    QAction *separ1 = nullptr;
    QAction *menuReglage = nullptr;
    QMenu *menu_intero = nullptr;
    QAction *menu_aide = nullptr;
    QAction *menu_apropos = nullptr;

    void setupUi(QMainWindow *window);
};

// Look of the recording indicator's shapes.
constexpr quint32 kLedOff = 128;  // RGB(128, 0, 0)
constexpr quint32 kLedOn = 255;   // RGB(255, 0, 0)

// Tooltips of the readout boxes as laid out.
extern const char *const kLabel3Tooltip;
extern const char *const kLabel6Tooltip;

} // namespace orv
