// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv::fuzz {

// One input each, as libFuzzer hands it. A broken promise of the code under test is
// reported on stderr and ends the process with abort(), which the fuzzer and the
// regression test both count as a failure.
void checkConfig(const std::uint8_t *data, std::size_t size);
void checkRecording(const std::uint8_t *data, std::size_t size);

} // namespace orv::fuzz
