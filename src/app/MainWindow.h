#pragma once

#include "ui/MainWindowLayout.h"
#include "ui/OptionsWindow.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace orv {

class Desktop;
class Logger;
class QuestionText;
class SaveDialog;
struct FolderCheck;

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

    MainWindow(Logger &logger, WindowServices services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Once the logger has started: scales, title, and rescue files of earlier runs.
    void showStartUp();

    void onRecordClicked();
    void onNewRecording();
    void onOpenRecording();
    void onChartToggled();
    void onSettingsClicked();
    void onAboutClicked();
    void onLedTimer();
    void onTestKey(QChar key);
    // A termination signal: end as a confirmed quit does, without asking.
    void endWithoutQuestion();

    MainWindowLayout &controls() { return m_ui; }
    OptionsWindow *optionsWindow() const { return m_options; }
    QWidget *aboutWindow() const { return m_about; }
    QString historyText() const;
    // The window width as the chart toggle measures it, in twips.
    int windowWidthTwips() const;

    // Makes the About window; set by the application.
    std::function<QWidget *(QWidget *parent)> makeAboutWindow;
    // Asks for recording files and opens a viewer for each; set by the application.
    std::function<void(QWidget *parent)> openRecording;

Q_SIGNALS:
    // The program is over: the application ends its event loop with this exit code.
    void programEnded(int exitCode);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showRecordingStarted();
    void showRecordingStopped(bool storeFull);
    void showSample();
    void showReadout();
    void showWaiting();
    void updateTitle();
    void drawScales();
    void turnLedOff();
    void paintTrace(QPainter &p, QSize area);
    QString quitQuestion() const;
    void updateQuitQuestion();
    void onRescueFolderChecked(const FolderCheck &check);
    void endProgram(bool asked);
    void onNewRecordingFileFailed(const QString &file, const QString &reason, const QString &kept);
    void setWindowWidthTwips(int twips);
    void inform(const QString &text);

    Logger &m_logger;
    WindowServices m_services;
    MainWindowLayout m_ui;
    QTimer m_ledTimer;
    QPointer<OptionsWindow> m_options;
    QPointer<QWidget> m_about;
    QString m_shownProblem;
    // While the quit question is open: its text, and the rescue folder that takes a file now
    // (nothing while not known yet, empty when none does, m_noRescueReason saying why).
    QPointer<QuestionText> m_question;
    std::optional<QString> m_rescueFolder;
    QString m_noRescueReason;
    QTimer m_questionRefresh;
    int m_traceCount = -1; // samples the chart shows; -1 when cleared
    const QEvent *m_lastKey = nullptr;
    QPointer<QWidget> m_lastKeyTarget;
    bool m_ended = false;
};

} // namespace orv
