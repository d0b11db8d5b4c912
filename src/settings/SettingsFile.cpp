// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsFile.h"

#include "core/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>
#include <unistd.h>
#include <utility>
#include <vector>

namespace orv {

namespace {

const QString kFileName = QStringLiteral("orvtr.cfg");
constexpr qint64 kMaxRead = 64 * 1024; // the file is one short line; more is not ours

// Windows-1252 from 0x80 to 0x9F; the rest of the range is Latin-1. The five bytes Windows
// leaves undefined map to the same code point, as Windows itself reads them. A table
// rather than QStringDecoder("windows-1252"), which needs Qt built with ICU.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeName(QByteArrayView bytes)
{
    // Stateless: a name cut inside a character is an error here, not a character held
    // back for bytes that never come. An initial BOM is part of the name.
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString name = utf8(bytes);
    if (!utf8.hasError())
        return name;
    name.resize(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        name[i] = QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t{b});
    }
    return name;
}

QByteArray encodeName(const QString &name)
{
    QByteArray cp1252;
    cp1252.reserve(name.size());
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        char16_t byte = u;
        if ((u >= 0x80 && u < 0xA0) || u > 0xFF) {
            byte = 0;
            for (char16_t k = 0; k < 32; ++k)
                if (kCp1252High[k] == u)
                    byte = static_cast<char16_t>(0x80 + k);
            if (byte == 0)
                return name.toUtf8();
        }
        cp1252 += static_cast<char>(byte);
    }
    // Some 1252 texts ("Ã©") are also valid UTF-8 and would read back as other characters.
    return decodeName(cp1252) == name ? cp1252 : name.toUtf8();
}

bool usableName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return true;
}

