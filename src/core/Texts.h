// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SampleStore.h"

#include <QByteArray>
#include <QString>

namespace orv {

// The three ways the program writes a number; they must not be mixed up.
QString decimalText(qint64 value); // readout and file: -3, 0, 1234
QString zeroPadded3(qint64 value); // history list: 007, 1234, -005
QString scaleLabel(qint64 value);  // scale marks: " 6 ", "-3 "

// A message fragment ("le disque est plein") as a sentence on its own: capital, full stop.
QString asSentence(const QString &text);

// Recording file: header and sample lines, CR LF included, in Windows-1252.
QByteArray recordingHeader();
QByteArray recordingLine(int number, const Sample &sample);

} // namespace orv
