// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace orv {

class SampleStore;

// The main window's chart: value 1 of the recording's first samples, green on black, in a
// sunken 2-pixel edge. It draws straight from the store at each paint.
class TraceChart : public QWidget {
    Q_OBJECT
public:
    explicit TraceChart(QWidget *parent);

    void setStore(const SampleStore *store) { m_store = store; }
    // Empty until the next show, as at the start of a recording.
    void clear();
    // Shows the samples up to `count`; once they reach beyond the right edge, a new one
    // changes nothing visible and costs nothing.
    void showCount(int count);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    const SampleStore *m_store = nullptr;
    bool m_shown = false;
};

} // namespace orv
