#pragma once

#include <QtGlobal>

#include <array>
#include <string>
#include <variant>
#include <vector>

namespace orv {

// A value slot holds nothing (never written, or the source did not answer),
// a 16-bit test value or a 32-bit reading.
using SlotValue = std::variant<std::monostate, qint16, qint32>;

inline bool holdsNothing(const SlotValue &v) { return std::holds_alternative<std::monostate>(v); }
// The integer held, widened; meaningless for an empty slot.
qint64 slotNumber(const SlotValue &v);

struct Sample {
    SlotValue value1;
    SlotValue value2;
    std::string date; // MM-DD-YYYY, empty until written
    std::string time; // HH:MM:SS, empty until written
};

// Samples of the current (or last) recording. Slot 0 is the zero sample; recordings
// use slots 1..Capacity. Slots are never cleared, a new recording overwrites them.
class SampleStore {
public:
    static constexpr int Capacity = 32000;

    SampleStore() : m_slots(Capacity + 1) {}

    qint16 count() const { return m_count; }
    void setCount(qint16 count) { m_count = count; }
    bool full() const { return m_count >= Capacity; }

    Sample &slot(int index) { return m_slots.at(static_cast<std::size_t>(index)); }
    const Sample &slot(int index) const { return m_slots.at(static_cast<std::size_t>(index)); }

private:
    qint16 m_count = 0;
    std::vector<Sample> m_slots;
};

} // namespace orv
