// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace orv {

// The colours of the look, those of the classic desktop, so the windows look the same
// everywhere.
inline const QColor kFaceColor{212, 208, 200};   // windows, frames, scales
inline const QColor kShadowColor{128, 128, 128}; // the dark side of an etched line, greyed text
inline const QColor kLightColor{255, 255, 255};  // the light side of an etched line, text fields
inline const QColor kTextColor{0, 0, 0};

// A font of the layout by its name; missing faces fall back to metric-compatible ones.
QFont layoutFont(const QString &family, double points, bool bold = false);

// The windows' look whatever the desktop: the Fusion style and the layout's fonts or their
// fallbacks. Call once after QApplication.
void useProgramLook();

// Background and text colours of a widget.
void setColors(QWidget *w, const QColor &back, const QColor &text);

} // namespace orv
