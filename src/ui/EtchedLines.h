// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QGroupBox>
#include <QWidget>

namespace orv {

// A frame with a caption, drawn as an etched line with the caption set into its top edge,
// so controls placed just under the caption stay clear of the line.
class CaptionFrame : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *) override;
};

// A straight line of the layout, one pixel wide; two side by side, dark and light, make an
// etched line.
class PlainLine : public QWidget {
    Q_OBJECT
public:
    PlainLine(QWidget *parent, QPoint fromTwips, QPoint toTwips, const QColor &color);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor m_color;
};

} // namespace orv
