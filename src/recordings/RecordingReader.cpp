// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordings/RecordingReader.h"

#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace orv {

namespace {

constexpr qint64 kFingerprint = 64;

QString reasonOf(int error)
{
    switch (error) {
    case ENOENT: return QStringLiteral("le fichier n'existe pas");
    case EACCES:
    case EPERM: return QStringLiteral("lecture refusée (droits d'accès)");
    case EIO: return QStringLiteral("erreur de lecture du disque");
    default: return fileErrorReason(error);
    }
}

} // namespace

FileSystem::Kind PosixRecordingFiles::kindOf(const QString &path) const
{
    return m_fs.kindOf(path);
}

int PosixRecordingFiles::open(const QString &path, int &fd)
{
    return m_fs.open(path, FileSystem::Open::Read, fd);
}

int PosixRecordingFiles::size(int fd, qint64 &bytes)
{
    return m_fs.size(fd, bytes);
}

int PosixRecordingFiles::readAt(int fd, qint64 offset, qint64 maxBytes, QByteArray &out)
{
    out.resize(maxBytes);
    qint64 got = 0;
    while (got < maxBytes) {
        const ssize_t n = ::pread(fd, out.data() + got, static_cast<size_t>(maxBytes - got), offset + got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            out.clear();
            return errno;
        }
        if (n == 0)
            break;
        got += n;
    }
    out.resize(got);
    return 0;
}

void PosixRecordingFiles::close(int fd)
{
    m_fs.close(fd);
}

QString readFailureText(const QString &path, const QString &reason)
{
    return QStringLiteral("Impossible de lire « %1 » : %2.").arg(path, reason);
}

QString byteSizeText(qint64 bytes)
{
    const QLocale french(QLocale::French, QLocale::France);
    if (bytes >= qint64(1) << 30)
        return french.toString(static_cast<double>(bytes) / (1 << 30), 'f', 1) + QStringLiteral(" Go");
    if (bytes >= qint64(1) << 20)
        return QString::number(bytes >> 20) + QStringLiteral(" Mo");
    return QString::number((bytes + 1023) >> 10) + QStringLiteral(" ko");
}

// The file stays open for one load or one poll only, so a file replaced or removed in
// between is seen as such.
struct RecordingReader::Opened {
    RecordingFiles &files;
    int fd = -1;
    ~Opened()
    {
        if (fd >= 0)
            files.close(fd);
    }
};

RecordingReader::RecordingReader(RecordingFiles &files, QString path, Limits limits)
    : m_files(files)
    , m_path(std::move(path))
    , m_limits(limits)
{
}

QString RecordingReader::refusal(qint64 size) const
{
    if (size > m_limits.maxBytes)
        return QStringLiteral("le fichier est trop gros pour un enregistrement (%1 ; au plus %2)")
            .arg(byteSizeText(size), byteSizeText(m_limits.maxBytes));
    return {};
}

RecordingReader::Update RecordingReader::load(const Progress &progress)
{
    using Kind = Update::Kind;
    m_loaded = false;
    m_parser = RecordingParser();
    m_consumed = 0;
    m_fingerprint.clear();
    m_seenSize = -1;

    switch (m_files.kindOf(m_path)) {
    case FileSystem::Kind::Missing: return {Kind::Failed, {}, {}, QStringLiteral("le fichier n'existe pas")};
    case FileSystem::Kind::Folder: return {Kind::Failed, {}, {}, QStringLiteral("c'est un dossier, pas un fichier")};
    case FileSystem::Kind::Other:
        return {Kind::Failed, {}, {}, QStringLiteral("c'est un tube ou un périphérique, pas un fichier")};
    case FileSystem::Kind::Regular: break;
    }
    Opened file{m_files};
    qint64 size = 0;
    if (const int e = m_files.open(m_path, file.fd); e != 0)
        return {Kind::Failed, {}, {}, reasonOf(e)};
    if (const int e = m_files.size(file.fd, size); e != 0)
        return {Kind::Failed, {}, {}, reasonOf(e)};
    if (const QString why = refusal(size); !why.isEmpty())
        return {Kind::Failed, {}, {}, why};
    Update u = readFrom(file.fd, size, true, progress);
    if (u.kind == Kind::Loaded) {
        // An empty file, or one with only the header, is a recording yet to come.
        if (u.samples->empty() && !u.notes.headerSeen && size > 0)
            return {
                Kind::Failed, {}, u.notes, QStringLiteral("ce n'est pas un enregistrement : aucune ligne de mesure")};
        m_loaded = true;
    }
    return u;
}

