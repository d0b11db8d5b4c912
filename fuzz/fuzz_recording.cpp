// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry: the recording file reader.
#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    orv::fuzz::checkRecording(data, size);
    return 0;
}
