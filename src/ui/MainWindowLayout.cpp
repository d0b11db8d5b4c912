// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as laid out, in twips (15 to the pixel).
#include "ui/MainWindow.h"

#include "display/Twips.h"
#include "ui/ChartScale.h"
#include "ui/HistoryView.h"
#include "ui/Look.h"
#include "ui/Pictures.h"
#include "ui/RecordingLight.h"
#include "ui/TraceChart.h"
#include "ui/WrappingButtons.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>

namespace orv {

namespace {

// Client area of the main window at creation, in twips.
constexpr int kMainClientWidth = 4320;
constexpr int kMainClientHeight = 2655;

QFrame *frame(QWidget *parent, const QRect &geometry, const char *name)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setGeometry(geometry);
    f->setFrameStyle(QFrame::Box | QFrame::Sunken); // etched line
    return f;
}

QLabel *label(QWidget *parent, const QRect &geometry, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setAccessibleName(text);
    return l;
}

QLabel *readout(QWidget *parent, const QRect &geometry, const char *name, double points)
{
    QLabel *l = label(parent, geometry, name, QString());
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setLineWidth(1);
    setColors(l, QColor(0, 0, 0), QColor(192, 0, 0));
    l->setFont(layoutFont(QStringLiteral("Arial"), points, true));
    return l;
}

template <typename Widget>
Widget *placed(Widget *w, const QRect &geometry, const char *name)
{
    w->setObjectName(QLatin1String(name));
    w->setGeometry(geometry);
    return w;
}

QAction *action(QMenu *menu, const QString &caption, const char *name)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

} // namespace

void showData(QLabel *label, const QString &accessiblePrefix, const QString &text)
{
    // Every name set is announced, changed or not: a screen reader following the clock would
    // hear the same values twice a second.
    const QString name = accessiblePrefix + text;
    if (label->text() == text && label->accessibleName() == name)
        return;
    label->setText(text);
    label->setAccessibleName(name);
}