RecordingReader::Update RecordingReader::poll(const Progress &progress)
{
    using Kind = Update::Kind;
    if (!m_loaded)
        return load(progress);
    Opened file{m_files};
    qint64 size = 0;
    int e = m_files.kindOf(m_path) == FileSystem::Kind::Regular ? m_files.open(m_path, file.fd) : ENOENT;
    if (e == 0)
        e = m_files.size(file.fd, size);
    if (e != 0) {
        // Said once; what was read stays on screen and the next polls look again.
        const bool first = !m_unreadable;
        m_unreadable = true;
        m_seenSize = -1;
        return first ? Update{Kind::Unreadable, {}, m_parser.notes(), reasonOf(e)} : Update{};
    }
    const bool wasUnreadable = std::exchange(m_unreadable, false);
    bool replaced = size < m_consumed;
    if (!replaced && m_consumed > 0) {
        QByteArray before;
        const qint64 n = std::min(kFingerprint, m_consumed);
        replaced = m_files.readAt(file.fd, m_consumed - n, n, before) != 0 || before != m_fingerprint;
    }
    if (replaced) {
        file.files.close(std::exchange(file.fd, -1));
        return load(progress);
    }
    if (size == m_seenSize && !wasUnreadable)
        return {};
    if (const QString why = refusal(size); !why.isEmpty()) {
        m_unreadable = true;
        return {Kind::Unreadable, {}, m_parser.notes(), why};
    }
    Update u = readFrom(file.fd, size, false, progress);
    if (wasUnreadable && u.kind == Kind::Unchanged) {
        u.kind = Kind::Appended; // nothing new, but the viewer takes its notice down
        u.samples = std::make_shared<SampleTable>();
        u.notes = m_parser.notes();
    }
    return u;
}

RecordingReader::Update RecordingReader::readFrom(int fd, qint64 size, bool whole, const Progress &progress)
{
    using Kind = Update::Kind;
    auto table = std::make_shared<SampleTable>();
    if (whole)
        table->reserve(static_cast<qsizetype>(size / 30 + 1)); // the shortest usual line: "1;;;MM-DD-YYYY;HH:MM:SS"
    const ReadNotes before = m_parser.notes();
    QByteArray pending;
    qint64 at = m_consumed;
    qint64 taken = m_consumed;
    while (at < size) {
        QByteArray chunk;
        if (const int e = m_files.readAt(fd, at, std::min(m_limits.chunk, size - at), chunk); e != 0)
            return {whole ? Kind::Failed : Kind::Unreadable, {}, m_parser.notes(), reasonOf(e)};
        if (chunk.isEmpty())
            break; // cut shorter while being read: the next poll sees it
        if (whole && at == 0 && chunk.first(std::min<qsizetype>(chunk.size(), m_limits.sniff)).contains('\0'))
            return {Kind::Failed, {}, {}, QStringLiteral("ce n'est pas un fichier texte")};
        at += chunk.size();
        pending += chunk;
        const qsizetype used = m_parser.feed(pending, *table);
        taken += used;
        pending.remove(0, used);
        const ReadNotes &n = m_parser.notes();
        if (whole && taken >= m_limits.sniff && table->empty() && !n.headerSeen && n.notSamples > 0)
            return {Kind::Failed,
                    {},
                    n,
                    QStringLiteral("ce n'est pas un enregistrement : aucune ligne de mesure au début du fichier")};
        if (progress && !progress(at, size))
            return {Kind::Cancelled, {}, {}, {}};
    }
    taken += m_parser.finish(pending, *table);
    m_consumed = taken;
    m_seenSize = size;
    const qint64 n = std::min(kFingerprint, m_consumed);
    m_fingerprint.clear();
    if (n > 0 && m_files.readAt(fd, m_consumed - n, n, m_fingerprint) != 0)
        m_fingerprint.clear();
    if (whole)
        return {Kind::Loaded, table, m_parser.notes(), {}};
    if (table->empty() && m_parser.notes() == before)
        return {};
    return {Kind::Appended, table, m_parser.notes(), {}};
}

} // namespace orv
