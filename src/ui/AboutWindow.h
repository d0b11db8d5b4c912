// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/DialogWindow.h"

class QFrame;
class QLabel;
class QPushButton;

namespace orv {

class Desktop;

// The About window: title block, a mail link and a web link. A tool window that unloads
// (is deleted) when closed, so the next opening starts from its initial look. The links open
// on a click, and from the keyboard once reached with Tab.
class AboutWindow : public DialogWindow {
    Q_OBJECT
public:
    explicit AboutWindow(Desktop &desktop, QWidget *parent = nullptr);

    // The texts of the build (UTF-8).
    static constexpr const char *kTitle = "    Orvalin     Temps Réel";
    static constexpr const char *kVersion = "V 1.11ß";
    static constexpr const char *kCredit = "par l'équipe Orvalin";
    static constexpr const char *kMailAddress = "contact@orvalin.example.org";
    static constexpr const char *kMailSubject = "Question sur Orvalin Temps Réel";
    static constexpr const char *kWebAddress = "https://orvalin.example.org/";

    // Hand one link to the desktop. A failure is the desktop's to show; nothing changes here.
    void openMail();
    void openWebSite();

    QFrame *titleBlock = nullptr;
    QLabel *titleIcon = nullptr;
    QLabel *titleLabel = nullptr;
    QLabel *versionLabel = nullptr;
    QLabel *creditLabel = nullptr;
    QFrame *mailArea = nullptr;
    QLabel *mailImage = nullptr;
    LinkLabel *mailLink = nullptr;
    QFrame *webArea = nullptr;
    QLabel *webImage = nullptr;
    LinkLabel *webLink = nullptr;
    QPushButton *okButton = nullptr;

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupUi();
    void onOkClicked();
    void onSurfaceHovered();
    void onMailAreaHovered();
    void onWebAreaHovered();
    void clicked(QObject *control);

    Desktop &m_desktop;
    QObject *m_pressed = nullptr; // control under a left press, for the click on release
};

} // namespace orv
