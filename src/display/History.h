// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SampleStore.h"

#include <QString>

namespace orv {

// One history line without its line end: " 007 -- 128 --- 12-05-2026 -- 14:03:13".
// A value that was not measured shows three blanks, so columns stay aligned.
QString historyLine(const Sample &s);

} // namespace orv
