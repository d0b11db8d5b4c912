// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace orv {

// Breaks a French sentence into lines of about `width` characters for a tooltip, which
// Qt otherwise shows as one line as wide as the text. Breaks only at spaces, never
// before ":", ";", "!" or "?" (French puts a space there); a longer word stays whole.
QString wrapForTooltip(const QString &text, qsizetype width = 60);

} // namespace orv
