#include "ui/MainWindowLayout.h"

#include "ui/Look.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QMenuBar>
#include <QScrollBar>

namespace orv {

namespace {

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

PictureBox *box(QWidget *parent, const QRect &geometry, const char *name, bool sunken)
{
    auto *b = new PictureBox(parent, sunken);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    return b;
}

Shape *shape(QWidget *parent, const QRect &geometry, const char *name)
{
    auto *s = new Shape(parent);
    s->setObjectName(QLatin1String(name));
    s->setGeometry(geometry);
    return s;
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

void MainWindowLayout::setupUi(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("mainWindow"));
    window->setWindowTitle(QStringLiteral("Orvalin Temps Réel"));
    window->setFont(layoutFont(QStringLiteral("MS Sans Serif"), 8.25));
    window->setWindowIcon(mainWindowIcon());
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    client = new QWidget(window);
    client->setObjectName(QStringLiteral("client"));
    setColors(client, systemColor(SystemColor::InactiveBorder), systemColor(SystemColor::WindowText));
    window->setCentralWidget(client);
    client->setFixedSize(px(kMainClientWidth), px(kMainClientHeight));

    // Record group: the recording light and the start/stop button.
    recordGroup = frame(client, twips(120, 120, 975, 1020), "recordGroup");
    led = new QWidget(recordGroup);
    led->setObjectName(QStringLiteral("led"));
    led->setGeometry(twips(280, 120, 375, 240));
    led->setAccessibleName(QStringLiteral("Voyant d'enregistrement"));

    // Created in the layout's order; the halo goes beneath the disc and its highlight.
    ledHighlight = shape(led, twips(145, 50, 30, 150), "ledHighlight");
    ledHighlight->backOpaque = true;
    ledHighlight->backColor = systemColor(SystemColor::WindowBackground);
    ledHighlight->borderColor = systemColor(SystemColor::WindowBackground);
    ledHighlight->fillColor = QColor(255, 255, 255);
    ledHighlight->fillSolid = false;

    ledDisc = shape(led, twips(120, 75, 165, 135), "ledDisc");
    ledDisc->fillSolid = true;
    ledDisc->fillColor = kLedOffColor;
    ledDisc->borderColor = kLedOffColor;

    ledHalo = shape(led, twips(105, 45, 210, 210), "ledHalo");
    ledHalo->backOpaque = false;
    ledHalo->backColor = QColor(255, 128, 128);
    ledHalo->borderSolid = false;
    ledHalo->borderColor = QColor(255, 192, 192);
    ledHalo->borderWidth = 2;
    ledHalo->fillColor = kLedOffColor;
    ledHalo->fillSolid = false;
    ledHalo->lower();
    ledHighlight->raise();

    recordButton = new WrapButton(QStringLiteral(" Record Start"), recordGroup);
    recordButton->setObjectName(QStringLiteral("recordButton"));
    recordButton->setGeometry(twips(120, 440, 735, 495));
    recordButton->setAccessibleName(QStringLiteral("Record Start"));

    clockLabel = readout(client, twips(120, 1250, 975, 315), "clockLabel", 11.25);
    showData(clockLabel, QStringLiteral("Heure "), QStringLiteral("00:00:00"));

    // Readout group: value 1 over value 2, each with its tag.
    readoutGroup = frame(client, twips(120, 1560, 975, 975), "readoutGroup");
    value1Readout = readout(readoutGroup, twips(300, 140, 615, 375), "value1Readout", 14.25);
    value1Readout->setToolTip(QString::fromUtf8(kValue1Tooltip));
    showData(value1Readout, QStringLiteral("Valeur A1 : "), QStringLiteral("000"));
    value1Tag = label(readoutGroup, twips(65, 240, 230, 255), "value1Tag", QStringLiteral("A1"));
    value1Tag->setFont(layoutFont(QStringLiteral("Arial"), 8.25, true));
    value1Tag->setToolTip(QString::fromUtf8(kValue1Tooltip));
    value2Readout = readout(readoutGroup, twips(300, 540, 615, 375), "value2Readout", 14.25);
    value2Readout->setToolTip(QString::fromUtf8(kValue2Tooltip));
    showData(value2Readout, QStringLiteral("Valeur A2 : "), QStringLiteral("000"));
    value2Tag = label(readoutGroup, twips(65, 600, 230, 255), "value2Tag", QStringLiteral("A2"));
    value2Tag->setFont(layoutFont(QStringLiteral("Arial"), 8.25, true));
    value2Tag->setToolTip(QString::fromUtf8(kValue2Tooltip));

    // History list and its heading.
    historyHeading = label(client, twips(1320, 120, 3615, 255), "historyHeading",
                           QStringLiteral("A1      A2          Date             Time"));
    setColors(historyHeading, systemColor(SystemColor::ActiveBorder), systemColor(SystemColor::WindowText));

    historyList = new HistoryView(client);
    historyList->setObjectName(QStringLiteral("historyList"));
    historyList->setGeometry(twips(1200, 360, 3015, 2175));
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
    waitingNotice = label(client, twips(1230, 1830, 2730, 690), "waitingNotice", QString());
    waitingNotice->setAlignment(Qt::AlignCenter);
    waitingNotice->setWordWrap(true);
    waitingNotice->setMargin(2);
    setColors(waitingNotice, QColor(255, 255, 0), QColor(192, 0, 0));
    waitingNotice->setFont(layoutFont(QStringLiteral("Arial"), 8.25, true));
    waitingNotice->hide();

    versionLabel = label(client, twips(2160, -50, 975, 150), "versionLabel", QStringLiteral("V1.11ß1 USB"));
    versionLabel->setFont(layoutFont(QStringLiteral("Microsoft Sans Serif"), 6.75));
    {
        QPalette pal = versionLabel->palette();
        pal.setColor(QPalette::WindowText, systemColor(SystemColor::InactiveCaption));
        versionLabel->setPalette(pal);
    }

    // Chart group, beyond the narrow window's right edge.
    chartGroup = frame(client, twips(4320, 0, 2655, 2535), "chartGroup");
    leftScale = box(chartGroup, twips(120, 600, 375, 1455), "leftScale", false);
    chart = box(chartGroup, twips(480, 600, 1575, 1455), "chart", true);
    chart->setBackColor(systemColor(SystemColor::WindowFrame));
    chart->setForeColor(QColor(0, 255, 0));
    chart->setAccessibleName(QStringLiteral("Graphe A1"));
    rightScale = box(chartGroup, twips(2040, 600, 495, 1455), "rightScale", false);
    timeScale = box(chartGroup, twips(480, 2040, 1575, 255), "timeScale", false);
    timeScale->setBackColor(systemColor(SystemColor::ActiveBorder));
    for (PictureBox *b : {leftScale, rightScale, timeScale}) {
        b->setForeColor(systemColor(SystemColor::WindowText));
        b->surface().setFont(layoutFont(QStringLiteral("MS Serif"), 6));
    }
    leftScale->setBackColor(systemColor(SystemColor::ButtonFace));
    rightScale->setBackColor(systemColor(SystemColor::ButtonFace));
    leftUnit = label(chartGroup, twips(240, 360, 255, 255), "leftUnit", QStringLiteral("C°"));
    leftUnit->setFont(layoutFont(QStringLiteral("MS Serif"), 8.25));
    rightUnit = label(chartGroup, twips(2040, 360, 375, 255), "rightUnit", QStringLiteral("W/m²"));
    rightUnit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    rightUnit->setFont(layoutFont(QStringLiteral("MS Serif"), 6.75));
    timeUnit = label(chartGroup, twips(1080, 2280, 255, 210), "timeUnit", QStringLiteral("T(h)"));
    {
        // The substitute serif is wider than the layout's face; a little condensed, "T(h)" fits.
        QFont narrow = layoutFont(QStringLiteral("MS Serif"), 8.25);
        narrow.setStretch(90);
        timeUnit->setFont(narrow);
    }
    chartGroup->raise();

    // Tab order: the history list first, then the button.
    QWidget::setTabOrder(historyList, recordButton);
    historyList->setFocus();

    QMenuBar *bar = window->menuBar();
    bar->setNativeMenuBar(false);
    fileMenu = bar->addMenu(QStringLiteral("Fichier"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    newRecordingAction = action(fileMenu, QStringLiteral("Nouvel Enregistrement"), "newRecordingAction");
    openRecordingAction = action(fileMenu, QStringLiteral("Ouvrir un enregistrement…"), "openRecordingAction");
    optionMenu = bar->addMenu(QStringLiteral("Option"));
    optionMenu->setObjectName(QStringLiteral("optionMenu"));
    chartAction = action(optionMenu, QStringLiteral("Graphe on/off"), "chartAction");
    optionMenu->addSeparator();
    settingsAction = action(optionMenu, QStringLiteral("Réglages"), "settingsAction");
    helpMenu = bar->addMenu(QStringLiteral("?"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    helpAction = action(helpMenu, QStringLiteral("Aide"), "helpAction");
    helpAction->setEnabled(false);
    aboutAction = action(helpMenu, QStringLiteral("à Propos"), "aboutAction");
    // Drop-down menus are windows of their own: give them the menu bar's font.
    for (QMenu *m : {fileMenu, optionMenu, helpMenu})
        m->setFont(window->font());
}

} // namespace orv
