// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SampleStore.h"

#include <QDate>
#include <QTime>

#include <stdexcept>

namespace orv {

namespace {

template <std::size_t N>
void putDigits(std::array<char, N> &out, std::size_t at, int value, int digits)
{
    for (int k = digits - 1; k >= 0; --k) {
        out[at + static_cast<std::size_t>(k)] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

template <std::size_t N>
QLatin1StringView textOf(const std::array<char, N> &chars)
{
    return chars[0] == 0 ? QLatin1StringView() : QLatin1StringView(chars.data(), static_cast<qsizetype>(N));
}

} // namespace

void Sample::setDate(const QDate &d)
{
    putDigits(date, 0, d.month(), 2);
    date[2] = '-';
    putDigits(date, 3, d.day(), 2);
    date[5] = '-';
    putDigits(date, 6, d.year(), 4);
}

void Sample::setTime(const QTime &t)
{
    putDigits(time, 0, t.hour(), 2);
    time[2] = ':';
    putDigits(time, 3, t.minute(), 2);
    time[5] = ':';
    putDigits(time, 6, t.second(), 2);
}

QLatin1StringView Sample::dateText() const
{
    return textOf(date);
}

QLatin1StringView Sample::timeText() const
{
    return textOf(time);
}

SampleStore::SampleStore()
    : m_slots(Capacity + 1)
{
    m_slots[0].value1 = 0;
    m_slots[0].value2 = 0;
}

int SampleStore::append(const Sample &sample)
{
    if (full())
        throw std::logic_error("sample store full");
    m_slots[static_cast<std::size_t>(++m_count)] = sample;
    return m_count;
}

} // namespace orv
