#pragma once

#include "core/ProgramState.h"
#include "core/RecordingFile.h"
#include "core/SampleStore.h"
#include "core/TickSchedule.h"
#include "ui/Form_option.h"
#include "ui/OrvalinUi.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

namespace orv {

class AcquisitionSources;
class Clock;
class Desktop;
class HistoryList;
class I_Ofichier;
class OptionsBehaviour;
class SaveDialog;

// What the main window needs from outside the process.
struct Services {
    Clock &clock;
    Desktop &desktop;
    SaveDialog &CmDialog1;
    AcquisitionSources &sources;
};

// The main window: its handlers keep the names the program has always used and hand
// the work to the store, the schedule, the recording file and the display classes.
class Orvalin : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char *kAppTitle = "OrvalinTR1.03";

    Orvalin(ProgramState &state, I_Ofichier &config, Services services, QWidget *parent = nullptr);
    ~Orvalin() override;

    // Start-up sequence; the single-instance rule has run before.
    void Form_Load();

    // Handlers.
    void CmdRecord_Click();
    void Timer1_Timer();
    void TimerLed_Timer();
    void TimerValActu_Timer();
    void TimerVideBufferRS_Timer();
    void Form_KeyPress(int key);
    void menu_nouveau_Click();
    void menuGraphe_Click();
    void menuReglage_Click();
    void menu_apropos_Click();

    // Procedures.
    void raz();
    void affich();
    void ajoute_ligne();
    void eteint_led();
    void dessine_echelles();
    void affiche_barre_titre();

    // Window width as the chart toggle measures it: client width plus the frame allowance.
    int windowWidthTwips() const;
    void setWindowWidthTwips(int twips);

    OrvalinUi &ui() { return m_ui; }
    SampleStore &store() { return m_store; }
    qint16 testValue() const { return m_testValue; }
    qint16 tickCounter() const { return m_tickCounter; }
    Form_option *optionsWindow() const { return m_options; }
    QWidget *aboutWindow() const { return m_about; }
    const RecordingFile &recordingFile() const { return m_file; }
    QString historyText() const;
    bool ended() const { return m_ended; }

    // Creates the About window; set by the application once that window exists.
    std::function<QWidget *(QWidget *parent)> makeAboutWindow;

Q_SIGNALS:
    // The user confirmed quitting: the application ends its event loop.
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Unload(qint16 &cancel);
    Form_option &options();
    void takeSample();
    void showPending();
    void showReadout();
    void paintTrace(QPainter &p, QSize area);
    void endProgram();

    ProgramState &m_state;
    I_Ofichier &m_config;
    Services m_services;
    OrvalinUi m_ui;
    std::unique_ptr<OptionsBehaviour> m_optionsBehaviour;
    std::unique_ptr<HistoryList> m_history;
    QPointer<Form_option> m_options;
    QPointer<QWidget> m_about;

    SampleStore m_store;
    qint16 m_testValue = 0;
    qint16 m_tickCounter = 0;
    TickSchedule m_schedule;
    RecordingFile m_file;
    int m_traceCount = -1; // count the chart shows; -1 after raz
    const QEvent *m_lastKey = nullptr;
    QPointer<QWidget> m_lastKeyTarget;
    bool m_ended = false;
};

} // namespace orv
