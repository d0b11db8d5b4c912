// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleInstance.h"

#include "core/FileNames.h"
#include "core/FileSystem.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

LockRoots systemLockRoots()
{
    // Fixed places, not XDG_RUNTIME_DIR nor TMPDIR: a session started by cron or over ssh
    // may have neither, or others, and must still find the lock of the desktop's copy.
    // The test suite runs many programs side by side, each with a root of its own.
    const QString testRoot = qEnvironmentVariable("ORVALIN_LOCK_ROOT");
    if (!testRoot.isEmpty())
        return {testRoot, testRoot, ::getuid()};
    return {QStringLiteral("/run/user"), QStringLiteral("/tmp"), ::getuid()};
}

namespace {

const QString kLockName = QStringLiteral("orvalin.lock");

// The unit when systemd runs this process as a service: it gives each service an
// INVOCATION_ID and a cgroup of its own, named after the unit. The variable alone can
// leak from a desktop into the programs it starts; those live in a ".scope".
void findServiceUnit(InstanceInfo &info)
{
    if (qEnvironmentVariableIsEmpty("INVOCATION_ID"))
        return;
    QFile cgroup(QStringLiteral("/proc/self/cgroup"));
    if (!cgroup.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray &line : cgroup.readAll().split('\n')) {
        const QByteArray path = line.mid(line.lastIndexOf(':') + 1);
        const QByteArray leaf = path.mid(path.lastIndexOf('/') + 1);
        if (leaf.endsWith(".service")) {
            info.serviceUnit = QString::fromUtf8(leaf.chopped(8));
            info.userService = path.contains("/user@");
            return;
        }
    }
}

QString stopCommand(const InstanceInfo &info)
{
    if (info.serviceUnit.isEmpty())
        return QStringLiteral("kill %1").arg(info.pid);
    return QStringLiteral("systemctl %1stop %2")
        .arg(info.userService ? QStringLiteral("--user ") : QString(), displayableName(info.serviceUnit));
}

QString sinceText(const InstanceInfo &info)
{
    if (!info.since.isValid())
        return {};
    return QStringLiteral(" depuis le %1 à %2")
        .arg(info.since.toString(QStringLiteral("dd/MM/yyyy")), info.since.toString(QStringLiteral("HH:mm")));
}

QByteArray encodeInfo(const InstanceInfo &info)
{
    QByteArray text;
    text += QByteArray("mode=") + (info.headless ? "headless" : "window") + '\n';
    text += "pid=" + QByteArray::number(info.pid) + '\n';
    text += "since=" + info.since.toString(Qt::ISODate).toLatin1() + '\n';
    // Percent-encoded bytes: a name may hold line ends and bytes that are not UTF-8.
    text += "file=" + encodeFileName(info.recordingFile).toPercentEncoding() + '\n';
    text += "unit=" + info.serviceUnit.toUtf8().toPercentEncoding() + '\n';
    text += QByteArray("manager=") + (info.userService ? "user" : "system") + '\n';
    text += "end\n"; // a description read while it is rewritten lacks it
    return text;
}

std::optional<InstanceInfo> decodeInfo(const QByteArray &text)
{
    InstanceInfo info;
    bool mode = false;
    for (const QByteArray &line : text.split('\n')) {
        if (line == "end")
            return mode ? std::optional(info) : std::nullopt;
        const qsizetype eq = line.indexOf('=');
        const QByteArray key = line.left(eq);
        const QByteArray value = QByteArray::fromPercentEncoding(line.mid(eq + 1));
        if (key == "mode") {
            mode = true;
            info.headless = value == "headless";
        } else if (key == "pid") {
            info.pid = value.toLongLong();
        } else if (key == "since") {
            info.since = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODate);
        } else if (key == "file") {
            info.recordingFile = decodeFileName(value);
        } else if (key == "unit") {
            info.serviceUnit = QString::fromUtf8(value);
        } else if (key == "manager") {
            info.userService = value != "system";
        }
    }
    return std::nullopt;
}

} // namespace

InstanceInfo thisInstance(bool headless, const QString &recordingFile)
{
    InstanceInfo info;
    info.headless = headless;
    info.pid = ::getpid();
    info.since = QDateTime::currentDateTime();
    info.recordingFile = recordingFile;
    // A service's bare name lies in its working folder: say which.
    if (!recordingFile.isEmpty())
        info.recordingFile = absoluteFileName(recordingFile);
    findServiceUnit(info);
    return info;
}

SingleInstance::SingleInstance(LockRoots roots)
    : m_roots(std::move(roots))
{
}

SingleInstance::~SingleInstance()
{
    // Closing releases the locks; the files stay for the next start.
    for (const int fd : m_fds)
        ::close(fd);
}

