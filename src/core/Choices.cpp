// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Choices.h"

namespace orv {

std::optional<Interval> intervalFromNumber(qint64 number)
{
    if (number < 1 || number > 10)
        return std::nullopt;
    return static_cast<Interval>(number);
}

std::optional<SourceKind> sourceFromNumber(qint64 number)
{
    if (number < 0 || number > 2)
        return std::nullopt;
    return static_cast<SourceKind>(number);
}

SamplingPlan samplingPlan(Interval interval)
{
    // Up to a minute the timer runs at the interval itself; beyond, it ticks every
    // minute and a sample is taken every so many minutes.
    switch (interval) {
    case Interval::Second1: return {1000, 1};
    case Interval::Seconds10: return {10000, 1};
    case Interval::Minute1: return {60000, 1};
    case Interval::Minutes15: return {60000, 15};
    case Interval::Minutes30: return {60000, 30};
    case Interval::Hour1: return {60000, 60};
    case Interval::Hours3: return {60000, 180};
    case Interval::Hours6: return {60000, 360};
    case Interval::Hours12: return {60000, 720};
    case Interval::Hours24: return {60000, 1440};
    }
    return {1000, 1};
}

} // namespace orv
