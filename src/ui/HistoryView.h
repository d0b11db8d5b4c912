// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>

namespace orv {

class SampleStore;

// The history list: one line per sample, newest first, the zero sample last. It draws the
// lines in view straight from the store, so a new sample costs one line whatever the count,
// and it keeps no text of its own. The user selects whole lines (click, shift-click, drag,
// Ctrl+A) and copies them (Ctrl+C); assistive tools read the whole list as text.
class HistoryView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit HistoryView(QWidget *parent = nullptr);

    void setStore(const SampleStore *store);
    // Empty until the next show, as at the start of a recording.
    void clear();
    // Shows samples count..0. One new sample goes on top: at the top of the list it comes
    // into view; scrolled away, the lines in view stay in view.
    void showCount(int count);

    int lineCount() const { return m_count + 1; }
    QString line(int row) const; // row 0 is the top line
    // The whole list, CR LF after each line, as it reads on screen.
    QString text() const;
    QString selectedText() const;
    int firstRowInView() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    int lineHeight() const;
    int rowsInView() const;
    int rowAt(int y) const;
    // Moves what is drawn down by `rows` lines (up when negative); the window paints what comes into view.
    void moveLines(int rows);
    void updateScrollRange();
    bool selected(int row) const;

    const SampleStore *m_store = nullptr;
    int m_count = -1; // samples shown; -1 when empty
    // Selection by sample index, which does not move when new lines arrive on top.
    int m_anchor = -1;
    int m_current = -1;
};

} // namespace orv