std::vector<QByteArrayView> splitItems(QByteArrayView bytes)
{
    std::vector<QByteArrayView> items;
    const qsizetype n = bytes.size();
    auto endsItem = [&](qsizetype k) { return bytes[k] == ',' || bytes[k] == '\r' || bytes[k] == '\n'; };
    qsizetype i = 0;
    while (i < n) {
        // Spaces, and line ends left by the previous item, come before an item.
        while (i < n && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
            ++i;
        if (i == n)
            break;
        if (bytes[i] == '"') {
            const qsizetype close = bytes.indexOf('"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            items.push_back(bytes.sliced(i + 1, end - i - 1));
            i = end;
            while (i < n && !endsItem(i)) // what follows the closing quote is dropped
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && !endsItem(i))
                ++i;
            items.push_back(bytes.sliced(start, i - start).trimmed());
        }
        if (i < n && bytes[i] == ',')
            ++i;
    }
    return items;
}

// The item's decimal value when it lies in [min, max].
std::optional<qint64> number(const QByteArrayView *item, qint64 min, qint64 max)
{
    if (!item)
        return std::nullopt;
    bool ok = false;
    const qint64 value = item->toByteArray().toLongLong(&ok, 10);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

bool refused(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// A file that exists and that this user may not read: left alone, never replaced.
bool unreadable(FileSystem &fs, const QString &path)
{
    int fd = -1;
    const int error = fs.open(path, FileSystem::Open::Read, fd);
    if (error == 0)
        fs.close(fd);
    return error == EACCES || error == EPERM;
}

} // namespace

QByteArray formatSettings(const Settings &settings)
{
    QByteArray line = "\"NE PAS MODIFIER CE FICHIER\",\"";
    line += encodeName(settings.recordingFile);
    line += "\",";
    line += QByteArray::number(static_cast<int>(settings.interval));
    line += ',';
    line += QByteArray::number(static_cast<int>(settings.source));
    line += ',';
    line += QByteArray::number(settings.windowWidth);
    line += "\r\n";
    return line;
}

ParsedSettings parseSettings(QByteArrayView bytes)
{
    const std::vector<QByteArrayView> items = splitItems(bytes);
    // Each group of five overwrites the previous one; with no complete group, what is there.
    const std::size_t first = items.size() >= 5 ? (items.size() / 5 - 1) * 5 : 0;
    auto item = [&](std::size_t k) { return first + k < items.size() ? &items[first + k] : nullptr; };

    ParsedSettings out;
    out.damaged = items.empty() || items.size() % 5 != 0;

    const QString name = item(1) ? decodeName(*item(1)) : QString();
    if (usableName(name))
        out.settings.recordingFile = name;
    else
        out.damaged = true;

    const auto interval = number(item(2), 1, 10);
    if (interval)
        out.settings.interval = *intervalFromNumber(*interval);
    const auto source = number(item(3), 0, 2);
    if (source)
        out.settings.source = *sourceFromNumber(*source);
    const auto width = number(item(4), std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
    if (width)
        out.settings.windowWidth = static_cast<qint16>(*width);
    if (!interval || !source || !width)
        out.damaged = true;
    return out;
}

QString resolveSettingsPath(const QString &executableDir, const QString &userConfigDir)
{
    const QString user = QDir(userConfigDir).filePath(kFileName);
    // An installed copy keeps its settings per user, even when run by root, who could
    // write beside it: one under /usr, or one installed with its desktop entry (a prefix
    // of the user's own, such as ~/.local).
    const bool installed =
        QDir::cleanPath(executableDir).startsWith(QLatin1String("/usr/"))
        || QFileInfo::exists(QDir(executableDir).filePath(QStringLiteral("../share/applications/orvalin.desktop")));
    if (installed)
        return user;
    const QString portable = QDir(executableDir).filePath(kFileName);
    // The folder takes a new file (an atomic save), or the file there can be written in place.
    const bool folderWritable = ::access(QFile::encodeName(executableDir).constData(), W_OK) == 0;
    const bool fileWritable = ::access(QFile::encodeName(portable).constData(), W_OK) == 0;
    return folderWritable || fileWritable ? portable : user;
}

SettingsFile::SettingsFile(FileSystem &fs, QString path, QString fallbackPath, QString startFromPath)
    : m_fs(fs)
    , m_path(std::move(path))
    , m_fallbackPath(std::move(fallbackPath))
    , m_startFromPath(std::move(startFromPath))
{
}

SettingsFile::Loaded SettingsFile::load() const
{
    removeLeftovers();
    QString from = m_path;
    if (!m_startFromPath.isEmpty() && m_fs.kindOf(m_path) == FileSystem::Kind::Missing)
        from = m_startFromPath;
    Loaded out = read(from);
    const QString shown = displayableName(from);
    if (out.status == Status::Unreadable) {
        if (m_fallbackPath == from) {
            out.notice = QStringLiteral("le fichier de réglages %1 est illisible (accès refusé en lecture) : il est "
                                        "laissé tel quel et les réglages d'origine sont utilisés")
                             .arg(shown);
            return out;
        }
        const Loaded fallback = read(m_fallbackPath);
        if (fallback.status == Status::Clean || fallback.status == Status::Damaged)
            out.settings = fallback.settings;
        out.notice = QStringLiteral("le fichier de réglages %1 est illisible (accès refusé en lecture) : il est "
                                    "laissé tel quel ; les réglages sont lus et enregistrés dans %2")
                         .arg(shown, displayableName(m_fallbackPath));
    } else if (out.status == Status::Damaged) {
        out.notice = QStringLiteral("le fichier de réglages %1 est endommagé : ce qui était illisible a repris sa "
                                    "valeur d'origine ; il sera réécrit au prochain changement de réglage")
                         .arg(shown);
    }
    return out;
}

SettingsFile::Loaded SettingsFile::read(const QString &from) const
{
    Loaded out;
    out.from = from;
    int fd = -1;
    // The seam refuses a pipe or a device without opening it, so this never blocks.
    const int error = m_fs.open(from, FileSystem::Open::Read, fd);
    if (error == ENOENT || error == ENOTDIR)
        return out;
    out.status = error == EACCES || error == EPERM ? Status::Unreadable : Status::Damaged;
    if (error != 0)
        return out;
    QByteArray bytes;
    const int readError = m_fs.read(fd, kMaxRead + 1, bytes);
    m_fs.close(fd);
    if (readError != 0)
        return out;
    const bool tooLong = bytes.size() > kMaxRead;
    const ParsedSettings parsed =
        parseSettings(QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), kMaxRead)));
    out.settings = parsed.settings;
    out.status = parsed.damaged || tooLong ? Status::Damaged : Status::Clean;
    return out;
}

void SettingsFile::removeLeftovers() const
{
    // A save killed between making its temporary file and renaming it leaves the file
    // behind for good. Only this user's: another's may be a save in progress.
    for (const QString &path : {m_path, m_fallbackPath}) {
        // As writeThroughNewFile names them.
        const QRegularExpression ours(QRegularExpression::anchoredPattern(
            QRegularExpression::escape(QLatin1Char('.') + QFileInfo(path).fileName() + QLatin1Char('.'))
            + QStringLiteral("[0-9a-f]{8}\\.tmp")));
        const QDir folder = QFileInfo(path).absoluteDir();
        for (const QFileInfo &entry : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (ours.match(entry.fileName()).hasMatch() && entry.ownerId() == ::getuid() && !entry.isSymLink())
                m_fs.remove(entry.filePath());
        }
    }
}

