#pragma once

// Walks a window's layout table: one row per named control, as the layout gives it.

#include <QAbstractButton>
#include <QColor>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace orv::test {

struct Twips {
    int left, top, width, height;
};

struct Font {
    const char *family = nullptr; // nullptr: the window's default font, not checked
    double points = 0;
    bool bold = false;
};

struct Control {
    const char *name;
    const char *container; // object name of the parent widget
    Twips rect;
    const char *caption = nullptr; // UTF-8; nullptr: the control has none to check
    bool enabled = true;           // as the user sees it, container included
    const char *tooltip = "";
    Font font{};
    Qt::Alignment align{};         // horizontal alignment of a label or text box, when named
    QColor back{};                 // invalid: not named by the layout
    QColor text{};
};

// Nearest pixel at 15 twips per pixel. A twips value never falls half-way between two
// pixels, so there is no tie to break.
inline int pixels(int twips)
{
    return static_cast<int>(std::lround(twips / 15.0));
}

inline QRect pixels(Twips t)
{
    return {pixels(t.left), pixels(t.top), pixels(t.width), pixels(t.height)};
}

// Size in pixels of a font of this many points at the design resolution, 96 dots per inch.
inline int designPixels(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

inline QString captionOf(const QWidget *w)
{
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (auto *g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (auto *p = qobject_cast<const QPlainTextEdit *>(w))
        return p->toPlainText();
    return {};
}

inline Qt::Alignment horizontalAlignment(const QWidget *w)
{
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->alignment() & Qt::AlignHorizontal_Mask;
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->alignment() & Qt::AlignHorizontal_Mask;
    return {};
}

inline QWidget *control(QWidget *window, const char *name)
{
    const auto found = window->findChildren<QWidget *>(QLatin1String(name));
    EXPECT_EQ(found.size(), 1) << "controls named " << name;
    return found.isEmpty() ? nullptr : found.constFirst();
}

inline void expectLayout(QWidget *window, const std::vector<Control> &table)
{
    for (const Control &row : table) {
        SCOPED_TRACE(row.name);
        QWidget *w = control(window, row.name);
        if (!w)
            continue;
        ASSERT_NE(w->parentWidget(), nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), QLatin1String(row.container));
        EXPECT_EQ(w->geometry(), pixels(row.rect));
        if (row.caption) {
            EXPECT_EQ(captionOf(w), QString::fromUtf8(row.caption));
        }
        EXPECT_EQ(w->isEnabled(), row.enabled);
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(row.tooltip));
        if (row.font.family) {
            EXPECT_EQ(w->font().family(), QLatin1String(row.font.family));
            EXPECT_EQ(QFontInfo(w->font()).pixelSize(), designPixels(row.font.points));
            EXPECT_EQ(w->font().bold(), row.font.bold);
        }
        if (row.align) {
            EXPECT_EQ(horizontalAlignment(w), row.align);
        }
        // Text boxes and lists show their text on the field, labels on the widget itself.
        const bool field = qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w);
        if (row.back.isValid()) {
            EXPECT_EQ(w->palette().color(field ? QPalette::Base : w->backgroundRole()), row.back);
        }
        if (row.text.isValid()) {
            EXPECT_EQ(w->palette().color(field ? QPalette::Text : w->foregroundRole()), row.text);
        }
    }
}

// Every control the user acts on must be findable by a screen reader or an automation tool.
inline void expectAccessibleNames(QWidget *window, const std::vector<const char *> &names)
{
    for (const char *name : names) {
        SCOPED_TRACE(name);
        if (QWidget *w = control(window, name)) {
            EXPECT_FALSE(w->accessibleName().trimmed().isEmpty());
        }
    }
    // Whatever the list forgot: buttons, text boxes and lists of any kind (Qt's own
    // helper widgets, named "qt_...", aside).
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)
            || qobject_cast<QPlainTextEdit *>(w)) {
            SCOPED_TRACE(w->objectName().toStdString());
            EXPECT_FALSE(w->accessibleName().trimmed().isEmpty());
        }
    }
}

} // namespace orv::test
