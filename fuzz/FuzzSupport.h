// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace orv::fuzz {

[[noreturn]] void fail(const char *what, const QByteArray &detail = {});

inline void require(bool ok, const char *what, const QByteArray &detail = {})
{
    if (!ok)
        fail(what, detail);
}

inline QByteArray show(const QString &text)
{
    return text.toUtf8();
}

} // namespace orv::fuzz
