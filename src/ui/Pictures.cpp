// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Pictures.h"

// The resources live in a static library: nothing would pull their object file into the
// program unless something refers to its initializer.
static void initPictures()
{
    Q_INIT_RESOURCE(pictures);
}

namespace orv {

namespace {

QString picture(const char *name)
{
    static const bool loaded = [] {
        initPictures();
        return true;
    }();
    Q_UNUSED(loaded);
    return QStringLiteral(":/pictures/") + QLatin1String(name);
}

QIcon iconOf(const char *large, const char *small)
{
    QIcon icon;
    icon.addFile(picture(large), QSize(32, 32));
    icon.addFile(picture(small), QSize(16, 16));
    return icon;
}

} // namespace

QIcon programIcon()
{
    return iconOf("orvalin-32.png", "orvalin-16.png");
}

QPixmap titlePicture()
{
    return QPixmap(picture("orvalin-32.png"));
}

QIcon mainWindowIcon()
{
    return iconOf("chart-32.png", "chart-16.png");
}

QIcon mailIcon()
{
    return iconOf("mail-32.png", "mail-16.png");
}

QPixmap webBanner()
{
    return QPixmap(picture("web-banner.png"));
}

QCursor handCursor()
{
    return QCursor(QPixmap(picture("hand-cursor.png")), 5, 0);
}

} // namespace orv
