// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "viewer/ChartPainter.h"

#include <QPoint>
#include <QWidget>

class QRubberBand;

namespace orv {

// The chart of a viewer: zoom with the wheel, the keys + and - or a band drawn with the
// right button (or Shift and the left one), pan by dragging or with the arrows, back to the
// whole view by a double click or Home; a cursor reads the sample nearest the pointer.
// While the view reaches the end of the samples it stays there as they grow.
class ChartWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr double kMinimumSpan = 10; // seconds across the plot, zoomed in fully

    explicit ChartWidget(QWidget *parent = nullptr);

    // New or grown samples. The view stays where the user put it, follows the end when it
    // showed the end, and shows everything when it did.
    void setSamples(const SampleTable *table, const MinMaxIndex *index, RecordingSpan samples);
    void setMessage(const QString &message);
    const ChartScene &scene() const { return m_scene; }
    bool followsEnd() const { return m_atEnd; }

    void showWhole();
    void showEnd();
    void zoom(double factor, double around); // factor < 1 zooms in
    void zoomIn() { zoom(0.5, (m_scene.from + m_scene.to) / 2); }
    void zoomOut() { zoom(2, (m_scene.from + m_scene.to) / 2); }
    void pan(double seconds);
    void setCursorSample(qsizetype sample);

Q_SIGNALS:
    void viewChanged();
    void cursorMoved(const QString &text);

protected:
    void paintEvent(QPaintEvent *) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    std::pair<double, double> wholeRange() const;
    double timeAt(int x) const;
    void applyRange(double from, double to);

    ChartScene m_scene;
    bool m_whole = true;
    bool m_atEnd = true;
    enum class Drag { None, Pan, Band } m_drag = Drag::None;
    QPoint m_dragStart;
    double m_dragFrom = 0;
    QRubberBand *m_band = nullptr;
};

} // namespace orv
