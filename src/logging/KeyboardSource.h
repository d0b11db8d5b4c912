// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logging/TestValue.h"
#include "sources/Source.h"

namespace orv {

// Test mode: value 1 is the value the "+" and "-" keys change, read afresh at every call.
class KeyboardSource final : public Source {
public:
    // Keeps a reference: the keys change the value after the source is made.
    explicit KeyboardSource(const TestValue &testValue);

    void open() override {}
    Readings poll() override;
    Readings latest() const override;
    void close() override {}
    QString problem() const override { return {}; }

private:
    const TestValue &m_testValue;
};

} // namespace orv
