// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Readings.h"

#include <QString>

#include <gtest/gtest.h>

// Failures show texts and readings as a reader would see them.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace orv {
inline void PrintTo(const Readings &r, std::ostream *os)
{
    *os << '{' << testing::PrintToString(r.value1) << ", " << testing::PrintToString(r.value2) << '}';
}
} // namespace orv
