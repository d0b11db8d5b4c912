#include "OrvalinUi.h"

#include "Look.h"
#include "Pictures.h"

#include <QApplication>
#include <QMenuBar>
#include <QScrollBar>

namespace orv {

const char *const kLabel3Tooltip = "In A1 USB K8055 - V2 RS232";
const char *const kLabel6Tooltip = "In A2 - que USB K8055";

namespace {

QFrame *frame(QWidget *parent, const QRect &geometry, const char *name, bool border = true)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setGeometry(geometry);
    if (border)
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

QLabel *readout(QWidget *parent, const QRect &geometry, const char *name, const QString &text,
                double points)
{
    QLabel *l = label(parent, geometry, name, text);
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

QTimer *timer(QObject *parent, const char *name, int interval, bool enabled)
{
    auto *t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    t->setTimerType(Qt::PreciseTimer);
    t->setInterval(interval);
    if (enabled)
        t->start();
    return t;
}

} // namespace

void OrvalinUi::setupUi(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("Orvalin"));
    window->setWindowTitle(QStringLiteral("Orvalin Temps Réel"));
    window->setFont(layoutFont(QStringLiteral("MS Sans Serif"), 8.25));
    window->setWindowIcon(mainWindowIcon());
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint);

    client = new QWidget(window);
    client->setObjectName(QStringLiteral("client"));
    setColors(client, systemColor(11), systemColor(8));
    window->setCentralWidget(client);
    client->setFixedSize(px(kMainClientWidth), px(kMainClientHeight));

    // Record group.
    Frame1 = frame(client, twips(120, 120, 975, 1020), "Frame1");
    FrameLED = new QWidget(Frame1);
    FrameLED->setObjectName(QStringLiteral("FrameLED"));
    FrameLED->setGeometry(twips(280, 120, 375, 240));
    FrameLED->setAccessibleName(QStringLiteral("Voyant d'enregistrement"));

    // Created in the layout's order; the halo is lowered beneath the disc and its highlight.
    RefleLed1 = new Shape(FrameLED);
    RefleLed1->setObjectName(QStringLiteral("RefleLed1"));
    RefleLed1->setGeometry(twips(145, 50, 30, 150));
    RefleLed1->backOpaque = true;
    RefleLed1->backColor = systemColor(5);
    RefleLed1->borderColor = systemColor(5);
    RefleLed1->fillColor = QColor(255, 255, 255);
    RefleLed1->fillSolid = false;

    Led1 = new Shape(FrameLED);
    Led1->setObjectName(QStringLiteral("Led1"));
    Led1->setGeometry(twips(120, 75, 165, 135));
    Led1->fillSolid = true;
    Led1->fillColor = rgbValue(kLedOff);
    Led1->borderColor = rgbValue(kLedOff);

    LedOn1 = new Shape(FrameLED);
    LedOn1->setObjectName(QStringLiteral("LedOn1"));
    LedOn1->setGeometry(twips(105, 45, 210, 210));
    LedOn1->backOpaque = false;
    LedOn1->backColor = QColor(255, 128, 128);
    LedOn1->borderSolid = false;
    LedOn1->borderColor = QColor(255, 192, 192);
    LedOn1->borderWidth = 2;
    LedOn1->fillColor = rgbValue(kLedOff);
    LedOn1->fillSolid = false;
    LedOn1->lower();
    RefleLed1->raise();

    CmdRecord = new WrapButton(QStringLiteral(" Record Start"), Frame1);
    CmdRecord->setObjectName(QStringLiteral("CmdRecord"));
    CmdRecord->setGeometry(twips(120, 440, 735, 495));
    CmdRecord->setAccessibleName(QStringLiteral("Record Start"));

    Label2 = readout(client, twips(120, 1250, 975, 315), "Label2", QStringLiteral("00:00:00"), 11.25);
    Label2->setAccessibleName(QStringLiteral("Heure"));

    // Readout group.
    Frame3 = frame(client, twips(120, 1560, 975, 975), "Frame3");
    Label3 = readout(Frame3, twips(300, 140, 615, 375), "Label3", QStringLiteral("000"), 14.25);
    Label3->setToolTip(QString::fromUtf8(kLabel3Tooltip));
    Label3->setAccessibleName(QStringLiteral("Valeur A1"));
    Label8 = label(Frame3, twips(65, 240, 230, 255), "Label8", QStringLiteral("A1"));
    Label8->setFont(layoutFont(QStringLiteral("Arial"), 8.25, true));
    Label8->setToolTip(QString::fromUtf8(kLabel3Tooltip));
    Label6 = readout(Frame3, twips(300, 540, 615, 375), "Label6", QStringLiteral("000"), 14.25);
    Label6->setToolTip(QString::fromUtf8(kLabel6Tooltip));
    Label6->setAccessibleName(QStringLiteral("Valeur A2"));
    Label9 = label(Frame3, twips(65, 600, 230, 255), "Label9", QStringLiteral("A2"));
    Label9->setFont(layoutFont(QStringLiteral("Arial"), 8.25, true));
    Label9->setToolTip(QString::fromUtf8(kLabel6Tooltip));

    // History list and its heading.
    Label1 = label(client, twips(1320, 120, 3615, 255), "Label1",
                   QStringLiteral("A1      A2          Date             Time"));
    setColors(Label1, systemColor(10), systemColor(8));