namespace {

// A new file beside the real one, renamed over it once complete and on the disk: a crash
// or a full disk at any point leaves either the old file or the new one, never a mix.
int writeThroughNewFile(FileSystem &fs, const QString &path, const QByteArray &line)
{
    QString temporary;
    int fd = -1;
    int error = EEXIST;
    for (int attempt = 0; attempt < 8 && error == EEXIST; ++attempt) {
        temporary = QStringLiteral("%1/.%2.%3.tmp")
                        .arg(QFileInfo(path).absolutePath(), QFileInfo(path).fileName())
                        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        error = fs.open(temporary, FileSystem::Open::CreateNew, fd);
    }
    if (error != 0)
        return error;
    error = syncAndClose(fs, fd, fs.write(fd, line));
    if (error == 0)
        error = fs.rename(temporary, path);
    if (error != 0) {
        fs.remove(temporary);
        return error;
    }
    fs.syncFolderOf(path);
    return 0;
}

// For a folder that takes no new file: the file rewritten in place. The part beyond the
// old length goes first, then the head, then the length; any failure puts the old bytes
// back, so a reader never keeps a half-written line.
int writeInPlace(FileSystem &fs, const QString &path, const QByteArray &line)
{
    int fd = -1;
    int error = fs.open(path, FileSystem::Open::WriteExisting, fd);
    if (error != 0)
        return error;
    qint64 oldSize = 0;
    QByteArray old;
    error = fs.size(fd, oldSize);
    if (error == 0 && oldSize > kMaxRead)
        error = EFBIG; // too big to keep a copy of, and not a settings file anyway
    if (error == 0) {
        int readFd = -1;
        error = fs.open(path, FileSystem::Open::Read, readFd);
        if (error == 0) {
            error = fs.read(readFd, oldSize, old);
            fs.close(readFd);
        }
        if (error == 0 && old.size() != oldSize)
            error = EIO;
    }
    const qint64 newSize = line.size();
    if (error == 0 && newSize > oldSize) {
        error = fs.writeAt(fd, oldSize, QByteArrayView(line).sliced(oldSize));
        if (error != 0)
            fs.truncate(fd, oldSize);
    }
    if (error == 0) {
        error = fs.writeAt(fd, 0, QByteArrayView(line).first(std::min(newSize, oldSize)));
        if (error == 0 && newSize < oldSize)
            error = fs.truncate(fd, newSize);
        if (error == 0)
            error = fs.sync(fd);
        if (error != 0) {
            fs.writeAt(fd, 0, old);
            fs.truncate(fd, oldSize);
            fs.sync(fd);
        }
    }
    const int closeError = fs.close(fd);
    return error != 0 ? error : closeError;
}

// 0, or the error most worth telling about this location.
int saveAt(FileSystem &fs, const QString &path, const QByteArray &line)
{
    if (unreadable(fs, path))
        return EACCES;
    // A pipe, a device or a folder under the settings name is left alone.
    switch (fs.kindOf(path)) {
    case FileSystem::Kind::Folder: return EISDIR;
    case FileSystem::Kind::Other: return kNotARegularFile;
    default: break;
    }
    int error = fs.makeFolder(QFileInfo(path).absolutePath());
    if (error != 0)
        return error;
    error = writeThroughNewFile(fs, path, line);
    if (!refused(error))
        return error;
    const int inPlaceError = writeInPlace(fs, path, line);
    // Refused or missing in place too: the folder's refusal is the reason to tell.
    if (inPlaceError == 0 || !(refused(inPlaceError) || inPlaceError == ENOENT))
        return inPlaceError;
    return error;
}

} // namespace

SettingsFile::Saved SettingsFile::save(const Settings &settings)
{
    removeLeftovers();
    const QByteArray line = formatSettings(settings);
    const int error = saveAt(m_fs, m_path, line);
    if (error == 0)
        return {};
    // Only a location that refuses writing is given up: after a full disk or an I/O error
    // the next start would still read the old file there.
    if (refused(error) && m_fallbackPath != m_path && saveAt(m_fs, m_fallbackPath, line) == 0) {
        m_path = m_fallbackPath;
        return {};
    }
    const QString reason =
        unreadable(m_fs, m_path)
            ? QStringLiteral("ce fichier est illisible (accès refusé en lecture) et n'est pas remplacé")
            : fileErrorReason(error);
    return {false, QStringLiteral("Les réglages n'ont pas pu être enregistrés dans « %1 » : %2.")
                       .arg(displayableName(m_path), reason)};
}

} // namespace orv
