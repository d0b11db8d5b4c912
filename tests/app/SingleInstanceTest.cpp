// SPDX-License-Identifier: GPL-3.0-or-later
// One running logger per user, whatever the session, and what a refused start is told.
#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orv;
using Start = SingleInstance::Start;

namespace {

constexpr uid_t kSomeoneElse = 65534;

enum class Folder { Missing, Own, Foreign, OpenToOthers, ForeignLock };

bool make(const QString &path, Folder kind)
{
    const QByteArray name = QFile::encodeName(path);
    if (kind == Folder::Missing)
        return true;
    if (::mkdir(name.constData(), kind == Folder::OpenToOthers ? 0777 : 0700) != 0
        || ::chmod(name.constData(), kind == Folder::OpenToOthers ? 0777 : 0700) != 0)
        return false;
    if (kind == Folder::ForeignLock) {
        const QByteArray lock = name + "/orvalin.lock";
        const int fd = ::open(lock.constData(), O_CREAT | O_WRONLY, 0666);
        return fd >= 0 && ::close(fd) == 0 && ::chown(lock.constData(), kSomeoneElse, kSomeoneElse) == 0;
    }
    return kind != Folder::Foreign || ::chown(name.constData(), kSomeoneElse, kSomeoneElse) == 0;
}

} // namespace

TEST(SingleInstance, OneLockPerUserThatEverySessionFindsAndNobodyElseCanHold)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "planting another user's folders needs root";
    const uid_t uid = ::getuid();
    const struct {
        Folder runtime, temp;
        Start first, cron; // a session with the runtime folder, then one without it (cron, ssh)
        const char *problem;
    } cases[] = {
        {Folder::Own, Folder::Missing, Start::Alone, Start::AnotherRuns, nullptr},
        {Folder::Missing, Folder::Missing, Start::Alone, Start::AnotherRuns, nullptr},
        {Folder::Foreign, Folder::Own, Start::Alone, Start::AnotherRuns, nullptr},
        {Folder::Own, Folder::Foreign, Start::Alone, Start::Unguarded, nullptr},
        {Folder::Own, Folder::ForeignLock, Start::Alone, Start::Unguarded, nullptr},
        {Folder::OpenToOthers, Folder::Foreign, Start::Unguarded, Start::Unguarded,
         "le dossier %1/orvalin-%2 appartient à un autre utilisateur"},
        {Folder::Missing, Folder::OpenToOthers, Start::Unguarded, Start::Unguarded,
         "d'autres utilisateurs peuvent écrire dans le dossier %1/orvalin-%2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.runtime) << ' ' << int(c.temp));
        QTemporaryDir dir;
        const LockRoots roots{dir.filePath("run"), dir.filePath("tmp"), uid};
        ASSERT_TRUE(QDir().mkdir(roots.runtimeRoot) && QDir().mkdir(roots.tempRoot));
        ASSERT_TRUE(make(QStringLiteral("%1/%2").arg(roots.runtimeRoot).arg(uid), c.runtime));
        ASSERT_TRUE(make(QStringLiteral("%1/orvalin-%2").arg(roots.tempRoot).arg(uid), c.temp));
        // Another user's lock in the shared folder, where the lock once was, held.
        const QByteArray shared = QFile::encodeName(roots.tempRoot + "/orvalin.lock");
        const int planted = ::open(shared.constData(), O_CREAT | O_RDWR, 0666);
        ASSERT_TRUE(planted >= 0 && ::fchown(planted, kSomeoneElse, kSomeoneElse) == 0
                    && ::flock(planted, LOCK_EX) == 0);

        SingleInstance desktop(roots);
        EXPECT_EQ(desktop.acquire(false), c.first);
        const QString problem = c.problem ? QString::fromUtf8(c.problem).arg(roots.tempRoot).arg(uid) : QString();
        EXPECT_TRUE(problem.isEmpty() ? desktop.problem().isEmpty() : desktop.problem().contains(problem))
            << desktop.problem().toStdString();
        EXPECT_EQ(SingleInstance(roots).acquire(false), c.first == Start::Alone ? Start::AnotherRuns : c.first);
        EXPECT_EQ(SingleInstance({dir.filePath("none"), roots.tempRoot, uid}).acquire(true), c.cron);
        struct stat st {};
        const QByteArray temp = QFile::encodeName(QStringLiteral("%1/orvalin-%2").arg(roots.tempRoot).arg(uid));
        EXPECT_TRUE(c.temp != Folder::Missing || (::stat(temp.constData(), &st) == 0 && (st.st_mode & 0777) == 0700));
        ::close(planted);
    }
}

TEST(SingleInstance, AWindowRefusedByAnUnattendedRecordingIsToldWhatRunsAndHowToStopIt)
{
    QTemporaryDir dir;
    const LockRoots roots{dir.filePath("run"), dir.path(), ::getuid()};
    const QDateTime since(QDate(2026, 5, 12), QTime(14, 3, 7));
    const struct {
        InstanceInfo holder;
        const char *notice, *refusal;
    } cases[] = {
        // A second window ends silently.
        {{false, 4242, since, "/home/léa/data_tr.csv", {}, true},
         "",
         "une autre instance est déjà lancée : la fenêtre d'Orvalin (processus n° 4242)"},
        {{true, 4242, since, "/home/léa/serre\x1b[2J.csv", {}, true},
         "Un enregistrement sans fenêtre est en cours depuis le 12/05/2026 à 14:03, dans le fichier :\n"
         "/home/léa/serre\\x1b[2J.csv\n\nUne seule copie d'Orvalin peut fonctionner à la fois. Pour ouvrir la "
         "fenêtre, arrêtez d'abord cet enregistrement (processus n° 4242) avec la commande :\nkill 4242",
         "une autre instance est déjà lancée : un enregistrement sans fenêtre dans /home/léa/serre\\x1b[2J.csv "
         "depuis le 12/05/2026 à 14:03 (processus n° 4242 ; pour l'arrêter : kill 4242)"},
        {{true, 4242, {}, {}, "orvalin-headless", true},
         "Un enregistrement sans fenêtre est en cours.\n\nUne seule copie d'Orvalin peut fonctionner à la fois. "
         "Pour ouvrir la fenêtre, arrêtez d'abord cet enregistrement avec la commande :\n"
         "systemctl --user stop orvalin-headless",
         "une autre instance est déjà lancée : un enregistrement sans fenêtre (processus n° 4242 ; pour l'arrêter "
         ": systemctl --user stop orvalin-headless)"},
    };
    for (const auto &c : cases) {
        SingleInstance holder(roots);
        ASSERT_EQ(holder.acquire(c.holder.headless), Start::Alone);
        SingleInstance refused(roots);
        ASSERT_EQ(refused.acquire(false), Start::AnotherRuns);
        ASSERT_TRUE(refused.other()) << "described from the start";
        holder.describe(c.holder);
        EXPECT_EQ(otherInstanceNotice(*refused.other()), QString::fromUtf8(c.notice));
        EXPECT_EQ(otherInstanceRefusal(refused.other()), QString::fromUtf8(c.refusal));
    }
}
