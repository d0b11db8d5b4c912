// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/RecordingWriter.h"
#include "core/RescueFiles.h"

#include <QList>
#include <QString>

#include <optional>

namespace orv {

// What the main window tells of the session, in French.

// The question before quitting, with the lines shown as not yet written (per file: how many,
// and why when they wait after a failure) and where they would go: the rescue folder seen to
// take a file, none (and why), or not known yet (nullopt).
QString quitQuestion(const QList<RecordingWriter::Waiting> &unconfirmed, const std::optional<FolderCheck> &rescue);

// The notice over the history list while lines wait, and its tooltip naming each file;
// both empty when nothing waits.
struct WaitingNotice {
    QString text;
    QString detail;
};
WaitingNotice waitingNotice(const QList<RecordingWriter::Waiting> &waiting);

// The recording stopped at the last slot of the store; `waitingLines` still wait.
QString storeFullNotice(int waitingLines);

} // namespace orv
