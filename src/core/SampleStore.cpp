#include "SampleStore.h"

namespace orv {

qint64 slotNumber(const SlotValue &v)
{
    if (const auto *s = std::get_if<qint16>(&v))
        return *s;
    if (const auto *l = std::get_if<qint32>(&v))
        return *l;
    return 0;
}

} // namespace orv
