#pragma once

#include "display/PictureSurface.h"

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <functional>

namespace orv {

// A drawing box: an optional sunken 2-pixel border around a drawing area. With retained
// drawing on it shows its surface; otherwise it shows its background and whatever the
// repaint hook draws from the data at each paint.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(QWidget *parent, bool sunkenBorder);

    QRect drawingArea() const;
    PictureSurface &surface() { return m_surface; }

    void setAutoRedraw(bool on);
    bool autoRedraw() const { return m_autoRedraw; }
    void setBackColor(const QColor &c);
    QColor backColor() const { return m_back; }
    void setForeColor(const QColor &c);
    QColor foreColor() const { return m_fore; }

    // Draws in drawing-area pixels; used while retained drawing is off.
    std::function<void(QPainter &, QSize)> repaintHook;

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;

private:
    bool m_sunken;
    bool m_autoRedraw = false;
    QColor m_back;
    QColor m_fore;
    PictureSurface m_surface;
};

// A circle shape of the recording indicator, with the look properties of a shape control.
class Shape : public QWidget {
    Q_OBJECT
public:
    explicit Shape(QWidget *parent);

    bool backOpaque = false;
    QColor backColor = Qt::white;
    bool borderSolid = true;
    QColor borderColor = Qt::black;
    int borderWidth = 1;
    bool fillSolid = false;
    QColor fillColor = Qt::black;

protected:
    void paintEvent(QPaintEvent *) override;
};

// A push button whose caption wraps onto several lines when it is wider than the button.
class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *) override;
};

// A straight line of the layout, drawn one pixel wide.
class LineShape : public QWidget {
    Q_OBJECT
public:
    LineShape(QWidget *parent, QPoint fromTwips, QPoint toTwips, const QColor &color);
    QColor color;

protected:
    void paintEvent(QPaintEvent *) override;
};

// A frame with a caption, drawn as an etched line with the caption set into its top edge,
// so controls placed just under the caption stay clear of the line.
class CaptionFrame : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *) override;
};

// An option button whose caption wraps beside its indicator when one line does not fit.
class WrapRadioButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent *) override;
};

// A small window of its own that assistive tools know as a dialog: Enter presses its
// default button, Escape closes it as its close box does.
class DialogWindow : public QWidget {
    Q_OBJECT
public:
    DialogWindow(QWidget *parent, Qt::WindowFlags flags);

    void setDefaultButton(QPushButton *button);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPointer<QPushButton> m_defaultButton;
};

// The text of a link: reached with Tab, opened with Enter or Space, and a link with its
// text as name to assistive tools. The mouse is its owner's business.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString &text, QWidget *parent);

Q_SIGNALS:
    void activated();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace orv
