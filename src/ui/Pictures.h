// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace orv {

// The program's own pictures, drawn by scripts/make-pictures.py and built into the
// program. Call after QApplication exists.

// Title icon of the About window's title block; also the options window's icon and the
// program's icon (32 x 32 and 16 x 16).
QIcon programIcon();
QPixmap titlePicture();
// The main window's own icon, distinct from the program's.
QIcon mainWindowIcon();
// Envelope of the mail link: 32 x 32 with a 16 x 16 companion.
QIcon mailIcon();
// The 70 x 30 banner of the web link.
QPixmap webBanner();
// Pointing hand over the two link areas, hot spot on the fingertip at (5, 0).
QCursor handCursor();

} // namespace orv
