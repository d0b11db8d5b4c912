// SPDX-License-Identifier: GPL-3.0-or-later
#include "logging/SessionTexts.h"

#include "core/FileNames.h"
#include "core/FileSystem.h"

#include <QDir>

namespace orv {

namespace {

QString home(const QString &path)
{
    const QString h = QDir::homePath();
    return path.startsWith(h + QLatin1Char('/')) ? QLatin1Char('~') + path.mid(h.size()) : path;
}

} // namespace

QString quitQuestion(const QList<RecordingWriter::Waiting> &unconfirmed, const std::optional<FolderCheck> &rescue)
{
    QString text = QStringLiteral("Arrêter l'orvalin et quitter ?");
    if (unconfirmed.isEmpty())
        return text;
    text += QStringLiteral("\n");
    for (const RecordingWriter::Waiting &w : unconfirmed) {
        if (w.reason.isEmpty())
            text += QStringLiteral("\n%1 mesure(s) sont en cours d'écriture dans « %2 » (le disque est lent).")
                        .arg(w.lines)
                        .arg(displayableName(w.file));
        else
            text += QStringLiteral("\n%1 mesure(s) attendent encore d'être écrites dans « %2 » (%3).")
                        .arg(w.lines)
                        .arg(displayableName(w.file), w.reason);
    }
    // Where they will go is said only once a folder was seen to take a file; nothing is
    // promised before.
    if (!rescue)
        text += QStringLiteral("\nSi elles ne peuvent toujours pas l'être, un fichier de secours les gardera, pourvu "
                               "qu'un dossier puisse le recevoir (recherche en cours…).");
    else if (rescue->folder.isEmpty())
        text += QStringLiteral("\nAucun dossier ne peut recevoir de fichier de secours (%1) : si elles ne peuvent "
                               "pas être écrites d'ici la fin, elles seront perdues.")
                    .arg(fileErrorReason(rescue->error));
    else
        text += QStringLiteral("\nSi elles ne peuvent toujours pas l'être, elles seront gardées dans un fichier de "
                               "secours du dossier « %1 ».")
                    .arg(displayableName(home(rescue->folder)));
    return text;
}

WaitingNotice waitingNotice(const QList<RecordingWriter::Waiting> &waiting)
{
    if (waiting.isEmpty())
        return {};
    int lines = 0;
    QStringList detail;
    for (const RecordingWriter::Waiting &w : waiting) {
        lines += w.lines;
        detail << QStringLiteral("« %1 » : %2 ; %3 mesure(s) en attente.")
                      .arg(displayableName(w.file), w.reason)
                      .arg(w.lines);
    }
    return {
        QStringLiteral("Écriture impossible : %1\n%2 mesure(s) en attente").arg(waiting.constFirst().reason).arg(lines),
        detail.join(QLatin1Char('\n'))
            + QStringLiteral("\nLes mesures attendent en mémoire et seront écrites dès que possible.")};
}

QString storeFullNotice(int waitingLines)
{
    return QStringLiteral("La mémoire de l'enregistrement est pleine (32000 mesures) : l'enregistrement est arrêté.\n")
           + (waitingLines == 0 ? QStringLiteral("Les mesures sont dans le fichier ; relancez « Record » pour un "
                                                 "nouvel enregistrement.")
                                : QStringLiteral("%1 mesure(s) attendent encore d'être écrites dans le fichier ; elles "
                                                 "le seront dès que possible.")
                                      .arg(waitingLines));
}

} // namespace orv
