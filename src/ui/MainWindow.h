// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/RecordingWriter.h"
#include "core/RescueFiles.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace orv {

class ChartScale;
class Desktop;
class HistoryView;
class Logger;
class OptionsWindow;
class QuestionText;
class RecordingLight;
class SaveDialog;
class TraceChart;

// What the main window needs from outside the process.
struct WindowServices {
    Desktop &desktop;
    SaveDialog &saveDialog;
};

// The main window: its handlers hand the work to the logger and show what it reports.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char *kAppTitle = "OrvalinTR1.03";

    // The controls the window changes, as laid out in twips (MainWindowLayout.cpp).
    struct Controls {
        QWidget *client = nullptr;
        RecordingLight *light = nullptr;
        QPushButton *recordButton = nullptr;
        QLabel *clockLabel = nullptr;
        QLabel *value1Readout = nullptr;
        QLabel *value2Readout = nullptr;
        HistoryView *historyList = nullptr;
        QLabel *waitingNotice = nullptr; // shown while sample lines wait to be written
        TraceChart *chart = nullptr;
        QMenu *fileMenu = nullptr;
        QAction *newRecordingAction = nullptr;
        QAction *openRecordingAction = nullptr; // opens a viewer
        QMenu *optionMenu = nullptr;
        QAction *chartAction = nullptr;
        QAction *settingsAction = nullptr;
        QAction *aboutAction = nullptr;
    };

    MainWindow(Logger &logger, WindowServices services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Once the logger has started: title, and what the start has to tell.
    void showStartUp();

    void onRecordClicked();
    void onNewRecording();
    void onChartToggled();
    void onSettingsClicked();
    void onAboutClicked();
    void onLedTimer();
    // A termination signal: end as a confirmed quit does, without asking.
    void endWithoutQuestion();

    const Controls &controls() const { return m_ui; }
    OptionsWindow *optionsWindow() const;
    QWidget *aboutWindow() const { return m_about; }

    // Makes the About window; set by the application.
    std::function<QWidget *(QWidget *parent)> makeAboutWindow;
    // Asks for recording files and opens a viewer for each; set by the application.
    std::function<void(QWidget *parent)> openRecording;

Q_SIGNALS:
    // The program is over: the application ends its event loop with this exit code.
    void programEnded(int exitCode);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Tooltips of the value readouts as laid out.
    static constexpr const char *kValue1Tooltip = "In A1 USB K8055 - V2 RS232";
    static constexpr const char *kValue2Tooltip = "In A2 - que USB K8055";

    void setupUi();
    void showRecordingStarted();
    void showRecordingStopped(bool storeFull);
    void showSample();
    void showReadout();
    void showWaiting();
    void updateTitle();
    // A refresh also keeps what is unconfirmed now, for the next refresh to compare with.
    void updateQuitQuestion(bool refresh = false);
    void onRescueFolderChecked(const FolderCheck &check);
    void endProgram(bool asked);
    void onNewRecordingFileFailed(const QString &file, const QString &reason, const QString &kept);
    void setWindowWidthTwips(int twips);
    void inform(const QString &text);

    Logger &m_logger;
    WindowServices m_services;
    Controls m_ui;
    QPointer<OptionsWindow> m_options;
    QPointer<QWidget> m_about;
    QString m_shownProblem;
    // While the quit question is open: its text, the lines not yet confirmed at its last
    // refresh, whether a rescue folder was looked for, and the folder that takes a file now
    // (nothing while not known yet).
    QPointer<QuestionText> m_question;
    QList<RecordingWriter::Waiting> m_unconfirmedBefore;
    bool m_rescueAsked = false;
    std::optional<FolderCheck> m_rescueCheck;
    QTimer m_questionRefresh;
    bool m_ended = false;
};

// A label that shows data: its accessible name carries the data too ("Heure 14:03:07"),
// so a screen reader hears the value, not only what the label is.
void showData(QLabel *label, const QString &accessiblePrefix, const QString &text);

} // namespace orv
