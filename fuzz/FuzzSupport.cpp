// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

namespace orv::fuzz {

void fail(const char *what, const QByteArray &detail)
{
    std::fprintf(stderr, "broken promise: %s\n", what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.toPercentEncoding(" ;:,-_\"'()/.").constData());
    std::fflush(stderr);
    std::abort();
}

} // namespace orv::fuzz
