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

QString historyText(const SampleStore &store)
{
    QString text;
    text.reserve((store.count() + 1) * 42);
    for (int i = store.count(); i >= 0; --i) {
        text += historyLine(store.at(i));
        text += QLatin1String("\r\n");
    }
    return text;
}

} // namespace orv
