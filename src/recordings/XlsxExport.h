// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordings/SampleTable.h"

#include <QString>

namespace orv {

// Writes the samples as an Excel workbook: a summary sheet, then one sheet per recording
// with one row per sample, the date and time as a real date-time cell shown the French way,
// the values as numbers and an empty cell for an empty field. Returns why it failed, in
// French, or an empty text.
QString exportXlsx(const SampleTable &table, const QString &path);

// A spreadsheet's date-time number of a WallSeconds: days since 30-12-1899.
double spreadsheetDate(WallSeconds t);

} // namespace orv
