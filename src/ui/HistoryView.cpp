// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HistoryView.h"

#include "core/SampleStore.h"
#include "display/History.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>

#include <algorithm>

namespace orv {

namespace {

constexpr int kMargin = 3; // as a plain text box leaves around its text

// Assistive tools read the list as one read-only multi-line text.
class HistoryAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit HistoryAccessible(HistoryView *view)
        : QAccessibleWidget(view, QAccessible::EditableText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this)
                                               : QAccessibleWidget::interface_cast(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? whole() : QAccessibleWidget::text(t);
    }

    QString text(int start, int end) const override { return whole().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(whole().size()); }
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override
    {
        *start = *end = 0;
        return {};
    }

private:
    QString whole() const { return static_cast<const HistoryView *>(widget())->text(); }
};

// A scroll bar that repaints only when what it shows changes. A list that grows by a line a
// second changes its range at every sample, yet past a few dozen lines the slider keeps
// its size and place to the pixel; repainting it would cost more than the new line.
class QuietScrollBar final : public QScrollBar {
public:
    QuietScrollBar(Qt::Orientation orientation, QWidget *parent)
        : QScrollBar(orientation, parent)
    {
        // The style paints all of it: what lies behind need not be painted again each time.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void sliderChange(SliderChange) override
    {
        if (look() != m_painted)
            update();
    }
    void paintEvent(QPaintEvent *event) override
    {
        m_painted = look();
        QScrollBar::paintEvent(event);
    }

private:
    struct Look {
        QRect slider;
        bool atStart = false, atEnd = false;
        bool operator==(const Look &) const = default;
    };
    Look look() const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
                value() == minimum(), value() == maximum()};
    }
    Look m_painted;
};

QAccessibleInterface *accessibleFor(const QString &key, QObject *object)
{
    if (key == QLatin1String("orv::HistoryView"))
        return new HistoryAccessible(static_cast<HistoryView *>(object));
    return nullptr;
}

} // namespace

HistoryView::HistoryView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    static const bool registered = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(registered);
    setVerticalScrollBar(new QuietScrollBar(Qt::Vertical, this));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setCursor(Qt::IBeamCursor);
}

void HistoryView::setStore(const SampleStore *store)
{
    m_store = store;
}

int HistoryView::lineHeight() const
{
    return fontMetrics().lineSpacing();
}

int HistoryView::rowsInView() const
{
    return std::max(1, (viewport()->height() - 2 * kMargin) / lineHeight());
}

int HistoryView::firstRowInView() const
{
    return verticalScrollBar()->value();
}

int HistoryView::rowAt(int y) const
{
    return firstRowInView() + std::max(0, y - kMargin) / lineHeight();
}

QString HistoryView::line(int row) const
{
    const int index = m_count - row;
    return m_store && index >= 0 && index <= m_count ? historyLine(m_store->at(index)) : QString();
}

QString HistoryView::text() const
{
    QString out;
    for (int row = 0; row < lineCount() && m_count >= 0; ++row)
        out += line(row) + QLatin1String("\r\n");
    return out;
}

QString HistoryView::selectedText() const
{
    QString out;
    for (int row = 0; row < lineCount() && m_count >= 0; ++row)
        if (selected(row))
            out += line(row) + QLatin1String("\r\n");
    return out;
}

bool HistoryView::selected(int row) const
{
    if (m_anchor < 0)
        return false;
    const int index = m_count - row;
    return index >= std::min(m_anchor, m_current) && index <= std::max(m_anchor, m_current);
}

void HistoryView::updateScrollRange()
{
    QScrollBar *bar = verticalScrollBar();
    bar->setPageStep(rowsInView());
    bar->setSingleStep(1);
    bar->setRange(0, std::max(0, lineCount() - rowsInView()));
}

void HistoryView::clear()
{
    m_count = -1;
    m_anchor = m_current = -1;
    const QSignalBlocker still(verticalScrollBar());
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void HistoryView::showCount(int count)
{
    const int added = m_count < 0 ? -1 : count - m_count;
    m_count = count;
    QScrollBar *bar = verticalScrollBar();
    const QSignalBlocker still(bar);
    updateScrollRange();
    if (added < 0 || added > rowsInView()) {
        bar->setValue(0);
        viewport()->update();
    } else if (bar->value() > 0) {
        bar->setValue(bar->value() + added); // the same lines stay in view, nothing to draw
    } else {
        moveLines(added); // only the new lines on top are painted
    }
    if (QAccessible::isActive()) {
        QAccessibleTextInsertEvent event(this, 0, line(0) + QLatin1String("\r\n"));
        QAccessible::updateAccessibility(&event);
    }
}

void HistoryView::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    const int lh = lineHeight();
    const int ascent = fontMetrics().ascent();
    const int first = rowAt(event->rect().top());
    const int last = std::min(lineCount() - 1, rowAt(event->rect().bottom()));
    for (int row = first; row <= last && m_count >= 0; ++row) {
        const int top = kMargin + (row - firstRowInView()) * lh;
        const bool mark = selected(row);
        if (mark)
            p.fillRect(0, top, viewport()->width(), lh, palette().color(QPalette::Highlight));
        p.setPen(palette().color(mark ? QPalette::HighlightedText : QPalette::Text));
        p.drawText(kMargin, top + ascent, line(row));
    }
}

void HistoryView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void HistoryView::scrollContentsBy(int, int dy)
{
    moveLines(dy);
}

void HistoryView::moveLines(int rows)
{
    // The blank margin on top stays where it is: moved with the lines, it would carry the
    // foot of the line above into view, or leave a blank strip inside a line.
    const QRect lines(0, kMargin, viewport()->width(), viewport()->height() - kMargin);
    viewport()->scroll(0, rows * lineHeight(), lines);
}

void HistoryView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_count < 0)
        return;
    const int row = std::min(rowAt(static_cast<int>(event->position().y())), lineCount() - 1);
    m_current = m_count - row;
    if (!(event->modifiers() & Qt::ShiftModifier) || m_anchor < 0)
        m_anchor = m_current;
    viewport()->update();
}

void HistoryView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_anchor < 0)
        return;
    const int row = std::clamp(rowAt(static_cast<int>(event->position().y())), 0, lineCount() - 1);
    m_current = m_count - row;
    viewport()->update();
}

void HistoryView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::SelectAll) && m_count >= 0) {
        m_anchor = 0;
        m_current = m_count;
        viewport()->update();
    } else if (event->matches(QKeySequence::Copy)) {
        if (!selectedText().isEmpty())
            QApplication::clipboard()->setText(selectedText());
    } else {
        // Scrolling keys; the rest (the test keys among them) goes on to the window.
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void HistoryView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateScrollRange();
}

} // namespace orv
