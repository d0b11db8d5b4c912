// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/ChartToggle.h"

#include "display/Twips.h"

namespace orv {

QString titleText(bool chartShown, const QString &recordingFileName)
{
    if (chartShown)
        return QStringLiteral("Orvalin Temps Réel") + QString(21, u' ') + QStringLiteral("Fichier en cours : ")
               + recordingFileName.right(20);
    return QStringLiteral("Orv.TR : ") + recordingFileName.right(15);
}

ToggleResult chartToggle(int currentWidthTwips)
{
    if (currentWidthTwips > kWideThreshold)
        return {kNarrowWidth, false};
    return {kWideWidth, true};
}

int windowWidthTwips(int clientWidthPixels)
{
    return clientWidthPixels * kTwipsPerPixel + kFrameAllowance;
}

int clientWidthPixels(int windowWidthTwips)
{
    return px(windowWidthTwips - kFrameAllowance);
}

} // namespace orv
