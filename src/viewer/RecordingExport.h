// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordings/RecordingReader.h"

#include <QSize>
#include <QString>

namespace orv {

// The command line's export without a window: reads input whole and writes output, a
// workbook (.xlsx) or the chart of all its samples (.png, .svg) at size. Returns the
// French messages for standard error; failed tells whether nothing was written.
struct ExportOutcome {
    bool failed = false;
    QStringList messages;
};
ExportOutcome exportRecording(RecordingFiles &files, const QString &input, const QString &output, QSize size);

} // namespace orv
