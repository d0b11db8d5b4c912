// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry: the settings file reader.
#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    orv::fuzz::checkConfig(data, size);
    return 0;
}