    Text1 = new QPlainTextEdit(client);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twips(1200, 360, 3015, 2175));
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    Text1->document()->setDocumentMargin(2);
    {
        QPalette pal = Text1->palette();
        pal.setColor(QPalette::Base, QColor(0, 0, 0));
        pal.setColor(QPalette::Text, QColor(0, 192, 0));
        Text1->setPalette(pal);
        Text1->verticalScrollBar()->setPalette(QApplication::palette(Text1->verticalScrollBar()));
    }
    Text1->setAccessibleName(QStringLiteral("Historique des mesures"));

    LabelAttente = label(client, twips(1215, 2280, 2760, 240), "LabelAttente", QString());
    LabelAttente->setAlignment(Qt::AlignCenter);
    setColors(LabelAttente, QColor(255, 255, 0), QColor(192, 0, 0));
    LabelAttente->setFont(layoutFont(QStringLiteral("Arial"), 8.25, true));
    LabelAttente->hide();

    Label10 = label(client, twips(2160, -50, 975, 150), "Label10", QStringLiteral("V1.11ß1 USB"));
    Label10->setFont(layoutFont(QStringLiteral("Microsoft Sans Serif"), 6.75));
    {
        QPalette pal = Label10->palette();
        pal.setColor(QPalette::WindowText, systemColor(3));
        Label10->setPalette(pal);
    }

    // Chart group, beyond the narrow window's right edge.
    Frame2 = frame(client, twips(4320, 0, 2655, 2535), "Frame2");
    EchelleV2 = box(Frame2, twips(120, 600, 375, 1455), "EchelleV2", false);
    Ecran1 = box(Frame2, twips(480, 600, 1575, 1455), "Ecran1", true);
    Ecran1->setBackColor(systemColor(6));
    Ecran1->setForeColor(QColor(0, 255, 0));
    Ecran1->setAccessibleName(QStringLiteral("Graphe A1"));
    EchelleV = box(Frame2, twips(2040, 600, 495, 1455), "EchelleV", false);
    EchelleH = box(Frame2, twips(480, 2040, 1575, 255), "EchelleH", false);
    EchelleH->setBackColor(systemColor(10));
    for (PictureBox *b : {EchelleV2, EchelleV, EchelleH}) {
        b->setForeColor(systemColor(8));
        b->surface().setFont(layoutFont(QStringLiteral("MS Serif"), 6));
    }
    EchelleV2->setBackColor(systemColor(15));
    EchelleV->setBackColor(systemColor(15));
    Label5 = label(Frame2, twips(240, 360, 255, 255), "Label5", QStringLiteral("C°"));
    Label5->setFont(layoutFont(QStringLiteral("MS Serif"), 8.25));
    Label4 = label(Frame2, twips(2040, 360, 375, 255), "Label4", QStringLiteral("W/m²"));
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4->setFont(layoutFont(QStringLiteral("MS Serif"), 6.75));
    Label7 = label(Frame2, twips(1080, 2280, 255, 210), "Label7", QStringLiteral("T(h)"));
    Label7->setFont(layoutFont(QStringLiteral("MS Serif"), 8.25));
    {
        // The substitute serif is wider than the layout's face; a little condensed, "T(h)" fits.
        QFont narrow = Label7->font();
        narrow.setStretch(90);
        Label7->setFont(narrow);
    }
    Frame2->raise();

    // Tab order: the history list first, then the button.
    QWidget::setTabOrder(Text1, CmdRecord);
    Text1->setFocus();

    Timer1 = timer(window, "Timer1", 10, false);
    TimerValActu = timer(window, "TimerValActu", 500, true);
    TimerLed = timer(window, "TimerLed", 500, false);
    TimerVideBufferRS = timer(window, "TimerVideBufferRS", 10000, false);

    QMenuBar *bar = window->menuBar();
    bar->setNativeMenuBar(false);
    menu_fichier = bar->addMenu(QStringLiteral("Fichier"));
    menu_fichier->setObjectName(QStringLiteral("menu_fichier"));
    menu_nouveau = menu_fichier->addAction(QStringLiteral("Nouvel Enregistrement"));
    menu_nouveau->setObjectName(QStringLiteral("menu_nouveau"));
    menu_option = bar->addMenu(QStringLiteral("Option"));
    menu_option->setObjectName(QStringLiteral("menu_option"));
    menuGraphe = menu_option->addAction(QStringLiteral("Graphe on/off"));
    menuGraphe->setObjectName(QStringLiteral("menuGraphe"));
    menuGraphe->setCheckable(true);
    separ1 = menu_option->addSeparator();
    separ1->setObjectName(QStringLiteral("separ1"));
    menuReglage = menu_option->addAction(QStringLiteral("Réglages"));
    menuReglage->setObjectName(QStringLiteral("menuReglage"));
    menu_intero = bar->addMenu(QStringLiteral("?"));
    menu_intero->setObjectName(QStringLiteral("menu_intero"));
    menu_aide = menu_intero->addAction(QStringLiteral("Aide"));
    menu_aide->setObjectName(QStringLiteral("menu_aide"));
    menu_aide->setEnabled(false);
    menu_apropos = menu_intero->addAction(QStringLiteral("à Propos"));
    menu_apropos->setObjectName(QStringLiteral("menu_apropos"));
}

} // namespace orv
