// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <sys/types.h>

namespace orv {

// A folder of this user's own that nobody else can write into: no planted links, locks or
// notes of others. For the last-resort rescue folder and the instance lock.
struct PrivateFolder {
    QString path;    // empty when there is none
    QString problem; // then why, in French
};
// parent/name, made 0700 when create is set and it is missing; refused when it is not a
// folder, belongs to someone else, or others may write into it.
PrivateFolder privateFolder(const QString &parent, const QString &name, uid_t uid, bool create);
// The user's own folder in the temporary folder: <tempRoot>/orvalin-<uid>.
PrivateFolder privateTempFolder(const QString &tempRoot, uid_t uid);

} // namespace orv
