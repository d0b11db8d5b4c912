#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

namespace orv {

// Layout units: twips, 15 to the pixel at the design resolution.
constexpr int kTwipsPerPixel = 15;
constexpr int px(int twips)
{
    // Round half away from zero so negative positions (a label above its container) map evenly.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
inline QRect twips(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

// The desktop's system colours the layouts name, with the classic desktop values so the
// windows look the same everywhere.
enum class SystemColor {
    InactiveCaption = 3,
    WindowBackground = 5,
    WindowFrame = 6,
    WindowText = 8,
    ActiveBorder = 10,
    InactiveBorder = 11,
    ButtonFace = 15,
    ButtonShadow = 16,
};
QColor systemColor(SystemColor which);

// A font of the layout by its name; missing faces fall back to metric-compatible ones.
QFont layoutFont(const QString &family, double points, bool bold = false);

// Registers the fallbacks for the layout's font names; call once after QApplication.
void installFontSubstitutions();

// The windows' look whatever the desktop: the Fusion style and the layout's fonts or their
// fallbacks. Call once after QApplication.
void useProgramLook();

// Background and text colours of a widget.
void setColors(QWidget *w, const QColor &back, const QColor &text);

} // namespace orv
