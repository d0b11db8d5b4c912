#include "sources/SerialPort.h"

#include <QList>

namespace orv {

std::optional<LineSettings> parseLineSettings(QStringView text)
{
    const QList<QStringView> parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;

    LineSettings s;
    bool ok = false;
    s.baud = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baud <= 0)
        return std::nullopt;

    const QStringView parity = parts[1].trimmed();
    if (parity.size() != 1)
        return std::nullopt;
    switch (parity.front().toLower().unicode()) {
    case u'n': s.parity = SerialParity::None; break;
    case u'e': s.parity = SerialParity::Even; break;
    case u'o': s.parity = SerialParity::Odd; break;
    case u'm': s.parity = SerialParity::Mark; break;
    case u's': s.parity = SerialParity::Space; break;
    default: return std::nullopt;
    }

    s.dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        return std::nullopt;

    const QStringView stop = parts[3].trimmed();
    if (stop == u"1")
        s.stopBits = SerialStopBits::One;
    else if (stop == u"1.5")
        s.stopBits = SerialStopBits::OneAndHalf;
    else if (stop == u"2")
        s.stopBits = SerialStopBits::Two;
    else
        return std::nullopt;
    return s;
}

} // namespace orv
