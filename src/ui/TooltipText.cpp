// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TooltipText.h"

#include <QStringList>

namespace orv {

namespace {

bool glued(const QString &word)
{
    static const QString highPunctuation = QStringLiteral(":;!?");
    return word.size() == 1 && highPunctuation.contains(word.front());
}

} // namespace

QString wrapForTooltip(const QString &text, qsizetype width)
{
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QStringList units;
        for (const QString &word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!units.isEmpty() && glued(word))
                units.last() += QLatin1Char(' ') + word;
            else
                units.append(word);
        }
        QString line;
        for (const QString &unit : units) {
            if (!line.isEmpty() && line.size() + 1 + unit.size() > width) {
                lines.append(line);
                line.clear();
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + unit;
        }
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace orv
