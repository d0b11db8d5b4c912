// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "core/FileNames.h"
#include "core/Texts.h"
#include "display/ChartToggle.h"
#include "logging/Logger.h"
#include "logging/SessionTexts.h"
#include "ui/Desktop.h"
#include "ui/HistoryView.h"
#include "ui/Look.h"
#include "ui/OptionsWindow.h"
#include "ui/RecordingLight.h"
#include "ui/TooltipText.h"
#include "ui/TraceChart.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>
#include <cstdio>

namespace orv {

namespace {

QString valueText(const std::optional<qint32> &value)
{
    return value ? decimalText(*value) : QStringLiteral("---");
}

// "HH:mm:ss" by hand: the clock turns over every second, and Qt's formatting parses its
// pattern each time.
QString clockText(QTime time)
{
    QString text(8, u':');
    const int parts[] = {time.hour(), time.minute(), time.second()};
    for (int i = 0; i < 3; ++i) {
        text[3 * i] = QChar(u'0' + parts[i] / 10);
        text[3 * i + 1] = QChar(u'0' + parts[i] % 10);
    }
    return text;
}

// The lines the quit question tells of: a line is on its way to the disk for a moment after
// each sample, which is no reason to worry anyone. Lines after a failure count at once; the
// others only once they were already unconfirmed at the previous refresh, a quarter of a
// second before, far longer than a disk that answers takes.
QList<Logger::Waiting> stillWaiting(const QList<Logger::Waiting> &before, const QList<Logger::Waiting> &now)
{
    QList<Logger::Waiting> out;
    for (const Logger::Waiting &w : now) {
        if (!w.reason.isEmpty()) {
            out.append(w);
            continue;
        }
        for (const Logger::Waiting &b : before) {
            if (b.file == w.file) {
                out.append({w.file, std::min(b.lines, w.lines), {}});
                break;
            }
        }
    }
    return out;
}

} // namespace

MainWindow::MainWindow(Logger &logger, WindowServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_logger(logger)
    , m_services(services)
{
    setupUi();
    m_ui.historyList->setStore(&m_logger.samples());
    m_ui.chart->setStore(&m_logger.samples());

    connect(m_ui.recordButton, &QPushButton::clicked, this, &MainWindow::onRecordClicked);
    connect(m_ui.newRecordingAction, &QAction::triggered, this, &MainWindow::onNewRecording);
    connect(m_ui.openRecordingAction, &QAction::triggered, this, [this] {
        if (openRecording)
            openRecording(this);
    });
    connect(m_ui.chartAction, &QAction::triggered, this, &MainWindow::onChartToggled);
    connect(m_ui.settingsAction, &QAction::triggered, this, &MainWindow::onSettingsClicked);
    connect(m_ui.aboutAction, &QAction::triggered, this, &MainWindow::onAboutClicked);
    // The light blinks in the readout's own tick: one wakeup for both.
    connect(&m_logger.readoutTimer(), &QTimer::timeout, this, [this] {
        if (m_logger.recording())
            onLedTimer();
    });

    connect(&m_logger, &Logger::recordingStarted, this, &MainWindow::showRecordingStarted);
    connect(&m_logger, &Logger::recordingStopped, this, &MainWindow::showRecordingStopped);
    connect(&m_logger, &Logger::sampleTaken, this, &MainWindow::showSample);
    connect(&m_logger, &Logger::readoutUpdated, this, &MainWindow::showReadout);
    connect(&m_logger, &Logger::waitingChanged, this, &MainWindow::showWaiting);
    connect(&m_logger, &Logger::recordingFileChanged, this, &MainWindow::updateTitle);
    connect(&m_logger, &Logger::settingsNotSaved, this, &MainWindow::inform);
    connect(&m_logger, &Logger::newRecordingFileFailed, this, &MainWindow::onNewRecordingFileFailed);
    connect(&m_logger, &Logger::fragmentCut, this, [this](const QString &notice) { inform(asSentence(notice)); });
    connect(&m_logger, &Logger::rescueFolderChecked, this, &MainWindow::onRescueFolderChecked);
    // The recording light's tooltip tells how publishing goes (--mqtt).
    connect(&m_logger, &Logger::publishingChanged, this,
            [this] { m_ui.light->setToolTip(m_logger.publishingSummary()); });
    m_questionRefresh.setInterval(250);
    connect(&m_questionRefresh, &QTimer::timeout, this, [this] { updateQuitQuestion(true); });

    setWindowWidthTwips(windowWidthTwips(m_ui.client->width()));
}

MainWindow::~MainWindow()
{
    delete m_options.data();
    delete m_about.data();
}

OptionsWindow *MainWindow::optionsWindow() const
{
    return m_options;
}

void MainWindow::showStartUp()
{
    updateTitle();
    QStringList notices = m_logger.rescuedEarlierNotices();
    if (!m_logger.damagedSettingsNotice().isEmpty())
        notices << m_logger.damagedSettingsNotice();
    for (const QString &notice : notices)
        inform(asSentence(notice));
}

void MainWindow::inform(const QString &text)
{
    m_services.desktop.inform(this, QString::fromLatin1(kAppTitle), text);
}

// ---- Shutdown --------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_ended) {
        event->accept();
        return;
    }
    // While the options window is open this window takes no input, the close box included.
    if (!isEnabled()) {
        event->ignore();
        if (m_options) {
            m_options->raise();
            m_options->activateWindow();
        }
        return;
    }
    m_services.desktop.beep();
    m_rescueCheck.reset();
    m_rescueAsked = false;
    m_unconfirmedBefore.clear();
    QuestionText question({});
    m_question = &question;
    // The question comes at once; what it says of the waiting lines follows them while it is open.
    updateQuitQuestion(true);
    m_questionRefresh.start();
    const bool quit = m_services.desktop.askYesNo(this, QString::fromLatin1(kAppTitle), question);
    m_questionRefresh.stop();
    m_question = nullptr;
    if (!quit) {
        event->ignore(); // everything goes on, a recording included
        return;
    }
    event->accept();
    endProgram(true);
}

