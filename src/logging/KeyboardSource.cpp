// SPDX-License-Identifier: GPL-3.0-or-later
#include "logging/KeyboardSource.h"

#include "logging/TestValue.h"

namespace orv {

KeyboardSource::KeyboardSource(const TestValue &testValue)
    : m_testValue(testValue)
{
}

Readings KeyboardSource::poll()
{
    return latest();
}

Readings KeyboardSource::latest() const
{
    return {m_testValue.value(), std::nullopt};
}

} // namespace orv
