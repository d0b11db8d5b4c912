// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Choices.h"

#include <QString>

namespace orv {

// The user's choices that outlive a run, in the order the settings file stores them.
struct Settings {
    QString recordingFile = QStringLiteral("data_tr.csv"); // a bare name or a full path
    Interval interval = Interval::Second1;
    SourceKind source = SourceKind::Keyboard;
    qint16 windowWidth = 3600; // twips, as the chart toggle last set it

    friend bool operator==(const Settings &, const Settings &) = default;
};

} // namespace orv
