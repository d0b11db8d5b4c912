// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutWindow.h"

#include "display/Twips.h"
#include "ui/Desktop.h"
#include "ui/Look.h"
#include "ui/Pictures.h"

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
        const QStringList lines =
            gap < 0 ? QStringList{caption} : QStringList{caption.left(gap), caption.mid(gap).trimmed()};
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        const int lineHeight = fontMetrics().lineSpacing();
        for (qsizetype i = 0; i < lines.size(); ++i)
            p.drawText(QRect(0, static_cast<int>(i) * lineHeight, width(), lineHeight), Qt::AlignHCenter | Qt::AlignTop,
                       lines.at(i));
    }
};

QLabel *label(QWidget *parent, const QRect &geometry, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

LinkLabel *link(QWidget *parent, const QRect &geometry, const char *name, const QString &text)
{
    auto *l = new LinkLabel(text, parent);
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

AboutWindow::AboutWindow(Desktop &desktop, QWidget *parent)
    : DialogWindow(parent, Qt::Tool)
    , m_desktop(desktop)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setupUi();
}

void AboutWindow::setupUi()
{
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(QStringLiteral("About ZK"));
    // Small title bar with a close box only; a tool window has no task-bar entry.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setFont(layoutFont(QStringLiteral("MS Sans Serif"), 8.25));
    setFixedSize(px(kWidth), px(kHeight));
    setColors(this, kFaceColor, kTextColor);
    setMouseTracking(true);

    // Title block.
    titleBlock = new QFrame(this);
    titleBlock->setObjectName(QStringLiteral("titleBlock"));
    titleBlock->setGeometry(twips(120, 120, 3495, 1335));
    titleBlock->setFrameStyle(QFrame::Box | QFrame::Sunken);
    titleIcon = picture(titleBlock, twips(240, 480, 480, 480), "titleIcon", titlePicture());
    titleLabel = new TitleLabel(QString::fromUtf8(kTitle), titleBlock);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    titleLabel->setGeometry(twips(720, 240, 2655, 615));
    titleLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    titleLabel->setFont(layoutFont(QStringLiteral("MS Sans Serif"), 12, true));
    versionLabel = label(titleBlock, twips(960, 915, 735, 255), "versionLabel", QString::fromUtf8(kVersion));
    versionLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    versionLabel->setFont(layoutFont(QStringLiteral("MS Sans Serif"), 9.75));
    creditLabel = label(titleBlock, twips(1800, 975, 1335, 135), "creditLabel", QString::fromUtf8(kCredit));
    creditLabel->setFont(layoutFont(QStringLiteral("MS Serif"), 6));
    {
        QPalette pal = creditLabel->palette();
        pal.setColor(QPalette::WindowText, kShadowColor);
        creditLabel->setPalette(pal);
    }

    const QColor linkGreen(0, 128, 0);

    // mailArea link.
    mailArea = linkArea(this, twips(240, 1560, 3015, 615), "mailArea");
    mailArea->setAccessibleName(QStringLiteral("Écrire à ") + QString::fromUtf8(kMailAddress));
    mailImage = picture(mailArea, twips(120, 120, 480, 480), "mailImage", mailIcon().pixmap(32, 32));
    mailImage->setAccessibleName(QStringLiteral("Courriel"));
    mailLink = link(mailArea, twips(720, 240, 2175, 255), "mailLink", QString::fromUtf8(kMailAddress));

    // Web link; the picture is disabled so the pointer and clicks over it reach the frame.
    webArea = linkArea(this, twips(0, 2280, 3615, 615), "webArea");
    webArea->setAccessibleName(QStringLiteral("Site web ") + QString::fromUtf8(kWebAddress));
    webImage = picture(webArea, twips(120, 0, 1095, 495), "webImage", webBanner());
    webImage->setEnabled(false);
    webImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    webImage->setAccessibleName(QStringLiteral("Site web"));
    webLink = link(webArea, twips(1320, 120, 2295, 255), "webLink", QString::fromUtf8(kWebAddress));

    for (QLabel *l : {mailLink, webLink}) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, linkGreen);
        l->setPalette(pal);
    }

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(twips(1200, 3000, 975, 375));
    okButton->setAccessibleName(QStringLiteral("OK"));
    connect(okButton, &QPushButton::clicked, this, &AboutWindow::onOkClicked);
    setDefaultButton(okButton);
    // OK has the focus as the window opens; Tab goes on to the mail link, then the web link.
    okButton->setFocus();
    connect(mailLink, &LinkLabel::activated, this, &AboutWindow::openMail);
    connect(webLink, &LinkLabel::activated, this, &AboutWindow::openWebSite);

    for (QObject *o : std::initializer_list<QObject *>{mailArea, mailImage, mailLink, webArea, webLink})
        o->installEventFilter(this);
}

void AboutWindow::onOkClicked()
{
    close();
}

void AboutWindow::openMail()
{
    // Unescaped on purpose: the subject's blanks are handed over as blanks.
    m_desktop.openLink(QStringLiteral("mailto:") + QString::fromUtf8(kMailAddress) + QStringLiteral("?Subject=")
                       + QString::fromUtf8(kMailSubject));
}

void AboutWindow::openWebSite()
{
    m_desktop.openLink(QString::fromUtf8(kWebAddress));
}

void AboutWindow::onSurfaceHovered()
{
    setUnderline(mailLink, false);
    setUnderline(webLink, false);
}

void AboutWindow::onMailAreaHovered()
{
    setUnderline(mailLink, true);
}

void AboutWindow::onWebAreaHovered()
{
    setUnderline(webLink, true);
}

void AboutWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Only the window's own surface: a move that climbed up from a control (a drag that
    // started on a frame, say) is not one.
    if (!childAt(event->position().toPoint()))
        onSurfaceHovered();
    event->accept();
}

void AboutWindow::clicked(QObject *control)
{
    if (control == mailArea || control == mailLink || control == mailImage)
        openMail();
    else if (control == webArea || control == webLink)
        openWebSite();
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Every mouse event of the link controls ends here: left to itself a label or a picture
    // would pass it up to its frame, and the frame to the window surface.
    switch (event->type()) {
    case QEvent::MouseMove:
        if (watched == mailArea)
            onMailAreaHovered();
        else if (watched == webArea)
            onWebAreaHovered();
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
        const bool click =
            me->button() == Qt::LeftButton && m_pressed == watched && w->rect().contains(me->position().toPoint());
        m_pressed = nullptr;
        if (click)
            clicked(watched);
        event->accept();
        return true;
    }
    case QEvent::MouseButtonDblClick: event->accept(); return true;
    default: return QWidget::eventFilter(watched, event);
    }
}

} // namespace orv
