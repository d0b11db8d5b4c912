// libFuzzer entry: the serial frame path, bytes in, readings out.
#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    orv::fuzz::checkSerial(data, size);
    return 0;
}
