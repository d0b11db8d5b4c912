#include "app/MainWindow.h"

#include "core/FileNames.h"
#include "core/FileSystem.h"
#include "core/RescueFiles.h"
#include "core/Texts.h"
#include "display/Scales.h"
#include "display/TitleBar.h"
#include "display/Trace.h"
#include "logging/Logger.h"
#include "ui/Desktop.h"
#include "ui/Look.h"
#include "ui/OptionsWindow.h"
#include "ui/TooltipText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>

#include <cstdio>

namespace orv {

namespace {

const QString kQuitQuestion = QStringLiteral("Arrêter l'orvalin et quitter ?");

QString valueText(const std::optional<qint32> &value)
{
    return value ? decimalText(*value) : QStringLiteral("---");
}

// A message of the logger as a sentence on its own.
QString sentence(const QString &text)
{
    return text.left(1).toUpper() + text.mid(1) + QLatin1Char('.');
}

QString home(const QString &path)
{
    const QString h = QDir::homePath();
    return path.startsWith(h + QLatin1Char('/')) ? QLatin1Char('~') + path.mid(h.size()) : path;
}

} // namespace

MainWindow::MainWindow(Logger &logger, WindowServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_logger(logger)
    , m_services(services)
{
    m_ui.setupUi(this);
    m_ui.historyList->setStore(&m_logger.samples());
    m_ui.chart->repaintHook = [this](QPainter &p, QSize area) { paintTrace(p, area); };
    m_ledTimer.setTimerType(Qt::PreciseTimer);
    m_ledTimer.setInterval(500);

    connect(m_ui.recordButton, &QPushButton::clicked, this, &MainWindow::onRecordClicked);
    connect(m_ui.newRecordingAction, &QAction::triggered, this, &MainWindow::onNewRecording);
    connect(m_ui.openRecordingAction, &QAction::triggered, this, &MainWindow::onOpenRecording);
    connect(m_ui.chartAction, &QAction::triggered, this, &MainWindow::onChartToggled);
    connect(m_ui.settingsAction, &QAction::triggered, this, &MainWindow::onSettingsClicked);
    connect(m_ui.aboutAction, &QAction::triggered, this, &MainWindow::onAboutClicked);
    connect(&m_ledTimer, &QTimer::timeout, this, &MainWindow::onLedTimer);

    connect(&m_logger, &Logger::recordingStarted, this, &MainWindow::showRecordingStarted);
    connect(&m_logger, &Logger::recordingStopped, this, &MainWindow::showRecordingStopped);
    connect(&m_logger, &Logger::sampleTaken, this, &MainWindow::showSample);
    connect(&m_logger, &Logger::readoutUpdated, this, &MainWindow::showReadout);
    connect(&m_logger, &Logger::waitingChanged, this, &MainWindow::showWaiting);
    connect(&m_logger, &Logger::recordingFileChanged, this, &MainWindow::updateTitle);
    connect(&m_logger, &Logger::settingsNotSaved, this, &MainWindow::inform);
    connect(&m_logger, &Logger::newRecordingFileFailed, this, &MainWindow::onNewRecordingFileFailed);
    connect(&m_logger, &Logger::fragmentCut, this, [this](const QString &notice) { inform(sentence(notice)); });
    connect(&m_logger, &Logger::rescueFolderChecked, this, &MainWindow::onRescueFolderChecked);
    connect(&m_logger, &Logger::sampleTaken, this, &MainWindow::updateQuitQuestion);
    // The recording light's tooltip tells how publishing goes (--mqtt).
    connect(&m_logger, &Logger::publishingChanged, this,
            [this] { m_ui.led->setToolTip(m_logger.publishingSummary()); });
    m_questionRefresh.setInterval(250);
    connect(&m_questionRefresh, &QTimer::timeout, this, &MainWindow::updateQuitQuestion);

    // Key preview: "+" and "-" reach the window whichever of its controls has the focus.
    qApp->installEventFilter(this);
    setWindowWidthTwips(kMainClientWidth + kFrameAllowance);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    delete m_options.data();
    delete m_about.data();
}

void MainWindow::showStartUp()
{
    drawScales();
    updateTitle();
    QStringList notices = m_logger.rescuedEarlierNotices();
    if (!m_logger.damagedSettingsNotice().isEmpty())
        notices << m_logger.damagedSettingsNotice();
    for (const QString &notice : notices)
        inform(sentence(notice));
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
    QuestionText question(quitQuestion());
    m_question = &question;
    m_rescueFolder.reset();
    // The question comes at once; what it says of the waiting lines follows them while it is open.
    if (!m_logger.unconfirmed().isEmpty())
        m_logger.checkRescueFolder();
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

QString MainWindow::quitQuestion() const
{
    QString text = kQuitQuestion;
    const auto waiting = m_logger.unconfirmed();
    if (waiting.isEmpty())
        return text;
    text += QStringLiteral("\n");
    for (const Logger::Waiting &w : waiting) {
        if (w.reason.isEmpty())
            text += QStringLiteral("\n%1 mesure(s) sont en cours d'écriture dans « %2 » (le disque est lent).")
                        .arg(w.lines)
                        .arg(displayableName(w.file));
        else
            text += QStringLiteral("\n%1 mesure(s) attendent encore d'être écrites dans « %2 » (%3).")
                        .arg(w.lines)
                        .arg(displayableName(w.file), w.reason);
    }
    // Where they will go is said only once a folder was seen to take a file.
    if (!m_rescueFolder)
        text += QStringLiteral("\nSi elles ne peuvent toujours pas l'être, elles seront gardées dans un fichier de "
                               "secours ; recherche d'un dossier qui peut le recevoir…");
    else if (m_rescueFolder->isEmpty())
        text += QStringLiteral("\nAucun dossier ne peut recevoir de fichier de secours (%1) : si elles ne peuvent "
                               "pas être écrites d'ici la fin, elles seront perdues.")
                    .arg(m_noRescueReason);
    else
        text += QStringLiteral("\nSi elles ne peuvent toujours pas l'être, elles seront gardées dans un fichier de "
                               "secours du dossier « %1 ».")
                    .arg(displayableName(home(*m_rescueFolder)));
    return text;
}

void MainWindow::updateQuitQuestion()
{
    if (!m_question)
        return;
    if (!m_rescueFolder && !m_logger.unconfirmed().isEmpty() && m_question->text() == kQuitQuestion)
        m_logger.checkRescueFolder(); // lines began to wait while it was open
    m_question->setText(quitQuestion());
}

void MainWindow::onRescueFolderChecked(const FolderCheck &check)
{
    if (!m_question)
        return;
    m_rescueFolder = check.folder;
    m_noRescueReason = fileErrorReason(check.error);
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
    m_ledTimer.stop();
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
            text << sentence(line);
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

void MainWindow::onOpenRecording()
{
    if (openRecording)
        openRecording(this);
}

int MainWindow::windowWidthTwips() const
{
    return m_ui.client->width() * kTwipsPerPixel + kFrameAllowance;
}

void MainWindow::setWindowWidthTwips(int twips)
{
    m_ui.client->setFixedWidth(px(twips - kFrameAllowance));
    setFixedSize(m_ui.client->width(), m_ui.client->height() + menuBar()->sizeHint().height());
}

void MainWindow::onChartToggled()
{
    const ToggleResult t = chartToggle(windowWidthTwips());
    setWindowWidthTwips(t.width);
    // Checkable only while checked: an unchecked action would show an empty box.
    m_ui.chartAction->setCheckable(t.chartShown);
    m_ui.chartAction->setChecked(t.chartShown);
    updateTitle();
    m_logger.setWindowWidth(static_cast<qint16>(windowWidthTwips()));
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
    m_ledTimer.start();
    m_ui.fileMenu->menuAction()->setEnabled(false);
    m_ui.optionMenu->menuAction()->setEnabled(false);
    m_ui.historyList->clear();
    m_traceCount = -1;
    m_ui.chart->update();
    m_ui.recordButton->setText(QStringLiteral(" Record  Stop"));
    m_ui.recordButton->setAccessibleName(QStringLiteral("Record Stop"));
}

void MainWindow::showRecordingStopped(bool storeFull)
{
    m_ui.fileMenu->menuAction()->setEnabled(true);
    m_ui.optionMenu->menuAction()->setEnabled(true);
    m_ledTimer.stop();
    turnLedOff();
    m_ui.recordButton->setText(QStringLiteral(" Record   Start"));
    m_ui.recordButton->setAccessibleName(QStringLiteral("Record Start"));
    if (!storeFull)
        return;
    const int waiting = m_logger.waitingLines();
    inform(QStringLiteral("La mémoire de l'enregistrement est pleine (32000 mesures) : "
                          "l'enregistrement est arrêté.\n")
           + (waiting == 0 ? QStringLiteral("Les mesures sont dans le fichier ; relancez « Record » "
                                            "pour un nouvel enregistrement.")
                           : QStringLiteral("%1 mesure(s) attendent encore d'être écrites dans le fichier ; "
                                            "elles le seront dès que possible.")
                                 .arg(waiting)));
}

void MainWindow::showSample()
{
    m_ui.historyList->showCount(m_logger.samples().count());
    m_traceCount = m_logger.samples().count();
    // From index 97 on a new point lies beyond the right edge: nothing visible changes.
    if (m_traceCount <= static_cast<int>(kChartWidthUnits) + 1)
        m_ui.chart->update();
}

QString MainWindow::historyText() const
{
    return m_ui.historyList->text();
}

void MainWindow::onTestKey(QChar key)
{
    m_logger.pressTestKey(key);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Key events live on the stack, so the next press often has the address of the last.
    if (event->type() == QEvent::KeyRelease)
        m_lastKey = nullptr;
    if (event->type() == QEvent::KeyPress && !m_ended && isEnabled()) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->window() == this) {
            auto *key = static_cast<QKeyEvent *>(event);
            // An unhandled key climbs to the parents; count it once, where it started.
            const bool climbing =
                key == m_lastKey && m_lastKeyTarget && w != m_lastKeyTarget && w->isAncestorOf(m_lastKeyTarget);
            if (!climbing) {
                m_lastKey = key;
                m_lastKeyTarget = w;
                if (key->text().size() == 1)
                    onTestKey(key->text().at(0));
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::onLedTimer()
{
    if (m_ui.ledDisc->fillColor == kLedOffColor) {
        m_ui.ledDisc->fillColor = kLedOnColor;
        m_ui.ledHalo->backOpaque = true;
        m_ui.ledHalo->borderSolid = true;
        m_ui.led->update();
    } else {
        turnLedOff();
    }
}

void MainWindow::turnLedOff()
{
    m_ui.ledDisc->fillColor = kLedOffColor;
    m_ui.ledHalo->backOpaque = false;
    m_ui.ledHalo->borderSolid = false;
    m_ui.led->update();
}

void MainWindow::showWaiting()
{
    updateQuitQuestion();
    const auto waiting = m_logger.waiting();
    if (waiting.isEmpty()) {
        m_ui.waitingNotice->hide();
        return;
    }
    int lines = 0;
    QStringList detail;
    for (const Logger::Waiting &w : waiting) {
        lines += w.lines;
        detail << QStringLiteral("« %1 » : %2 ; %3 mesure(s) en attente.")
                      .arg(displayableName(w.file), w.reason)
                      .arg(w.lines);
    }
    m_ui.waitingNotice->setText(QStringLiteral("Écriture impossible : %1\n%2 mesure(s) en attente")
                                    .arg(waiting.constFirst().reason)
                                    .arg(lines));
    m_ui.waitingNotice->setToolTip(
        detail.join(QLatin1Char('\n'))
        + QStringLiteral("\nLes mesures attendent en mémoire et seront écrites dès que possible."));
    m_ui.waitingNotice->setAccessibleName(m_ui.waitingNotice->text());
    m_ui.waitingNotice->show();
    m_ui.waitingNotice->raise();
}

// ---- Display ---------------------------------------------------------------------------

void MainWindow::paintTrace(QPainter &p, QSize area)
{
    if (m_traceCount < 0)
        return;
    p.setPen(QPen(m_ui.chart->foreColor(), 1));
    const double sx = (area.width() - 1) / kChartWidthUnits;
    const double sy = (area.height() - 1) / kChartHeightUnits;
    for (const auto &run : tracePolylines(m_logger.samples())) {
        QPolygon poly;
        for (const QPointF &pt : run)
            poly << QPoint(qRound(pt.x() * sx), qRound(pt.y() * sy));
        if (poly.size() == 1)
            p.drawPoint(poly.first());
        else
            p.drawPolyline(poly);
    }
}

void MainWindow::drawScales()
{
    PictureBox *boxes[] = {m_ui.timeScale, m_ui.rightScale, m_ui.leftScale};
    for (PictureBox *b : boxes) {
        b->setAutoRedraw(true);
        b->surface().resize(b->drawingArea().size());
        b->surface().clear();
    }
    // Time axis: the chart's 96 units across, pixels down.
    PictureSurface &time = m_ui.timeScale->surface();
    time.setScale(kChartWidthUnits, m_ui.timeScale->drawingArea().height());
    for (const ScaleMark &m : timeAxisMarks(time.scaleWidth())) {
        time.drawLine(m.from, m.to);
        time.printLine(m.label);
    }
    // Right scale: the chart's 100 units across, twips down.
    PictureSurface &right = m_ui.rightScale->surface();
    right.setScale(kChartHeightUnits, m_ui.rightScale->drawingArea().height() * kTwipsPerPixel);
    for (const ScaleMark &m : rightScaleMarks(right.scaleHeight())) {
        right.drawLine(m.from, m.to);
        right.printLine(m.label);
    }
    // Left scale: twips both ways.
    PictureSurface &left = m_ui.leftScale->surface();
    const QSize leftArea = m_ui.leftScale->drawingArea().size();
    left.setScale(leftArea.width() * kTwipsPerPixel, leftArea.height() * kTwipsPerPixel);
    for (const ScaleMark &m : leftScaleMarks(left.scaleHeight())) {
        left.drawLine(m.from, m.to);
        left.printLine(m.label);
    }
    for (PictureBox *b : boxes)
        b->update();
}

// ---- Live readout ----------------------------------------------------------------------

void MainWindow::showReadout()
{
    showData(m_ui.clockLabel, QStringLiteral("Heure "), m_logger.now().time().toString(QStringLiteral("HH:mm:ss")));
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
