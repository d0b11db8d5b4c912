// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OptionsWindow.h"

#include "display/Twips.h"
#include "ui/EtchedLines.h"
#include "ui/Look.h"
#include "ui/Pictures.h"
#include "ui/WrappingButtons.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace orv {

namespace {

struct IntervalButton {
    const char *caption; // UTF-8
    const char *tooltip; // empty: none
    int widthTwips;
};

// By interval number - 1. The captions end in the seconds sign (a double quote) or the
// minutes sign (a blank and an apostrophe).
constexpr std::array<IntervalButton, 10> kIntervalButtons = {{
    {"1\"", "8h record", 495},
    {"10\"", "17h record", 615},
    {"1 '", "2days record", 615},
    {"15 '", "3days record", 615},
    {"30 '", "7days record", 615},
    {"1h", "22 days record", 495},
    {"3h", "", 495},
    {"6h", "", 495},
    {"12h", "", 615},
    {"24h", "", 615},
}};

QRadioButton *radio(QWidget *parent, const QRect &geometry, const QString &caption, const QString &name)
{
    auto *r = new WrapRadioButton(caption, parent);
    r->setObjectName(name);
    r->setGeometry(geometry);
    r->setAccessibleName(caption);
    return r;
}

// The boxes of the layout that nothing reads: shown greyed, never edited.
QLineEdit *inertBox(QWidget *parent, const QRect &geometry, const QString &text, bool centred)
{
    auto *e = new QLineEdit(text, parent);
    e->setGeometry(geometry);
    e->setEnabled(false);
    e->setReadOnly(true);
    e->setTextMargins(0, 0, 0, 0);
    if (centred)
        e->setAlignment(Qt::AlignCenter);
    e->setAccessibleName(text);
    return e;
}

QLabel *plainLabel(QWidget *parent, const QRect &geometry, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    return l;
}

QGroupBox *captionFrame(QWidget *parent, const QRect &geometry, const QString &caption, const char *name)
{
    auto *f = new CaptionFrame(caption, parent);
    f->setObjectName(QLatin1String(name));
    f->setGeometry(geometry);
    return f;
}

} // namespace

OptionsWindow::OptionsWindow(Interval interval, SourceKind source, QWidget *parent)
    : DialogWindow(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setupUi();
    // Selected while the window is built: nothing is applied or saved.
    intervalButton(interval)->setChecked(true);
    sourceButton(source)->setChecked(true);
    // Every way of checking a button is a choice: a click, an arrow key, an assistive tool's
    // toggle. A click on the button already checked toggles nothing, yet chooses it again.
    for (QButtonGroup *group : {m_intervalGroup, m_sourceGroup}) {
        connect(group, &QButtonGroup::idToggled, this, [this, group](int id, bool checked) {
            if (checked)
                choose(group, id);
        });
        connect(group, &QButtonGroup::idPressed, this,
                [this, group](int id) { m_pressedWasChecked = group->button(id)->isChecked(); });
        connect(group, &QButtonGroup::idClicked, this, [this, group](int id) {
            if (m_pressedWasChecked)
                choose(group, id);
        });
    }
    connect(m_ok, &QPushButton::clicked, this, &QWidget::close);
}

void OptionsWindow::choose(const QButtonGroup *group, int id)
{
    if (!isVisible()) // being built, or closed: the stored choices, nothing new
        return;
    if (group == m_intervalGroup)
        Q_EMIT intervalChosen(*intervalFromNumber(id));
    else if (const auto kind = sourceFromNumber(id)) // the channel buttons choose nothing
        Q_EMIT sourceChosen(*kind);
}

QRadioButton *OptionsWindow::intervalButton(Interval interval) const
{
    return m_intervals[static_cast<std::size_t>(interval) - 1];
}

QRadioButton *OptionsWindow::sourceButton(SourceKind kind) const
{
    return m_sources[static_cast<std::size_t>(kind)];
}