void MainWindow::setupUi()
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Orvalin Temps Réel"));
    setFont(layoutFont(QStringLiteral("MS Sans Serif"), 8.25));
    setWindowIcon(mainWindowIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    QWidget *client = m_ui.client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setColors(client, kFaceColor, kTextColor);
    setCentralWidget(client);
    client->setFixedSize(px(kMainClientWidth), px(kMainClientHeight));

    // Record group: the recording light and the start/stop button.
    QFrame *recordGroup = frame(client, twips(120, 120, 975, 1020), "recordGroup");
    m_ui.light = placed(new RecordingLight(recordGroup), twips(280, 120, 375, 240), "led");
    m_ui.light->setAccessibleName(QStringLiteral("Voyant d'enregistrement"));

    m_ui.recordButton =
        placed(new WrapButton(QStringLiteral(" Record Start"), recordGroup), twips(120, 440, 735, 495), "recordButton");
    m_ui.recordButton->setAccessibleName(QStringLiteral("Record Start"));

    m_ui.clockLabel = readout(client, twips(120, 1250, 975, 315), "clockLabel", 11.25);
    showData(m_ui.clockLabel, QStringLiteral("Heure "), QStringLiteral("00:00:00"));

    // Readout group: value 1 over value 2, each with its tag.
    QFrame *readoutGroup = frame(client, twips(120, 1560, 975, 975), "readoutGroup");
    m_ui.value1Readout = readout(readoutGroup, twips(300, 140, 615, 375), "value1Readout", 14.25);
    m_ui.value1Readout->setToolTip(QString::fromUtf8(kValue1Tooltip));
    showData(m_ui.value1Readout, QStringLiteral("Valeur A1 : "), QStringLiteral("000"));
    QLabel *value1Tag = label(readoutGroup, twips(65, 240, 230, 255), "value1Tag", QStringLiteral("A1"));
    value1Tag->setFont(layoutFont(QStringLiteral("Arial"), 8.25, true));
    value1Tag->setToolTip(QString::fromUtf8(kValue1Tooltip));
    m_ui.value2Readout = readout(readoutGroup, twips(300, 540, 615, 375), "value2Readout", 14.25);
    m_ui.value2Readout->setToolTip(QString::fromUtf8(kValue2Tooltip));
    showData(m_ui.value2Readout, QStringLiteral("Valeur A2 : "), QStringLiteral("000"));
    QLabel *value2Tag = label(readoutGroup, twips(65, 600, 230, 255), "value2Tag", QStringLiteral("A2"));
    value2Tag->setFont(layoutFont(QStringLiteral("Arial"), 8.25, true));
    value2Tag->setToolTip(QString::fromUtf8(kValue2Tooltip));

    // History list and its heading.
    QLabel *historyHeading = label(client, twips(1320, 120, 3615, 255), "historyHeading",
                                   QStringLiteral("A1      A2          Date             Time"));
    setColors(historyHeading, kFaceColor, kTextColor);

    HistoryView *historyList = m_ui.historyList =
        placed(new HistoryView(client), twips(1200, 360, 3015, 2175), "historyList");
    historyList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    historyList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    historyList->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    {
        QPalette pal = historyList->palette();
        pal.setColor(QPalette::Base, QColor(0, 0, 0));
        pal.setColor(QPalette::Text, QColor(0, 192, 0));
        historyList->setPalette(pal);
        historyList->verticalScrollBar()->setPalette(QApplication::palette(historyList->verticalScrollBar()));
    }
    historyList->setAccessibleName(QStringLiteral("Historique des mesures"));

    // Over the foot of the list, inside its frame and clear of its scroll bar, so it reads
    // whole at both window widths; it says what waits and why.
    QLabel *waitingNotice = m_ui.waitingNotice =
        label(client, twips(1230, 1830, 2730, 690), "waitingNotice", QString());
    waitingNotice->setAlignment(Qt::AlignCenter);
    waitingNotice->setWordWrap(true);
    waitingNotice->setMargin(2);
    setColors(waitingNotice, QColor(255, 255, 0), QColor(192, 0, 0));
    waitingNotice->setFont(layoutFont(QStringLiteral("Arial"), 8.25, true));
    waitingNotice->hide();

    QLabel *versionLabel = label(client, twips(2160, -50, 975, 150), "versionLabel", QStringLiteral("V1.11ß1 USB"));
    versionLabel->setFont(layoutFont(QStringLiteral("Microsoft Sans Serif"), 6.75));
    {
        QPalette pal = versionLabel->palette();
        pal.setColor(QPalette::WindowText, kShadowColor);
        versionLabel->setPalette(pal);
    }

    // Chart group, beyond the narrow window's right edge.
    QFrame *chartGroup = frame(client, twips(4320, 0, 2655, 2535), "chartGroup");
    placed(new ChartScale(ChartScale::Kind::Left, chartGroup), twips(120, 600, 375, 1455), "leftScale");
    m_ui.chart = placed(new TraceChart(chartGroup), twips(480, 600, 1575, 1455), "chart");
    m_ui.chart->setAccessibleName(QStringLiteral("Graphe A1"));
    placed(new ChartScale(ChartScale::Kind::Right, chartGroup), twips(2040, 600, 495, 1455), "rightScale");
    placed(new ChartScale(ChartScale::Kind::TimeAxis, chartGroup), twips(480, 2040, 1575, 255), "timeScale");
    QLabel *leftUnit = label(chartGroup, twips(240, 360, 255, 255), "leftUnit", QStringLiteral("C°"));
    leftUnit->setFont(layoutFont(QStringLiteral("MS Serif"), 8.25));
    QLabel *rightUnit = label(chartGroup, twips(2040, 360, 375, 255), "rightUnit", QStringLiteral("W/m²"));
    rightUnit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    rightUnit->setFont(layoutFont(QStringLiteral("MS Serif"), 6.75));
    QLabel *timeUnit = label(chartGroup, twips(1080, 2280, 255, 210), "timeUnit", QStringLiteral("T(h)"));
    {
        // The substitute serif is wider than the layout's face; a little condensed, "T(h)" fits.
        QFont narrow = layoutFont(QStringLiteral("MS Serif"), 8.25);
        narrow.setStretch(90);
        timeUnit->setFont(narrow);
    }
    chartGroup->raise();

    // Tab order: the history list first, then the button.
    QWidget::setTabOrder(historyList, m_ui.recordButton);
    historyList->setFocus();

    QMenuBar *bar = menuBar();
    bar->setNativeMenuBar(false);
    QMenu *fileMenu = m_ui.fileMenu = bar->addMenu(QStringLiteral("Fichier"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m_ui.newRecordingAction = action(fileMenu, QStringLiteral("Nouvel Enregistrement"), "newRecordingAction");
    m_ui.openRecordingAction = action(fileMenu, QStringLiteral("Ouvrir un enregistrement…"), "openRecordingAction");
    QMenu *optionMenu = m_ui.optionMenu = bar->addMenu(QStringLiteral("Option"));
    optionMenu->setObjectName(QStringLiteral("optionMenu"));
    m_ui.chartAction = action(optionMenu, QStringLiteral("Graphe on/off"), "chartAction");
    optionMenu->addSeparator();
    m_ui.settingsAction = action(optionMenu, QStringLiteral("Réglages"), "settingsAction");
    QMenu *helpMenu = bar->addMenu(QStringLiteral("?"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    action(helpMenu, QStringLiteral("Aide"), "helpAction")->setEnabled(false);
    m_ui.aboutAction = action(helpMenu, QStringLiteral("à Propos"), "aboutAction");
    // Drop-down menus are windows of their own: give them the menu bar's font.
    for (QMenu *m : {fileMenu, optionMenu, helpMenu})
        m->setFont(font());
}

} // namespace orv
