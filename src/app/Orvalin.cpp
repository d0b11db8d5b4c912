#include "Orvalin.h"

#include "Sources.h"
#include "core/Clock.h"
#include "core/Texts.h"
#include "display/History.h"
#include "display/Scales.h"
#include "display/TitleBar.h"
#include "display/Trace.h"
#include "settings/I_Ofichier.h"
#include "settings/OptionsBehaviour.h"
#include "ui/Desktop.h"
#include "ui/Form_option.h"
#include "ui/Look.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>

namespace orv {

namespace {
const QString kQuitQuestion = QStringLiteral("Arrêter l'orvalin et quitter ?");
const QString kStoreFull = QStringLiteral(
    "La mémoire de l'enregistrement est pleine (32000 mesures) : l'enregistrement est arrêté.\n"
    "Les mesures sont dans le fichier ; relancez « Record » pour un nouvel enregistrement.");
} // namespace

Orvalin::Orvalin(ProgramState &state, I_Ofichier &config, Services services, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_config(config), m_services(services)
{
    m_ui.setupUi(this);
    m_history = std::make_unique<HistoryList>(m_ui.Text1->document());
    m_ui.Ecran1->repaintHook = [this](QPainter &p, QSize area) { paintTrace(p, area); };

    OptionsBehaviour::SerialHooks hooks;
    hooks.portOpen = [this] { return m_services.sources.serialPortOpen(); };
    hooks.rs232_ouvre = [this] { m_services.sources.rs232_ouvre(); };
    hooks.rs232_ferme = [this] { m_services.sources.rs232_ferme(); };
    hooks.setEmptyingTimerEnabled = [this](bool on) {
        if (on)
            m_ui.TimerVideBufferRS->start();
        else
            m_ui.TimerVideBufferRS->stop();
    };
    m_optionsBehaviour = std::make_unique<OptionsBehaviour>(m_state, m_config, std::move(hooks));

    connect(m_ui.CmdRecord, &QPushButton::clicked, this, &Orvalin::CmdRecord_Click);
    connect(m_ui.Timer1, &QTimer::timeout, this, &Orvalin::Timer1_Timer);
    connect(m_ui.TimerLed, &QTimer::timeout, this, &Orvalin::TimerLed_Timer);
    connect(m_ui.TimerValActu, &QTimer::timeout, this, &Orvalin::TimerValActu_Timer);
    connect(m_ui.TimerVideBufferRS, &QTimer::timeout, this, &Orvalin::TimerVideBufferRS_Timer);
    connect(m_ui.menu_nouveau, &QAction::triggered, this, &Orvalin::menu_nouveau_Click);
    connect(m_ui.menuGraphe, &QAction::triggered, this, &Orvalin::menuGraphe_Click);
    connect(m_ui.menuReglage, &QAction::triggered, this, &Orvalin::menuReglage_Click);
    connect(m_ui.menu_apropos, &QAction::triggered, this, &Orvalin::menu_apropos_Click);

    // Key preview: "+" and "-" reach the window whichever of its controls has the focus.
    qApp->installEventFilter(this);

    setWindowWidthTwips(kMainClientWidth + kFrameAllowance);
}

Orvalin::~Orvalin()
{
    qApp->removeEventFilter(this);
    if (m_options)
        delete m_options.data();
    if (m_about)
        delete m_about.data();
}

// ---- Start-up and shutdown -------------------------------------------------------------

Form_option &Orvalin::options()
{
    if (!m_options) {
        m_options = new Form_option(m_state, *m_optionsBehaviour, this);
        m_options->onUnload = [this] { setEnabled(true); };
    }
    return *m_options;
}

void Orvalin::Form_Load()
{
    m_store.slot(0).value1 = qint16(0);
    m_store.slot(0).value2 = qint16(0);

    if (m_config.exists()) {
        m_config.charge_config();
        options().Option1_Click(m_state.settings.intervalIndex);
        options().Option2_Click(m_state.settings.sourceCode);
        if (m_state.settings.sourceCode == SourceUsb)
            m_services.sources.usb_ouvre();
        if (m_state.settings.sourceCode == SourceSerial) {
            m_services.sources.rs232_ouvre();
            m_ui.TimerVideBufferRS->start();
        }
    } else {
        m_state.settings = defaultSettings();
        options().Option1_Click(1);
        options().Option2_Click(0);
        m_config.sauve_config();
    }

    dessine_echelles();
    affiche_barre_titre();
}

void Orvalin::closeEvent(QCloseEvent *event)
{
    if (m_ended) {
        event->accept();
        return;
    }
    qint16 cancel = 0;
    Form_Unload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void Orvalin::Form_Unload(qint16 &cancel)
{
    m_services.desktop.beep();
    if (!m_services.desktop.askYesNo(this, QString::fromLatin1(kAppTitle), kQuitQuestion)) {
        cancel = 1;
        return;
    }
    m_services.sources.rs232_ferme();
    endProgram();
}

void Orvalin::endProgram()
{
    m_ended = true;
    for (QTimer *t : {m_ui.Timer1, m_ui.TimerValActu, m_ui.TimerLed, m_ui.TimerVideBufferRS})
        t->stop();
    // A last chance for lines that are still waiting.
    if (m_file.pendingCount() > 0)
        m_file.flush();
    if (m_options)
        m_options->hide();
    if (m_about)
        m_about->hide();
    Q_EMIT programEnded();
}

// ---- Menu commands ---------------------------------------------------------------------

void Orvalin::menu_apropos_Click()
{
    if (!m_about && makeAboutWindow)
        m_about = makeAboutWindow(this);
    if (m_about) {
        m_about->show();
        m_about->raise();
        m_about->activateWindow();
    }
}

void Orvalin::menuReglage_Click()
{
    setEnabled(false);
    Form_option &w = options();
    // The other windows are children of this one; they stay usable while it is disabled.
    w.setEnabled(true);
    if (m_about)
        m_about->setEnabled(true);
    w.show();
    w.raise();
    w.activateWindow();
}

void Orvalin::menu_nouveau_Click()
{
    const QString previousDir = QDir::currentPath();
    SaveDialog &dlg = m_services.CmDialog1;
    dlg.FileName = QStringLiteral("data_tr.csv");
    dlg.Flags = 0x200806;
    dlg.DialogTitle = QStringLiteral("Nouvel Enregistrement sous :");
    // A cancel changes nothing: no file emptied, no name changed.
    if (dlg.ShowSave(this)) {
        QString error;
        if (dlg.FileName.contains(u'"')) {
            // The settings file quotes the name without escapes; it could not be read back.
            m_services.desktop.inform(this, QString::fromLatin1(kAppTitle),
                                      QStringLiteral("Le nom « %1 » contient un guillemet (\") : choisissez un autre nom.\n"
                                                     "Le fichier d'enregistrement reste « %2 ».")
                                          .arg(dlg.FileName, m_state.settings.fileName));
        } else if (RecordingFile::createWithHeader(dlg.FileName, &error)) {
            m_state.settings.fileName = dlg.FileName;
            m_config.sauve_config();
        } else {
            m_services.desktop.inform(this, QString::fromLatin1(kAppTitle),
                                      error + QStringLiteral("\nLe fichier d'enregistrement reste « %1 ».")
                                                  .arg(m_state.settings.fileName));
        }
    }
    QDir::setCurrent(previousDir);
}

// ---- Recording -------------------------------------------------------------------------

void Orvalin::CmdRecord_Click()
{
    if (!m_ui.Timer1->isActive()) {
        m_ui.TimerLed->start();
        m_ui.menu_fichier->menuAction()->setEnabled(false);
        m_ui.menu_option->menuAction()->setEnabled(false);
        raz();
        m_tickCounter = 0;
        m_ui.Timer1->setInterval(TickSchedule::FirstTickMs);
        m_schedule.start(m_services.clock.steadyMs());
        m_ui.Timer1->start();
        m_ui.CmdRecord->setText(QStringLiteral(" Record  Stop"));
        m_ui.CmdRecord->setAccessibleName(QStringLiteral("Record Stop"));
        m_testValue = 0;
        m_store.setCount(0);
    } else {
        m_ui.menu_fichier->menuAction()->setEnabled(true);
        m_ui.menu_option->menuAction()->setEnabled(true);
        m_ui.Timer1->stop();
        eteint_led();
        m_ui.CmdRecord->setText(QStringLiteral(" Record   Start"));
        m_ui.CmdRecord->setAccessibleName(QStringLiteral("Record Start"));
        m_ui.TimerLed->stop();
    }
}

void Orvalin::Timer1_Timer()
{
    if (m_ended || !m_ui.Timer1->isActive())
        return;
    if (m_tickCounter == 0 || m_tickCounter >= m_state.tickDivider) {
        if (m_store.full()) {
            // Nothing is written beyond the last slot: stop as the button would and say why.
            CmdRecord_Click();
            m_services.desktop.inform(this, QString::fromLatin1(kAppTitle), kStoreFull);
            return;
        }
        takeSample();
        m_tickCounter = 0;
    }
    const TickSchedule::Next next =
        m_schedule.afterTick(m_services.clock.steadyMs(), m_state.intervalText.toLongLong());
    m_ui.Timer1->start(next.delayMs);
    if (m_state.tickDivider != 1) {
        const int counted = m_tickCounter + 1 + next.missedTicks;
        m_tickCounter = static_cast<qint16>(std::min(counted, 32767));
    }
}

void Orvalin::takeSample()
{
    const qint16 n = static_cast<qint16>(m_store.count() + 1);
    m_store.setCount(n);
    Sample &s = m_store.slot(n);
    if (m_state.settings.sourceCode == SourceTest) {
        s.value1 = m_testValue;
    } else if (m_state.settings.sourceCode == SourceUsb || m_state.settings.sourceCode == SourceSerial) {
        const LatestReadings &r = m_state.readings;
        s.value1 = r.missing1 ? SlotValue{} : SlotValue{r.value1};
        s.value2 = r.missing2 ? SlotValue{} : SlotValue{r.value2};
    }
    s.date = dateText(m_services.clock.localNow()).toStdString();
    s.time = timeText(m_services.clock.localNow()).toStdString();
    affich();
    ajoute_ligne();
}

void Orvalin::ajoute_ligne()
{
    const int n = m_store.count();
    m_file.append(m_state.settings.fileName, recordingLine(n, m_store.slot(n)));
    showPending();
}

void Orvalin::showPending()
{
    const int pending = m_file.pendingCount();
    if (pending == 0) {
        m_ui.LabelAttente->hide();
        return;
    }
    m_ui.LabelAttente->setText(QStringLiteral("Écriture impossible : %1 ligne(s) en attente").arg(pending));
    m_ui.LabelAttente->setToolTip(m_file.lastError()
                                  + QStringLiteral("\nLes mesures attendent en mémoire et seront écrites dès que possible."));
    m_ui.LabelAttente->setAccessibleName(m_ui.LabelAttente->text());
    m_ui.LabelAttente->show();
    m_ui.LabelAttente->raise();
}

void Orvalin::Form_KeyPress(int key)
{
    if (key == 43 && m_testValue < 32767)
        ++m_testValue;
    else if (key == 45 && m_testValue > -32768)
        --m_testValue;
}

bool Orvalin::eventFilter(QObject *watched, QEvent *event)
{
    // Key events live on the stack, so the next press often has the address of the last.
    if (event->type() == QEvent::KeyRelease)
        m_lastKey = nullptr;
    if (event->type() == QEvent::KeyPress && !m_ended && isEnabled()) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->window() == this) {
            auto *key = static_cast<QKeyEvent *>(event);
            // An unhandled key climbs to the parents; count it once, where it started.
            const bool climbing = key == m_lastKey && m_lastKeyTarget && w != m_lastKeyTarget
                && w->isAncestorOf(m_lastKeyTarget);
            if (!climbing) {
                m_lastKey = key;
                m_lastKeyTarget = w;
                const QString text = key->text();
                if (text.size() == 1)
                    Form_KeyPress(text.at(0).unicode());
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Orvalin::TimerLed_Timer()
{
    if (m_ended)
        return;
    if (rgbNumber(m_ui.Led1->fillColor) == kLedOff) {
        m_ui.Led1->fillColor = rgbValue(kLedOn);
        m_ui.LedOn1->backOpaque = true;
        m_ui.LedOn1->borderSolid = true;
        m_ui.FrameLED->update();
    } else {
        eteint_led();
    }
}

void Orvalin::eteint_led()
{
    m_ui.Led1->fillColor = rgbValue(kLedOff);
    m_ui.LedOn1->backOpaque = false;
    m_ui.LedOn1->borderSolid = false;
    m_ui.FrameLED->update();
}

// ---- Display ---------------------------------------------------------------------------

void Orvalin::raz()
{
    m_history->clear();
    m_traceCount = -1;
    m_ui.Ecran1->update();
}

void Orvalin::affich()
{
    m_history->update(m_store);
    m_traceCount = m_store.count();
    m_ui.Ecran1->update();
}

QString Orvalin::historyText() const
{
    return m_history->text();
}

void Orvalin::paintTrace(QPainter &p, QSize area)
{
    if (m_traceCount < 0)
        return;
    p.setPen(QPen(m_ui.Ecran1->foreColor(), 1));
    const double sx = (area.width() - 1) / kChartWidthUnits;
    const double sy = (area.height() - 1) / kChartHeightUnits;
    for (const auto &run : tracePolylines(m_store)) {
        QPolygon poly;
        for (const QPointF &pt : run)
            poly << QPoint(qRound(pt.x() * sx), qRound(pt.y() * sy));
        if (poly.size() == 1)
            p.drawPoint(poly.first());
        else
            p.drawPolyline(poly);
    }
}

void Orvalin::dessine_echelles()
{
    PictureBox *boxes[] = {m_ui.EchelleH, m_ui.EchelleV, m_ui.EchelleV2};
    for (PictureBox *b : boxes) {
        b->setAutoRedraw(true);
        b->surface().resize(b->drawingArea().size());
        b->surface().Cls();
    }
    const QSize hArea = m_ui.EchelleH->drawingArea().size();
    const QSize vArea = m_ui.EchelleV->drawingArea().size();
    const QSize v2Area = m_ui.EchelleV2->drawingArea().size();

    // Time axis: the chart's 96 units across, pixels down.
    PictureSurface &h = m_ui.EchelleH->surface();
    h.setScale(kChartWidthUnits, hArea.height());
    for (const ScaleMark &m : timeAxisMarks(h.scaleWidth())) {
        h.Line(m.from, m.to);
        h.Print(m.label);
    }
    // Right scale: the chart's 100 units across, twips down.
    PictureSurface &v = m_ui.EchelleV->surface();
    v.setScale(kChartHeightUnits, vArea.height() * kTwipsPerPixel);
    for (const ScaleMark &m : rightScaleMarks(v.scaleHeight())) {
        v.Line(m.from, m.to);
        v.Print(m.label);
    }
    // Left scale: twips both ways.
    PictureSurface &v2 = m_ui.EchelleV2->surface();
    v2.setScale(v2Area.width() * kTwipsPerPixel, v2Area.height() * kTwipsPerPixel);
    for (const ScaleMark &m : leftScaleMarks(v2.scaleHeight())) {
        v2.Line(m.from, m.to);
        v2.Print(m.label);
    }
    for (PictureBox *b : boxes)
        b->update();
}

void Orvalin::affiche_barre_titre()
{
    setWindowTitle(titleText(m_ui.menuGraphe->isChecked(), m_state.settings.fileName));
}

int Orvalin::windowWidthTwips() const
{
    return m_ui.client->width() * kTwipsPerPixel + kFrameAllowance;
}

void Orvalin::setWindowWidthTwips(int twips)
{
    m_ui.client->setFixedWidth(px(twips - kFrameAllowance));
    setFixedSize(m_ui.client->width(), m_ui.client->height() + menuBar()->sizeHint().height());
}

void Orvalin::menuGraphe_Click()
{
    const ToggleResult t = chartToggle(windowWidthTwips());
    if (!t.chartShown) {
        setWindowWidthTwips(t.width);
        m_ui.menuGraphe->setChecked(false);
    } else {
        m_ui.menuGraphe->setChecked(true);
        setWindowWidthTwips(t.width);
    }
    m_state.settings.windowWidth = static_cast<qint16>(windowWidthTwips());
    affiche_barre_titre();
    m_config.sauve_config();
}

// ---- Live readout ----------------------------------------------------------------------

void Orvalin::TimerValActu_Timer()
{
    if (m_ended)
        return;
    m_ui.Label2->setText(m_services.clock.localNow().time().toString(QStringLiteral("HH:mm:ss")));
    const quint8 source = m_state.settings.sourceCode;
    if (source == SourceUsb) {
        m_services.sources.usb_ouvre();
        m_services.sources.usb_lit();
    } else if (source == SourceSerial) {
        m_services.sources.rs232_lit();
    }
    showReadout();
    // Lines that could not be written are retried without waiting for the next sample.
    if (m_file.pendingCount() > 0) {
        m_file.flush();
        showPending();
    }
}

void Orvalin::showReadout()
{
    const quint8 source = m_state.settings.sourceCode;
    QString problem;
    if (source == SourceTest) {
        m_ui.Label3->setText(decimalText(m_testValue));
    } else {
        const LatestReadings &r = m_state.readings;
        m_ui.Label3->setText(r.missing1 ? QStringLiteral("---") : decimalText(r.value1));
        m_ui.Label6->setText(r.missing2 ? QStringLiteral("---") : decimalText(r.value2));
        problem = source == SourceUsb ? m_services.sources.usbProblem() : m_services.sources.serialProblem();
    }
    const QColor text = problem.isEmpty() ? QColor(192, 0, 0) : QColor(96, 96, 96);
    for (QLabel *l : {m_ui.Label3, m_ui.Label6}) {
        setColors(l, QColor(0, 0, 0), text);
        l->setAccessibleName((l == m_ui.Label3 ? QStringLiteral("Valeur A1 : ") : QStringLiteral("Valeur A2 : "))
                             + l->text());
    }
    m_ui.Label3->setToolTip(problem.isEmpty() ? QString::fromUtf8(kLabel3Tooltip) : problem);
    m_ui.Label6->setToolTip(problem.isEmpty() ? QString::fromUtf8(kLabel6Tooltip) : problem);
}

void Orvalin::TimerVideBufferRS_Timer()
{
    if (m_ended)
        return;
    m_services.sources.serialEmptyBuffer();
}

} // namespace orv
