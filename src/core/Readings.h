// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

namespace orv {

// The two values a source gives. An empty one was not measured: the file gets an empty
// field, the list three blanks, the readout "---".
struct Readings {
    std::optional<qint32> value1;
    std::optional<qint32> value2;
    friend bool operator==(const Readings &, const Readings &) = default;
};

} // namespace orv
