#pragma once

#include "SampleStore.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace orv {

// The three ways the program writes a number; they must not be mixed up.
QString decimalText(qint64 value);     // -3, 0, 1234
QString pattern000(qint64 value);      // 007, 1234, -005
QString printStyle(qint64 value);      // " 6 ", "-3 "

QString dateText(const QDateTime &t);  // MM-DD-YYYY
QString timeText(const QDateTime &t);  // HH:MM:SS, 24-hour clock

// Recording file: header and sample lines, CR LF included, in Windows-1252.
QByteArray recordingHeader();
QByteArray recordingLine(int n, const Sample &s);

} // namespace orv