SingleInstance::Start SingleInstance::acquire(bool headless)
{
    if (!m_fds.empty())
        return Start::Alone;
    const uid_t uid = m_roots.uid;
    QStringList problems;
    // Both when both can be trusted: a session without a runtime folder finds the other.
    for (const PrivateFolder &folder : {privateFolder(m_roots.runtimeRoot, QString::number(uid), uid, false),
                                        privateTempFolder(m_roots.tempRoot, uid)}) {
        if (folder.path.isEmpty()) {
            problems << folder.problem;
            continue;
        }
        const QString path = folder.path + QLatin1Char('/') + kLockName;
        const QByteArray bytes = encodeFileName(path);
        const int fd =
            ::open(bytes.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0) {
            problems << QStringLiteral("le verrou %1 ne peut pas être ouvert : %2")
                            .arg(displayableName(path), fileErrorReason(errno));
            continue;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != uid) {
            ::close(fd);
            problems << QStringLiteral("le verrou %1 appartient à un autre utilisateur").arg(displayableName(path));
            continue;
        }
        int locked;
        do
            locked = ::flock(fd, LOCK_EX | LOCK_NB);
        while (locked != 0 && errno == EINTR);
        if (locked != 0 && errno == EWOULDBLOCK) {
            ::close(fd);
            for (const int taken : m_fds)
                ::close(taken);
            m_fds.clear();
            m_heldElsewhere = path;
            return Start::AnotherRuns;
        }
        if (locked != 0) {
            problems << QStringLiteral("le verrou %1 ne peut pas être posé : %2")
                            .arg(displayableName(path), fileErrorReason(errno));
            ::close(fd);
            continue;
        }
        m_fds.push_back(fd);
    }
    if (m_fds.empty()) {
        m_problem = problems.join(QStringLiteral(" ; "));
        return Start::Unguarded;
    }
    describe(thisInstance(headless, {}));
    return Start::Alone;
}

void SingleInstance::describe(const InstanceInfo &info)
{
    // Written whole, then cut to its length: a reader never meets an empty file.
    const QByteArray text = encodeInfo(info);
    for (const int fd : m_fds) {
        if (::pwrite(fd, text.constData(), static_cast<size_t>(text.size()), 0) == text.size()) [[maybe_unused]]
            const int cut = ::ftruncate(fd, static_cast<off_t>(text.size()));
    }
}

std::optional<InstanceInfo> SingleInstance::other() const
{
    if (m_heldElsewhere.isEmpty())
        return std::nullopt;
    const int fd = ::open(encodeFileName(m_heldElsewhere).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    // A recording file name may be long; the description is a few lines besides.
    QByteArray text;
    char buffer[4096];
    ssize_t n;
    while (text.size() < 1024 * 1024 && (n = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<qsizetype>(n));
    ::close(fd);
    return decodeInfo(text);
}

QString otherInstanceNotice(const InstanceInfo &other)
{
    if (!other.headless)
        return {};
    QString text = QStringLiteral("Un enregistrement sans fenêtre est en cours%1").arg(sinceText(other));
    text += other.recordingFile.isEmpty()
                ? QStringLiteral(".")
                : QStringLiteral(", dans le fichier :\n%1").arg(displayableName(other.recordingFile));
    text += QStringLiteral("\n\nUne seule copie d'Orvalin peut fonctionner à la fois. Pour ouvrir la fenêtre, "
                           "arrêtez d'abord cet enregistrement");
    if (other.serviceUnit.isEmpty())
        text += QStringLiteral(" (processus n° %1)").arg(other.pid);
    return text + QStringLiteral(" avec la commande :\n") + stopCommand(other);
}

QString otherInstanceRefusal(const std::optional<InstanceInfo> &other)
{
    const QString refusal = QStringLiteral("une autre instance est déjà lancée");
    if (!other)
        return refusal;
    if (!other->headless)
        return refusal + QStringLiteral(" : la fenêtre d'Orvalin (processus n° %1)").arg(other->pid);
    QString text = refusal + QStringLiteral(" : un enregistrement sans fenêtre");
    if (!other->recordingFile.isEmpty())
        text += QStringLiteral(" dans %1").arg(displayableName(other->recordingFile));
    return text
           + QStringLiteral("%1 (processus n° %2 ; pour l'arrêter : %3)")
                 .arg(sinceText(*other))
                 .arg(other->pid)
                 .arg(stopCommand(*other));
}

QString unguardedNotice(const QString &problem)
{
    return QStringLiteral("aucun dossier sûr pour le verrou qui empêche de lancer Orvalin deux fois (%1) : "
                          "il démarre quand même ; ne le lancez pas une seconde fois sur le même fichier")
        .arg(problem);
}

} // namespace orv
