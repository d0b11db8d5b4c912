// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <limits>

namespace orv {

// The value the "+" and "-" keys change in test mode; it stays within 16 bits, a key
// that would leave them does nothing.
class TestValue {
public:
    qint16 value() const { return m_value; }
    void increase()
    {
        if (m_value < std::numeric_limits<qint16>::max())
            ++m_value;
    }
    void decrease()
    {
        if (m_value > std::numeric_limits<qint16>::min())
            --m_value;
    }
    void reset() { m_value = 0; }

private:
    qint16 m_value = 0;
};

} // namespace orv
