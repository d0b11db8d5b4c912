// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace orv::fuzz {

[[noreturn]] void fail(const char *what, const QByteArray &detail = {});

inline void require(bool ok, const char *what, const QByteArray &detail = {})
{
    if (!ok)
        fail(what, detail);
}

} // namespace orv::fuzz
