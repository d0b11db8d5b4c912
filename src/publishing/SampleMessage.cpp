// SPDX-License-Identifier: GPL-3.0-or-later
#include "publishing/SampleMessage.h"

#include <QDateTime>

namespace orv {

namespace {

int digits(QLatin1StringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count && i < text.size(); ++i)
        value = value * 10 + (text[i].toLatin1() - '0');
    return value;
}

void appendTwoDigits(QByteArray &out, int value)
{
    out += char('0' + value / 10);
    out += char('0' + value % 10);
}

const char *sourceName(SourceKind source)
{
    switch (source) {
    case SourceKind::Keyboard: return "test";
    case SourceKind::Board: return "usb";
    case SourceKind::Serial: return "serie";
    }
    return "usb";
}

void appendValue(QByteArray &out, const std::optional<qint32> &value)
{
    if (value)
        out += QByteArray::number(*value);
    else
        out += "null";
}

} // namespace

QByteArray isoDateTime(const Sample &sample)
{
    const QLatin1StringView date = sample.dateText(); // MM-DD-YYYY
    const QLatin1StringView time = sample.timeText(); // HH:MM:SS
    const QDate day(digits(date, 6, 4), digits(date, 0, 2), digits(date, 3, 2));
    const QTime clock(digits(time, 0, 2), digits(time, 3, 2), digits(time, 6, 2));
    // Local time: the offset is the one in force at that moment (summer or winter time).
    const int offset = QDateTime(day, clock).offsetFromUtc();
    QByteArray out = day.toString(Qt::ISODate).toLatin1() + 'T' + clock.toString(Qt::ISODate).toLatin1();
    out += offset < 0 ? '-' : '+';
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    appendTwoDigits(out, minutes / 60);
    out += ':';
    appendTwoDigits(out, minutes % 60);
    return out;
}

QByteArray sampleJson(const SampleMessage &message)
{
    QByteArray out;
    out.reserve(160);
    out += "{\"recording\": \"";
    out += isoDateTime(message.first);
    out += "\", \"n\": ";
    out += QByteArray::number(message.number);
    out += ", \"value1\": ";
    appendValue(out, message.sample.value1);
    out += ", \"value2\": ";
    appendValue(out, message.sample.value2);
    out += ", \"time\": \"";
    out += isoDateTime(message.sample);
    out += "\", \"source\": \"";
    out += sourceName(message.source);
    out += "\"}";
    return out;
}

} // namespace orv