void MainWindow::updateQuitQuestion(bool refresh)
{
    if (!m_question)
        return;
    const QList<Logger::Waiting> unconfirmed = m_logger.unconfirmed();
    const QList<Logger::Waiting> waiting = stillWaiting(m_unconfirmedBefore, unconfirmed);
    if (refresh)
        m_unconfirmedBefore = unconfirmed;
    if (!m_rescueAsked && !waiting.isEmpty()) {
        m_rescueAsked = true;
        m_logger.checkRescueFolder();
    }
    m_question->setText(quitQuestion(waiting, m_rescueCheck));
}

void MainWindow::onRescueFolderChecked(const FolderCheck &check)
{
    if (!m_question)
        return;
    m_rescueCheck = check;
    updateQuitQuestion();
}

void MainWindow::endWithoutQuestion()
{
    if (!m_ended)
        endProgram(false);
}

void MainWindow::endProgram(bool asked)
{
    m_ended = true;
    // The windows go at once; the end then takes its bounded time.
    if (m_options)
        m_options->hide();
    if (m_about)
        m_about->hide();
    hide();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const Logger::Ending ending = m_logger.shutDown();
    const QStringList said = ending.messages();
    for (const QString &line : said)
        std::fprintf(stderr, "orvalin : %s\n", qPrintable(line));
    // Lost samples are told before the program ends, whatever else: the next start may not
    // know of them. A rescue file is told by the next start.
    if (asked && (ending.rescue.lost > 0 || ending.settingsUnsaved)) {
        QStringList text;
        for (const QString &line : said)
            text << asSentence(line);
        m_services.desktop.tellBeforeEnd(QString::fromLatin1(kAppTitle), text.join(QLatin1Char('\n')));
    }
    Q_EMIT programEnded(ending.exitCode());
}

// ---- Menu commands ---------------------------------------------------------------------

void MainWindow::onAboutClicked()
{
    if (!m_about && makeAboutWindow)
        m_about = makeAboutWindow(this);
    if (m_about) {
        m_about->show();
        m_about->raise();
        m_about->activateWindow();
    }
}

void MainWindow::onSettingsClicked()
{
    setEnabled(false);
    if (!m_options) {
        m_options = new OptionsWindow(m_logger.settings().interval, m_logger.settings().source, this);
        connect(m_options, &OptionsWindow::intervalChosen, &m_logger, &Logger::chooseInterval);
        connect(m_options, &OptionsWindow::sourceChosen, &m_logger, &Logger::chooseSource);
        connect(m_options, &OptionsWindow::closed, this, [this] { setEnabled(true); });
    }
    // The other windows are children of this one; they stay usable while it is disabled.
    m_options->setEnabled(true);
    if (m_about)
        m_about->setEnabled(true);
    m_options->show();
    m_options->raise();
    m_options->activateWindow();
}

void MainWindow::onNewRecording()
{
    const QString previousDir = QDir::currentPath();
    const QString current = m_logger.settings().recordingFile;
    SaveRequest request;
    request.title = QStringLiteral("Nouvel Enregistrement sous :");
    request.suggestedName = QStringLiteral("data_tr.csv");
    // A cancel changes nothing: no file emptied, no name changed.
    if (const std::optional<QString> name = m_services.saveDialog.askSaveName(this, request)) {
        if (name->contains(u'"')) {
            // The settings file quotes the name without escapes; it could not be read back.
            inform(QStringLiteral("Le nom « %1 » contient un guillemet (\") : choisissez un autre nom.\n"
                                  "Le fichier d'enregistrement reste « %2 ».")
                       .arg(*name, current));
        } else {
            m_logger.useNewRecordingFile(*name);
        }
    }
    QDir::setCurrent(previousDir);
}

