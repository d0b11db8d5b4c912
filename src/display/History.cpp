// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/History.h"

#include "core/Texts.h"

namespace orv {

namespace {

QString valueCell(const std::optional<qint32> &v)
{
    return v ? zeroPadded3(*v) : QStringLiteral("   ");
}

} // namespace

QString historyLine(const Sample &s)
{
    QString line;
    line.reserve(48);
    line += QLatin1Char(' ');
    line += valueCell(s.value1);
    line += QLatin1String(" -- ");
    line += valueCell(s.value2);
    line += QLatin1String(" --- ");
    line += s.dateText();
    line += QLatin1String(" -- ");
    line += s.timeText();
    return line;
}

} // namespace orv
