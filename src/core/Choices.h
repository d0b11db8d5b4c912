// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

namespace orv {

// The ten sampling intervals, numbered as the settings file stores them.
enum class Interval : quint8 {
    Second1 = 1,
    Seconds10,
    Minute1,
    Minutes15,
    Minutes30,
    Hour1,
    Hours3,
    Hours6,
    Hours12,
    Hours24,
};

// Where the two values come from, numbered as the settings file stores them.
enum class SourceKind : quint8 {
    Keyboard = 0, // test mode: "+" and "-" change value 1
    Board = 1,    // K8055 USB board, both analog inputs
    Serial = 2,   // device on the first serial port, value 1 only
};

std::optional<Interval> intervalFromNumber(qint64 number);
std::optional<SourceKind> sourceFromNumber(qint64 number);

// How an interval is sampled: a timer of intervalMs, and one sample every ticksPerSample ticks.
struct SamplingPlan {
    int intervalMs = 1000;
    int ticksPerSample = 1;
    friend bool operator==(const SamplingPlan &, const SamplingPlan &) = default;
};

SamplingPlan samplingPlan(Interval interval);

} // namespace orv
