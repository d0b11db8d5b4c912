// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Choices.h"
#include "core/SampleStore.h"

#include <QByteArray>

namespace orv {

// A sample on its way to the broker: its number, what it holds and where it comes from, and
// the first sample of its recording, whose date and time name the recording.
struct SampleMessage {
    int number = 0;
    SourceKind source = SourceKind::Board;
    Sample sample;
    Sample first;
};

// The date and time texts of a sample (local time) in ISO 8601 with the offset from UTC of
// that moment: 2026-12-07T14:03:07+01:00.
QByteArray isoDateTime(const Sample &sample);

// The JSON published for a sample; null for an empty field.
QByteArray sampleJson(const SampleMessage &message);

} // namespace orv