void MainWindow::onNewRecordingFileFailed(const QString &file, const QString &reason, const QString &kept)
{
    inform(QStringLiteral("Impossible de créer « %1 » : %2.\nLe fichier d'enregistrement reste « %3 ».")
               .arg(displayableName(file), reason, displayableName(kept)));
}

void MainWindow::setWindowWidthTwips(int twips)
{
    m_ui.client->setFixedWidth(clientWidthPixels(twips));
    setFixedSize(m_ui.client->width(), m_ui.client->height() + menuBar()->sizeHint().height());
}

void MainWindow::onChartToggled()
{
    const ToggleResult t = chartToggle(windowWidthTwips(m_ui.client->width()));
    setWindowWidthTwips(t.width);
    // Checkable only while checked: an unchecked action would show an empty box.
    m_ui.chartAction->setCheckable(t.chartShown);
    m_ui.chartAction->setChecked(t.chartShown);
    updateTitle();
    m_logger.setWindowWidth(static_cast<qint16>(windowWidthTwips(m_ui.client->width())));
}

void MainWindow::updateTitle()
{
    setWindowTitle(titleText(m_ui.chartAction->isChecked(), m_logger.settings().recordingFile));
}

// ---- Recording -------------------------------------------------------------------------

void MainWindow::onRecordClicked()
{
    if (m_logger.recording())
        m_logger.stopRecording();
    else
        m_logger.startRecording();
}

void MainWindow::showRecordingStarted()
{
    m_ui.fileMenu->menuAction()->setEnabled(false);
    m_ui.optionMenu->menuAction()->setEnabled(false);
    m_ui.historyList->clear();
    m_ui.chart->clear();
    m_ui.recordButton->setText(QStringLiteral(" Record  Stop"));
    m_ui.recordButton->setAccessibleName(QStringLiteral("Record Stop"));
}

void MainWindow::showRecordingStopped(bool storeFull)
{
    m_ui.fileMenu->menuAction()->setEnabled(true);
    m_ui.optionMenu->menuAction()->setEnabled(true);
    m_ui.light->setLit(false);
    m_ui.recordButton->setText(QStringLiteral(" Record   Start"));
    m_ui.recordButton->setAccessibleName(QStringLiteral("Record Start"));
    if (storeFull)
        inform(storeFullNotice(m_logger.waitingLines()));
}

void MainWindow::showSample()
{
    m_ui.historyList->showCount(m_logger.samples().count());
    m_ui.chart->showCount(m_logger.samples().count());
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // The controls pass on the keys they do not use, so "+" and "-" arrive here whichever
    // of them has the focus; the key is only looked at.
    if (event->text().size() == 1)
        m_logger.pressTestKey(event->text().at(0));
    QMainWindow::keyPressEvent(event);
}

void MainWindow::onLedTimer()
{
    m_ui.light->setLit(!m_ui.light->isLit());
}

void MainWindow::showWaiting()
{
    updateQuitQuestion();
    const WaitingNotice notice = waitingNotice(m_logger.waiting());
    if (notice.text.isEmpty()) {
        m_ui.waitingNotice->hide();
        return;
    }
    showData(m_ui.waitingNotice, QString(), notice.text);
    m_ui.waitingNotice->setToolTip(notice.detail);
    m_ui.waitingNotice->show();
    m_ui.waitingNotice->raise();
}

// ---- Live readout ----------------------------------------------------------------------

void MainWindow::showReadout()
{
    showData(m_ui.clockLabel, QStringLiteral("Heure "), clockText(m_logger.now().time()));
    const Readings &r = m_logger.readout();
    showData(m_ui.value1Readout, QStringLiteral("Valeur A1 : "), valueText(r.value1));
    showData(m_ui.value2Readout, QStringLiteral("Valeur A2 : "), valueText(r.value2));
    // A source that does not answer greys the values; its tooltip says why.
    const QString problem = m_logger.sourceProblem();
    if (problem == m_shownProblem)
        return;
    m_shownProblem = problem;
    const QColor text = problem.isEmpty() ? QColor(192, 0, 0) : QColor(96, 96, 96);
    for (QLabel *l : {m_ui.value1Readout, m_ui.value2Readout})
        setColors(l, QColor(0, 0, 0), text);
    m_ui.value1Readout->setToolTip(problem.isEmpty() ? QString::fromUtf8(kValue1Tooltip) : wrapForTooltip(problem));
    m_ui.value2Readout->setToolTip(problem.isEmpty() ? QString::fromUtf8(kValue2Tooltip) : wrapForTooltip(problem));
}

} // namespace orv
