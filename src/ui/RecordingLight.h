// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QWidget>

namespace orv {

// The recording light: a dark red disc with a white highlight; lit, the disc turns bright red
// in a pink halo. It blinks while a recording runs.
class RecordingLight : public QWidget {
    Q_OBJECT
public:
    explicit RecordingLight(QWidget *parent);

    void setLit(bool lit);
    bool isLit() const { return m_lit; }

protected:
    void paintEvent(QPaintEvent *) override;
    void changeEvent(QEvent *event) override;

private:
    void draw(QPainter &p, bool lit) const;

    bool m_lit = false;
    // Each look is drawn once: a blink twice a second then costs one copy of pixels.
    QPixmap m_looks[2];
};

} // namespace orv
