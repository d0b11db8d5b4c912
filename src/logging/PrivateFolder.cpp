// SPDX-License-Identifier: GPL-3.0-or-later
#include "logging/PrivateFolder.h"

#include "core/FileNames.h"
#include "core/FileSystem.h"

#include <cerrno>
#include <sys/stat.h>

namespace orv {

PrivateFolder privateFolder(const QString &parent, const QString &name, uid_t uid, bool create)
{
    const QString path = parent + QLatin1Char('/') + name;
    const QByteArray bytes = encodeFileName(path);
    const QString shown = displayableName(path);
    if (create && ::mkdir(bytes.constData(), 0700) != 0 && errno != EEXIST)
        return {{}, QStringLiteral("le dossier %1 ne peut pas être créé : %2").arg(shown, fileErrorReason(errno))};
    struct stat st {};
    if (::lstat(bytes.constData(), &st) != 0)
        return {{}, QStringLiteral("le dossier %1 n'existe pas").arg(shown)};
    if (!S_ISDIR(st.st_mode))
        return {{}, QStringLiteral("%1 n'est pas un dossier").arg(shown)};
    if (st.st_uid != uid)
        return {{}, QStringLiteral("le dossier %1 appartient à un autre utilisateur").arg(shown)};
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return {{}, QStringLiteral("d'autres utilisateurs peuvent écrire dans le dossier %1").arg(shown)};
    return {path, {}};
}

PrivateFolder privateTempFolder(const QString &tempRoot, uid_t uid)
{
    return privateFolder(tempRoot, QStringLiteral("orvalin-%1").arg(uid), uid, true);
}

} // namespace orv