void OptionsWindow::setupUi()
{
    setObjectName(QStringLiteral("optionsWindow"));
    setWindowTitle(QStringLiteral("   Réglages"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setFont(layoutFont(QStringLiteral("MS Sans Serif"), 8.25));
    setWindowIcon(programIcon());
    setFixedSize(px(4800), px(3705));
    setColors(this, kFaceColor, kTextColor);
    {
        // Disabled controls show greyed; text boxes keep their white field.
        QPalette pal = palette();
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            pal.setColor(QPalette::Disabled, role, kShadowColor);
        pal.setColor(QPalette::Base, kLightColor);
        setPalette(pal);
    }

    QGroupBox *intervals = captionFrame(this, twips(120, 120, 975, 3015), QStringLiteral("Time Rec"), "intervalFrame");
    m_intervalGroup = new QButtonGroup(this);
    for (int i = 1; i <= 10; ++i) {
        const IntervalButton &row = kIntervalButtons[static_cast<std::size_t>(i - 1)];
        QRadioButton *b = radio(intervals, twips(240, 360 + 240 * (i - 1), row.widthTwips, 255),
                                QString::fromUtf8(row.caption), QStringLiteral("interval%1").arg(i));
        if (*row.tooltip)
            b->setToolTip(QString::fromUtf8(row.tooltip));
        m_intervals[static_cast<std::size_t>(i - 1)] = b;
        m_intervalGroup->addButton(b, i);
    }
    // The tab order of the interval buttons runs upwards.
    for (std::size_t i = 9; i > 0; --i)
        QWidget::setTabOrder(m_intervals[i], m_intervals[i - 1]);

    // Sensor scale: laid out, inert.
    QGroupBox *scale =
        captionFrame(this, twips(1200, 120, 1455, 3015), QStringLiteral("Echelle Capteur"), "scaleFrame");
    plainLabel(scale, twips(240, 360, 975, 375), QStringLiteral("Entrer valeur Max:"));
    inertBox(scale, twips(240, 960, 855, 285), QStringLiteral("1000"), true);
    plainLabel(scale, twips(240, 1680, 975, 375), QStringLiteral("Entrer valeur Min :"));
    inertBox(scale, twips(240, 2250, 855, 285), QStringLiteral("0"), true);
    scale->setEnabled(false);

    // Sources and channels share one frame, so they form one exclusive group of seven.
    QGroupBox *sensor = captionFrame(this, twips(2760, 120, 1935, 3015), QStringLiteral("Capteur"), "sensorFrame");
    m_sourceGroup = new QButtonGroup(this);
    m_sources[1] =
        radio(sensor, twips(120, 240, 1215, 255), QStringLiteral("USB P8055"), QStringLiteral("sourceBoard"));
    inertBox(sensor, twips(1560, 360, 240, 285), QStringLiteral("3"), false);
    plainLabel(sensor, twips(600, 480, 855, 255), QStringLiteral("Adresse N°"))
        ->setAlignment(Qt::AlignRight | Qt::AlignTop);
    new PlainLine(sensor, {120, 720}, {1800, 720}, kShadowColor);
    new PlainLine(sensor, {120, 740}, {1800, 740}, kLightColor);
    m_sources[2] =
        radio(sensor, twips(120, 840, 1455, 375), QStringLiteral("RS232 com N°"), QStringLiteral("sourceSerial"));
    inertBox(sensor, twips(1540, 840, 240, 285), QStringLiteral("1"), true)
        ->setToolTip(QStringLiteral("Entrer N° de port com"));
    const std::array<QRect, 4> channels = {twips(120, 1320, 855, 255), twips(960, 1320, 855, 255),
                                           twips(120, 1560, 855, 255), twips(960, 1560, 855, 255)};
    for (int k = 0; k < 4; ++k) {
        QRadioButton *channel = radio(sensor, channels[static_cast<std::size_t>(k)], QStringLiteral("Voie %1").arg(k),
                                      QStringLiteral("channel%1").arg(k));
        channel->setEnabled(k == 2);
        m_sourceGroup->addButton(channel, -2 - k); // exclusive with the sources, chooses nothing
    }
    new PlainLine(sensor, {120, 2040}, {1800, 2040}, kShadowColor);
    new PlainLine(sensor, {120, 2060}, {1800, 2060}, kLightColor);
    m_sources[0] = radio(sensor, twips(120, 2280, 1215, 375), QStringLiteral("Mode Test (clavier +/-)"),
                         QStringLiteral("sourceKeyboard"));
    for (int k = 0; k < 3; ++k)
        m_sourceGroup->addButton(m_sources[static_cast<std::size_t>(k)], k);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setGeometry(twips(1800, 3240, 1095, 375));
    m_ok->setAccessibleName(QStringLiteral("OK"));
    setDefaultButton(m_ok);
}

void OptionsWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closed) {
        m_closed = true;
        Q_EMIT closed();
    }
    event->accept();
}

} // namespace orv
