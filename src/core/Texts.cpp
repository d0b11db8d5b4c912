// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Texts.h"

namespace orv {

QString decimalText(qint64 value)
{
    return QString::number(value);
}

QString zeroPadded3(qint64 value)
{
    // The magnitude in unsigned arithmetic: -value overflows for the smallest qint64.
    const quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    const QString digits = QString::number(magnitude).rightJustified(3, u'0');
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString scaleLabel(qint64 value)
{
    return (value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value)) + QLatin1Char(' ');
}

QByteArray recordingHeader()
{
    // The degree sign is the single Windows-1252 byte 0xB0.
    return QByteArrayLiteral("N\xB0Record;Valeur1;Valeur2;Date;Time\r\n");
}

QString asSentence(const QString &text)
{
    return text.left(1).toUpper() + text.mid(1) + QLatin1Char('.');
}

QByteArray recordingLine(int number, const Sample &sample)
{
    QByteArray out;
    out.reserve(48);
    out += QByteArray::number(number);
    out += ';';
    if (sample.value1)
        out += QByteArray::number(*sample.value1);
    out += ';';
    if (sample.value2)
        out += QByteArray::number(*sample.value2);
    out += ';';
    out += sample.dateText();
    out += ';';
    out += sample.timeText();
    out += "\r\n";
    return out;
}

} // namespace orv
