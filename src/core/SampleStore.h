// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Readings.h"

#include <QLatin1StringView>
#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

class QDate;
class QTime;

namespace orv {

// One sample: the two values (empty when not measured) and its date and time texts.
struct Sample {
    std::optional<qint32> value1;
    std::optional<qint32> value2;
    std::array<char, 10> date{}; // MM-DD-YYYY; zeros until stamped
    std::array<char, 8> time{};  // HH:MM:SS, 24-hour clock

    void setDate(const QDate &d);
    void setTime(const QTime &t);
    QLatin1StringView dateText() const;
    QLatin1StringView timeText() const;
};

// The samples of the current (or last) recording. Slot 0 is the zero sample that the list
// and the chart end with; a recording fills slots 1..Capacity.
class SampleStore {
public:
    static constexpr int Capacity = 32000;

    SampleStore();

    int count() const { return m_count; }
    bool full() const { return m_count >= Capacity; }
    const Sample &at(int index) const { return m_slots.at(static_cast<std::size_t>(index)); }

    // A new recording starts empty; old slots are never shown again.
    void clear() { m_count = 0; }
    // Stores the sample in the next slot and returns its number; the store must not be full.
    int append(const Sample &sample);

private:
    int m_count = 0;
    std::vector<Sample> m_slots;
};

} // namespace orv
