#include "ui/Widgets.h"

#include "ui/Look.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace orv {

namespace {

// A link to assistive tools: its text is its name, and pressing it opens it.
class LinkAccessible final : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel *label)
        : QAccessibleWidget(label, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<const LinkLabel *>(widget())->text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            Q_EMIT static_cast<LinkLabel *>(widget())->activated();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *accessibleFor(const QString &key, QObject *object)
{
    // Without this a window of its own is a plain "filler" that a screen reader may not announce.
    if (key == QLatin1String("orv::DialogWindow"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Dialog);
    if (key == QLatin1String("orv::LinkLabel"))
        return new LinkAccessible(static_cast<LinkLabel *>(object));
    return nullptr;
}

void registerAccessibility()
{
    static const bool registered = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace

PictureBox::PictureBox(QWidget *parent, bool sunkenBorder)
    : QWidget(parent)
    , m_sunken(sunkenBorder)
    , m_back(systemColor(SystemColor::ButtonFace))
    , m_fore(systemColor(SystemColor::WindowText))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect PictureBox::drawingArea() const
{
    const int b = m_sunken ? 2 : 0;
    return rect().adjusted(b, b, -b, -b);
}

void PictureBox::setAutoRedraw(bool on)
{
    m_autoRedraw = on;
    update();
}

void PictureBox::setBackColor(const QColor &c)
{
    m_back = c;
    m_surface.setBackColor(c);
    m_surface.clear();
    update();
}

void PictureBox::setForeColor(const QColor &c)
{
    m_fore = c;
    m_surface.setForeColor(c);
}

void PictureBox::resizeEvent(QResizeEvent *)
{
    // The first resize event arrives only when the window is shown, after the load handler
    // has drawn the scales: a surface that already has the right size must keep its drawing.
    if (m_surface.pixelSize() != drawingArea().size())
        m_surface.resize(drawingArea().size());
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect area = drawingArea();
    if (m_sunken) {
        // Classic sunken edge: grey and white outside, black and face colour inside.
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.setPen(systemColor(SystemColor::ButtonShadow));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(Qt::white);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        const QRect in = r.adjusted(1, 1, -1, -1);
        p.setPen(Qt::black);
        p.drawLine(in.topLeft(), in.topRight());
        p.drawLine(in.topLeft(), in.bottomLeft());
        p.setPen(systemColor(SystemColor::ButtonFace));
        p.drawLine(in.bottomLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomRight());
    }
    if (m_autoRedraw) {
        p.drawImage(area.topLeft(), m_surface.image());
        return;
    }
    p.fillRect(area, m_back);
    if (repaintHook) {
        p.save();
        p.translate(area.topLeft());
        p.setClipRect(QRect(QPoint(0, 0), area.size()));
        repaintHook(p, area.size());
        p.restore();
    }
}

Shape::Shape(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int d = qMin(width(), height());
    const QRectF circle((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    if (d <= 3) {
        // A circle this small is its square of pixels, in the colour on top. Smoothed, its
        // edge would blend with what lies beneath: the white highlight of the recording
        // light turned pink.
        const QRect square = circle.toRect();
        if (borderSolid)
            p.fillRect(square, borderColor);
        else if (fillSolid)
            p.fillRect(square, fillColor);
        else if (backOpaque)
            p.fillRect(square, backColor);
        return;
    }
    p.setRenderHint(QPainter::Antialiasing);
    const double inset = borderSolid ? borderWidth / 2.0 : 0.0;
    const QRectF inner = circle.adjusted(inset, inset, -inset, -inset);
    p.setPen(Qt::NoPen);
    if (backOpaque) {
        p.setBrush(backColor);
        p.drawEllipse(inner);
    }
    if (fillSolid) {
        p.setBrush(fillColor);
        p.drawEllipse(inner);
    }
    if (borderSolid) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(borderColor, borderWidth));
        p.drawEllipse(inner);
    }
}

LineShape::LineShape(QWidget *parent, QPoint fromTwips, QPoint toTwips, const QColor &c)
    : QWidget(parent)
    , color(c)
{
    const QPoint a(px(fromTwips.x()), px(fromTwips.y()));
    const QPoint b(px(toTwips.x()), px(toTwips.y()));
    // QRect(a, b) already holds both end points; one more pixel would make the widget two
    // pixels high and slant the line drawn corner to corner.
    setGeometry(QRect(a, b).normalized());
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(color);
    p.drawLine(0, 0, width() - 1, height() - 1);
}

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QFontMetrics fm(font());
    // Etched: a shadow line with a highlight one pixel to the lower right.
    const QRect line = rect().adjusted(0, fm.height() / 2, -2, -2);
    p.setPen(systemColor(SystemColor::ButtonShadow));
    p.drawRect(line);
    p.setPen(systemColor(SystemColor::WindowBackground));
    p.drawRect(line.translated(1, 1));
    if (title().isEmpty())
        return;
    const QRect caption(6, 0, fm.horizontalAdvance(title()) + 4, fm.height());
    p.fillRect(caption, palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, title());
}

DialogWindow::DialogWindow(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    registerAccessibility();
}

void DialogWindow::setDefaultButton(QPushButton *button)
{
    m_defaultButton = button;
    button->setDefault(true);
}

void DialogWindow::keyPressEvent(QKeyEvent *event)
{
    // Keys the focused control left alone: the keypad's Enter comes with its modifier.
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_defaultButton
            && m_defaultButton->isVisible() && m_defaultButton->isEnabled()) {
            m_defaultButton->click();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    registerAccessibility();
    // Tab only: a click keeps doing what it did, without taking the focus.
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: Q_EMIT activated(); break;
    default: QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter p(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    const QRect text = fontMetrics().boundingRect(contentsRect(), static_cast<int>(alignment()), QLabel::text());
    option.rect = text.adjusted(-1, 0, 1, 0) & rect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
}

void WrapRadioButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QRect area = style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, this);
    const QString caption = opt.text;
    opt.text.clear();
    p.drawControl(QStyle::CE_RadioButton, opt);
    p.setPen(opt.palette.color(QPalette::WindowText));
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, caption);
}

} // namespace orv

namespace orv {

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text.trimmed();
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    const QRect area = rect().adjusted(2, 2, -2, -2).translated(isDown() ? QPoint(1, 1) : QPoint());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
}

} // namespace orv
