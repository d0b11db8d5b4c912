#include "Texts.h"

namespace orv {

QString decimalText(qint64 value)
{
    return QString::number(value);
}

QString pattern000(qint64 value)
{
    // The magnitude in unsigned arithmetic: -value overflows for the smallest qint64.
    const quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    const QString digits = QString::number(magnitude).rightJustified(3, u'0');
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString printStyle(qint64 value)
{
    return (value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value))
        + QLatin1Char(' ');
}

QString dateText(const QDateTime &t)
{
    return t.date().toString(QStringLiteral("MM-dd-yyyy"));
}

QString timeText(const QDateTime &t)
{
    return t.time().toString(QStringLiteral("HH:mm:ss"));
}

QByteArray recordingHeader()
{
    // The degree sign is the single Windows-1252 byte 0xB0.
    return QByteArrayLiteral("N\xB0Record;Valeur1;Valeur2;Date;Time\r\n");
}

namespace {
void appendValue(QByteArray &out, const SlotValue &v)
{
    if (!holdsNothing(v))
        out += QByteArray::number(slotNumber(v));
}
} // namespace

QByteArray recordingLine(int n, const Sample &s)
{
    QByteArray out;
    out.reserve(48);
    out += QByteArray::number(n);
    out += ';';
    appendValue(out, s.value1);
    out += ';';
    appendValue(out, s.value2);
    out += ';';
    out += QByteArray::fromStdString(s.date);
    out += ';';
    out += QByteArray::fromStdString(s.time);
    out += "\r\n";
    return out;
}

} // namespace orv
