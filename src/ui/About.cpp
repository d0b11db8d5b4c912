#include "About.h"

#include "Desktop.h"
#include "Look.h"
#include "Pictures.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <initializer_list>

namespace orv {

namespace {

// Client area in twips.
constexpr int kWidth = 3750;
constexpr int kHeight = 3450;

// A picture at its own size from the top-left corner, never stretched, and in its own
// colours even when disabled: the web banner is disabled only to pass the pointer on.
class Picture final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.drawPixmap(0, 0, pixmap());
    }
};

// The title's caption, broken between its two parts. Its blanks were set for another face;
// a plain word wrap at this width would split "Temps Réel" instead.
class TitleLabel final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        const QString caption = text().trimmed();
        const qsizetype gap = caption.indexOf(QLatin1Char(' '));
        const QStringList lines = gap < 0 ? QStringList{caption}
                                          : QStringList{caption.left(gap), caption.mid(gap).trimmed()};
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        const int lineHeight = fontMetrics().lineSpacing();
        for (qsizetype i = 0; i < lines.size(); ++i)
            p.drawText(QRect(0, static_cast<int>(i) * lineHeight, width(), lineHeight),
                       Qt::AlignHCenter | Qt::AlignTop, lines.at(i));
    }
};

QLabel *label(QWidget *parent, const QRect &geometry, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

QLabel *picture(QWidget *parent, const QRect &geometry, const char *name, const QPixmap &pixmap)
{
    auto *l = new Picture(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setPixmap(pixmap);
    return l;
}

QFrame *linkArea(QWidget *parent, const QRect &geometry, const char *name)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setGeometry(geometry);
    f->setFrameStyle(QFrame::NoFrame);
    f->setMouseTracking(true);
    // The labels and pictures inside inherit the hand.
    f->setCursor(handCursor());
    return f;
}

void setUnderline(QLabel *l, bool on)
{
    QFont f = l->font();
    if (f.underline() == on)
        return;
    f.setUnderline(on);
    l->setFont(f);
}

} // namespace

About::About(Desktop &desktop, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_desktop(desktop)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setupUi();
}

void About::setupUi()
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About ZK"));
    // Small title bar with a close box only; a tool window has no task-bar entry.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(layoutFont(QStringLiteral("MS Sans Serif"), 8.25));
    setFixedSize(px(kWidth), px(kHeight));
    setColors(this, systemColor(15), systemColor(8));
    setMouseTracking(true);

    // Title block.
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips(120, 120, 3495, 1335));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Image3 = picture(Frame1, twips(240, 480, 480, 480), "Image3", titlePicture());
    Label4 = new TitleLabel(QString::fromUtf8(kTitle), Frame1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(twips(720, 240, 2655, 615));
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4->setFont(layoutFont(QStringLiteral("MS Sans Serif"), 12, true));
    Label3 = label(Frame1, twips(960, 915, 735, 255), "Label3", QString::fromUtf8(kVersion));
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3->setFont(layoutFont(QStringLiteral("MS Sans Serif"), 9.75));
    Label5 = label(Frame1, twips(1800, 975, 1335, 135), "Label5", QString::fromUtf8(kCredit));
    Label5->setFont(layoutFont(QStringLiteral("MS Serif"), 6));
    {
        QPalette pal = Label5->palette();
        pal.setColor(QPalette::WindowText, systemColor(16));
        Label5->setPalette(pal);
    }

    const QColor linkGreen(0, 128, 0);

    // Mail link.
    Mail = linkArea(this, twips(240, 1560, 3015, 615), "Mail");
    Mail->setAccessibleName(QStringLiteral("Écrire à ") + QString::fromUtf8(kMailAddress));
    Image1 = picture(Mail, twips(120, 120, 480, 480), "Image1", mailIcon().pixmap(32, 32));
    Image1->setAccessibleName(QStringLiteral("Courriel"));
    Label1 = label(Mail, twips(720, 240, 2175, 255), "Label1", QString::fromUtf8(kMailAddress));
    Label1->setAccessibleName(Label1->text());

    // Web link; the picture is disabled so the pointer and clicks over it reach the frame.
    SiteZK = linkArea(this, twips(0, 2280, 3615, 615), "SiteZK");
    SiteZK->setAccessibleName(QStringLiteral("Site web ") + QString::fromUtf8(kWebAddress));
    Image2 = picture(SiteZK, twips(120, 0, 1095, 495), "Image2", webBanner());
    Image2->setEnabled(false);
    Image2->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image2->setAccessibleName(QStringLiteral("Site web"));
    Label2 = label(SiteZK, twips(1320, 120, 2295, 255), "Label2", QString::fromUtf8(kWebAddress));
    Label2->setAccessibleName(Label2->text());

    for (QLabel *l : {Label1, Label2}) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, linkGreen);
        l->setPalette(pal);
    }

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips(1200, 3000, 975, 375));
    Command1->setAccessibleName(QStringLiteral("OK"));
    connect(Command1, &QPushButton::clicked, this, &About::Command1_Click);

    for (QObject *o : std::initializer_list<QObject *>{Mail, Image1, Label1, SiteZK, Label2})
        o->installEventFilter(this);
}

void About::Command1_Click()
{
    close();
}

void About::ouvre_mail()
{
    // Unescaped on purpose: the subject's blanks are handed over as blanks.
    m_desktop.openLink(QStringLiteral("mailto:") + QString::fromUtf8(kMailAddress)
                       + QStringLiteral("?Subject=") + QString::fromUtf8(kMailSubject));
}

void About::ouvre_site()
{
    m_desktop.openLink(QString::fromUtf8(kWebAddress));
}

void About::Form_MouseMove()
{
    setUnderline(Label1, false);
    setUnderline(Label2, false);
}

void About::Mail_MouseMove()
{
    setUnderline(Label1, true);
}

void About::SiteZK_MouseMove()
{
    setUnderline(Label2, true);
}

void About::mouseMoveEvent(QMouseEvent *event)
{
    // Only the window's own surface: a move that climbed up from a control (a drag that
    // started on a frame, say) is not one.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    event->accept();
}

void About::clicked(QObject *control)
{
    if (control == Mail || control == Label1 || control == Image1)
        ouvre_mail();
    else if (control == SiteZK || control == Label2)
        ouvre_site();
}

bool About::eventFilter(QObject *watched, QEvent *event)
{
    // Every mouse event of the link controls ends here: left to itself a label or a picture
    // would pass it up to its frame, and the frame to the window surface.
    switch (event->type()) {
    case QEvent::MouseMove:
        if (watched == Mail)
            Mail_MouseMove();
        else if (watched == SiteZK)
            SiteZK_MouseMove();
        event->accept();
        return true;
    case QEvent::MouseButtonPress: {
        const auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton)
            m_pressed = watched;
        event->accept();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto *me = static_cast<QMouseEvent *>(event);
        const auto *w = static_cast<QWidget *>(watched);
        // A click: the left button went down and up on the same control.
        const bool click = me->button() == Qt::LeftButton && m_pressed == watched
            && w->rect().contains(me->position().toPoint());
        m_pressed = nullptr;
        if (click)
            clicked(watched);
        event->accept();
        return true;
    }
    case QEvent::MouseButtonDblClick:
        event->accept();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace orv
