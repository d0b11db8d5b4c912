#include "Form_option.h"

#include "Look.h"
#include "Pictures.h"
#include "Widgets.h"
#include "settings/OptionsBehaviour.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace orv {

namespace {

QRadioButton *radio(QWidget *parent, const QRect &geometry, const QString &caption, const QString &name)
{
    auto *r = new WrapRadioButton(caption, parent);
    r->setObjectName(name);
    r->setGeometry(geometry);
    r->setAccessibleName(caption);
    return r;
}

QLineEdit *inertBox(QWidget *parent, const QRect &geometry, const QString &text, const char *name,
                    bool centred)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(geometry);
    e->setEnabled(false);
    e->setReadOnly(true);
    e->setTextMargins(0, 0, 0, 0);
    if (centred)
        e->setAlignment(Qt::AlignCenter);
    e->setAccessibleName(text);
    return e;
}

QLabel *plainLabel(QWidget *parent, const QRect &geometry, const QString &text, const char *name)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    return l;
}

} // namespace

Form_option::Form_option(ProgramState &state, OptionsBehaviour &behaviour, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state), m_behaviour(behaviour)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setupUi();
    Form_Load();
}

void Form_option::setupUi()
{
    setObjectName(QStringLiteral("Form_option"));
    setWindowTitle(QStringLiteral("   Réglages"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(layoutFont(QStringLiteral("MS Sans Serif"), 8.25));
    setWindowIcon(programIcon());
    setFixedSize(px(4800), px(3705));
    setColors(this, systemColor(15), systemColor(8));
    {
        // Disabled controls show greyed; text boxes keep their white field.
        QPalette pal = palette();
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            pal.setColor(QPalette::Disabled, role, systemColor(16));
        pal.setColor(QPalette::Base, systemColor(5));
        setPalette(pal);
    }

    Frame1 = new CaptionFrame(QStringLiteral("Time Rec"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips(120, 120, 975, 3015));
    static constexpr std::array<int, 10> widths = {495, 615, 615, 615, 615, 495, 495, 495, 615, 615};
    for (int i = 1; i <= 10; ++i) {
        const IntervalChoice &row = kIntervalChoices[static_cast<std::size_t>(i - 1)];
        QRadioButton *b = radio(Frame1, twips(240, 360 + 240 * (i - 1), widths[static_cast<std::size_t>(i - 1)], 255),
                                QString::fromUtf8(row.caption), QStringLiteral("Option1_%1").arg(i));
        if (*row.tooltip)
            b->setToolTip(QString::fromUtf8(row.tooltip));
        Option1[static_cast<std::size_t>(i)] = b;
        connect(b, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option1_Click(static_cast<qint16>(i));
        });
    }

    Frame2 = new CaptionFrame(QStringLiteral("Echelle Capteur"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twips(1200, 120, 1455, 3015));
    Label1 = plainLabel(Frame2, twips(240, 360, 975, 375), QStringLiteral("Entrer valeur Max:"), "Label1");
    Text1 = inertBox(Frame2, twips(240, 960, 855, 285), QStringLiteral("1000"), "Text1", true);
    Label2 = plainLabel(Frame2, twips(240, 1680, 975, 375), QStringLiteral("Entrer valeur Min :"), "Label2");
    Text2 = inertBox(Frame2, twips(240, 2250, 855, 285), QStringLiteral("0"), "Text2", true);
    Frame2->setEnabled(false);

    Capteur = new CaptionFrame(QStringLiteral("Capteur"), this);
    Capteur->setObjectName(QStringLiteral("Capteur"));
    Capteur->setGeometry(twips(2760, 120, 1935, 3015));
    Option2[1] = radio(Capteur, twips(120, 240, 1215, 255), QString::fromUtf8(kSourceCaptions[1]), QStringLiteral("Option2_1"));
    Text4 = inertBox(Capteur, twips(1560, 360, 240, 285), QStringLiteral("3"), "Text4", false);
    Label3 = plainLabel(Capteur, twips(600, 480, 855, 255), QStringLiteral("Adresse N°"), "Label3");
    Label3->setAlignment(Qt::AlignRight | Qt::AlignTop);
    new LineShape(Capteur, {120, 720}, {1800, 720}, systemColor(3));
    new LineShape(Capteur, {120, 740}, {1800, 740}, systemColor(5));
    Option2[2] = radio(Capteur, twips(120, 840, 1455, 375), QString::fromUtf8(kSourceCaptions[2]), QStringLiteral("Option2_2"));
    Text3 = inertBox(Capteur, twips(1540, 840, 240, 285), QStringLiteral("1"), "Text3", true);
    Text3->setToolTip(QStringLiteral("Entrer N° de port com"));
    const std::array<QRect, 4> channelRects = {twips(120, 1320, 855, 255), twips(960, 1320, 855, 255),
                                               twips(120, 1560, 855, 255), twips(960, 1560, 855, 255)};
    for (int k = 0; k < 4; ++k) {
        Option3[static_cast<std::size_t>(k)] = radio(Capteur, channelRects[static_cast<std::size_t>(k)],
                                                     QStringLiteral("Voie %1").arg(k), QStringLiteral("Option3_%1").arg(k));
        Option3[static_cast<std::size_t>(k)]->setEnabled(k == 2);
    }
    new LineShape(Capteur, {120, 2040}, {1800, 2040}, systemColor(3));
    new LineShape(Capteur, {120, 2060}, {1800, 2060}, systemColor(5));
    Option2[0] = radio(Capteur, twips(120, 2280, 1215, 375), QString::fromUtf8(kSourceCaptions[0]), QStringLiteral("Option2_0"));
    for (int k = 0; k < 3; ++k) {
        connect(Option2[static_cast<std::size_t>(k)], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on)
                Option2_Click(static_cast<qint16>(k));
        });
    }

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips(1800, 3240, 1095, 375));
    Command1->setAccessibleName(QStringLiteral("OK"));
    connect(Command1, &QPushButton::clicked, this, &Form_option::Command1_Click);

    // Tab order of the interval buttons runs upwards.
    for (int i = 10; i > 1; --i)
        QWidget::setTabOrder(Option1[static_cast<std::size_t>(i)], Option1[static_cast<std::size_t>(i - 1)]);
}

void Form_option::Form_Load()
{
    const int interval = m_state.settings.intervalIndex;
    if (interval >= 1 && interval <= 10)
        Option1[static_cast<std::size_t>(interval)]->setChecked(true);
    const int source = m_state.settings.sourceCode;
    if (source >= 0 && source <= 2)
        Option2[static_cast<std::size_t>(source)]->setChecked(true);
}

void Form_option::Option1_Click(qint16 index)
{
    m_behaviour.Option1_Click(index, isVisible());
}

void Form_option::Option2_Click(qint16 index)
{
    m_behaviour.Option2_Click(index, isVisible());
}

void Form_option::Command1_Click()
{
    close();
}

void Form_option::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void Form_option::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (onUnload)
        onUnload();
}

} // namespace orv
