// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ChartWidget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QWheelEvent>

#include <cmath>

namespace orv {

namespace {

// Screen readers hear a chart, with what it shows now.
class ChartAccessible final : public QAccessibleWidget {
public:
    explicit ChartAccessible(QWidget *w)
        : QAccessibleWidget(w, QAccessible::Chart)
    {
    }
};

QAccessibleInterface *chartAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("orv::ChartWidget") && object && object->isWidgetType())
        return new ChartAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

ChartWidget::ChartWidget(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(chartAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("chart"));
    setAccessibleName(QStringLiteral("Graphique de l'enregistrement"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_band = new QRubberBand(QRubberBand::Rectangle, this);
}

std::pair<double, double> ChartWidget::wholeRange() const
{
    if (!m_scene.table)
        return {0, 60};
    return wholeTimeRange(*m_scene.table, m_scene.samples);
}

void ChartWidget::setSamples(const SampleTable *table, const MinMaxIndex *index, RecordingSpan samples)
{
    const bool sameRun = m_scene.table == table && m_scene.samples.first == samples.first;
    const double span = m_scene.to - m_scene.from;
    m_scene.table = table;
    m_scene.index = index;
    m_scene.samples = samples;
    m_scene.message.clear();
    if (m_scene.cursor >= samples.end() || m_scene.cursor < samples.first)
        m_scene.cursor = -1;
    const auto [from, to] = wholeRange();
    if (!sameRun || m_whole)
        applyRange(from, to);
    else if (m_atEnd)
        applyRange(std::max(from, to - span), to);
    else
        update();
}

void ChartWidget::setMessage(const QString &message)
{
    m_scene.message = message;
    setAccessibleDescription(message);
    update();
}

void ChartWidget::applyRange(double from, double to)
{
    const auto [first, last] = wholeRange();
    const double span = std::clamp(to - from, kMinimumSpan, last - first);
    from = std::clamp(from, first, last - span);
    m_scene.from = from;
    m_scene.to = from + span;
    m_whole = from <= first && m_scene.to >= last;
    m_atEnd = m_scene.to >= last;
    if (m_scene.table && m_scene.samples.count > 0)
        setAccessibleDescription(QStringLiteral("Du %1 au %2")
                                     .arg(frenchDateTime(static_cast<WallSeconds>(m_scene.from)),
                                          frenchDateTime(static_cast<WallSeconds>(m_scene.to))));
    update();
    Q_EMIT viewChanged();
}

void ChartWidget::showWhole()
{
    const auto [from, to] = wholeRange();
    applyRange(from, to);
}

void ChartWidget::showEnd()
{
    const auto [from, to] = wholeRange();
    applyRange(std::max(from, to - (m_scene.to - m_scene.from)), to);
}

void ChartWidget::zoom(double factor, double around)
{
    applyRange(around - (around - m_scene.from) * factor, around + (m_scene.to - around) * factor);
}

void ChartWidget::pan(double seconds)
{
    applyRange(m_scene.from + seconds, m_scene.to + seconds);
}

void ChartWidget::setCursorSample(qsizetype sample)
{
    if (sample == m_scene.cursor)
        return;
    m_scene.cursor = sample;
    update();
    Q_EMIT cursorMoved(sample >= 0 && m_scene.table ? cursorText(*m_scene.table, sample) : QString());
}

double ChartWidget::timeAt(int x) const
{
    const QRect plot = plotArea(size());
    return m_scene.from + (x - plot.left()) * (m_scene.to - m_scene.from) / plot.width();
}

void ChartWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintChart(p, size(), m_scene);
}

void ChartWidget::wheelEvent(QWheelEvent *event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0)
        zoom(std::pow(0.8, steps), timeAt(static_cast<int>(event->position().x())));
    event->accept();
}

void ChartWidget::mousePressEvent(QMouseEvent *event)
{
    m_dragStart = event->position().toPoint();
    m_dragFrom = m_scene.from;
    const bool band = event->button() == Qt::RightButton
                      || (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    m_drag = band ? Drag::Band : event->button() == Qt::LeftButton ? Drag::Pan : Drag::None;
    if (m_drag == Drag::Band) {
        const QRect plot = plotArea(size());
        m_band->setGeometry(QRect(QPoint(m_dragStart.x(), plot.top()), QSize(1, plot.height())));
        m_band->show();
    } else if (m_drag == Drag::Pan) {
        setCursor(Qt::ClosedHandCursor);
    }
}

void ChartWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (m_drag == Drag::Pan) {
        const double perPixel = (m_scene.to - m_scene.from) / plotArea(size()).width();
        const double span = m_scene.to - m_scene.from;
        applyRange(m_dragFrom - (at.x() - m_dragStart.x()) * perPixel,
                   m_dragFrom - (at.x() - m_dragStart.x()) * perPixel + span);
    } else if (m_drag == Drag::Band) {
        const QRect plot = plotArea(size());
        m_band->setGeometry(QRect(QPoint(std::min(at.x(), m_dragStart.x()), plot.top()),
                                  QSize(std::abs(at.x() - m_dragStart.x()) + 1, plot.height())));
    }
    if (m_scene.table && plotArea(size()).contains(at))
        setCursorSample(nearestSample(*m_scene.table, m_scene.samples, timeAt(at.x())));
}

void ChartWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag == Drag::Band) {
        m_band->hide();
        const int x = event->position().toPoint().x();
        if (std::abs(x - m_dragStart.x()) >= 4)
            applyRange(timeAt(std::min(x, m_dragStart.x())), timeAt(std::max(x, m_dragStart.x())));
    }
    m_drag = Drag::None;
    unsetCursor();
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent *)
{
    showWhole();
}

void ChartWidget::leaveEvent(QEvent *)
{
    setCursorSample(-1);
}

void ChartWidget::keyPressEvent(QKeyEvent *event)
{
    const double span = m_scene.to - m_scene.from;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomIn(); break;
    case Qt::Key_Minus: zoomOut(); break;
    case Qt::Key_Left: pan(-span / 10); break;
    case Qt::Key_Right: pan(span / 10); break;
    case Qt::Key_PageUp: pan(-span); break;
    case Qt::Key_PageDown: pan(span); break;
    case Qt::Key_Home: showWhole(); break;
    case Qt::Key_End: showEnd(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

} // namespace orv
