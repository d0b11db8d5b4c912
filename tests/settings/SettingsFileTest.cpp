// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file as other programs and later starts read it, and how a save keeps it whole.
#include "settings/SettingsFile.h"

#include "FaultyFileSystem.h"
#include "Helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {
void PrintTo(const Settings &s, std::ostream *os)
{
    *os << s.recordingFile.toStdString() << " / " << int(s.interval) << " / " << int(s.source) << " / "
        << s.windowWidth;
}
} // namespace orv

using namespace orv;

namespace {

const QByteArray kHeader = "\"NE PAS MODIFIER CE FICHIER\",";

Settings make(const char *name, Interval interval, SourceKind source, qint16 width)
{
    return {QString::fromUtf8(name), interval, source, width};
}

using test::readAll;

void put(const QString &path, const QByteArray &bytes)
{
    ASSERT_TRUE(test::writeFile(path, bytes));
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

constexpr auto kWritable = QFile::ReadOwner | QFile::WriteOwner;

// The refusals a plain user meets, from the mode bits, which root (running the tests in
// CI) ignores: no new file in a folder that cannot be written, no writing a read-only file,
// no reading a file of mode 000.
class PlainUserDisk final : public test::FaultyFileSystem {
public:
    int open(const QString &path, Open mode, int &fd) override
    {
        const QFileInfo file(path);
        const bool refused = mode == Open::Read        ? file.exists() && !(file.permissions() & QFile::ReadOwner)
                             : mode == Open::CreateNew ? !writable(file.absolutePath())
                                                       : !writable(path);
        return refused ? EACCES : FaultyFileSystem::open(path, mode, fd);
    }

private:
    static bool writable(const QString &path) { return QFileInfo(path).permissions() & QFileDevice::WriteOwner; }
};

} // namespace

TEST(SettingsFormat, WritesTheExactLine)
{
    const struct {
        Settings settings;
        QByteArray name, numbers;
    } cases[] = {
        // name: the bytes between the quotes
        {make("/home/léa/Mesures, avril/essai 1,2.csv", Interval::Hours24, SourceKind::Serial, -7170),
         "/home/l\351a/Mesures, avril/essai 1,2.csv", "10,2,-7170"},
        // Windows-1252 whenever the name fits, so the Windows program still reads it.
        {make("données °C.csv", Interval::Minute1, SourceKind::Board, 0), "donn\351es \260C.csv", "3,1,0"},
        {make("€ 12.csv", Interval::Hour1, SourceKind::Keyboard, 32767), "\x80 12.csv", "6,0,32767"},
        // Outside Windows-1252: UTF-8.
        {make("Ω.csv", Interval::Seconds10, SourceKind::Board, -32768), "\xce\xa9.csv", "2,1,-32768"},
        // Fits Windows-1252, but those two bytes would read back as UTF-8 "é": UTF-8.
        {make("Ã©.csv", Interval::Hours3, SourceKind::Serial, 1), "\xc3\x83\xc2\xa9.csv", "7,2,1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.settings.recordingFile.toStdString());
        EXPECT_EQ(formatSettings(c.settings), kHeader + '"' + c.name + "\"," + c.numbers + "\r\n");
    }
}

TEST(SettingsReader, ReadsWhatOtherWritersLeaveAndDefaultsWhatIsUnusable)
{
    const struct {
        QByteArray bytes;
        Settings expected;
        bool damaged;
    } cases[] = {
        {"\"NE PAS\"\r\n\"a.csv\"\r\n4\r\n1\r\n7170\r\n", make("a.csv", Interval::Minutes15, SourceKind::Board, 7170),
         false},
        {"\"x\"\n\"a.csv\"\n4,1\n7170", make("a.csv", Interval::Minutes15, SourceKind::Board, 7170), false},
        {"  \"x\",  \"a.csv\" junk,  4,  1, 7170\r\n", make("a.csv", Interval::Minutes15, SourceKind::Board, 7170),
         false},
        {"\"x\",\"a,b, c.csv\",2,0,1\r\n", make("a,b, c.csv", Interval::Seconds10, SourceKind::Keyboard, 1), false},
        {"\"x\", a b.csv ,2,0,1\r\n", make("a b.csv", Interval::Seconds10, SourceKind::Keyboard, 1), false},
        // The last complete group of five wins; a group left incomplete is not used.
        {"\"x\",\"one.csv\",2,1,4410\r\n\"x\",\"two.csv\",3,2,7170\r\n",
         make("two.csv", Interval::Minute1, SourceKind::Serial, 7170), false},
        {"\"x\",\"one.csv\",2,1,4410\r\n\"x\",\"two.csv\"\r\n",
         make("one.csv", Interval::Seconds10, SourceKind::Board, 4410), true},
        {"\"x\",\"donn\351es \260C.csv\",1,0,3600\r\n",
         make("données °C.csv", Interval::Second1, SourceKind::Keyboard, 3600), false},
        // A name cut inside a UTF-8 character keeps every byte, read as Windows-1252.
        {"\"x\",\"mesures\xc3\",2,0,3600\r\n", make("mesuresÃ", Interval::Seconds10, SourceKind::Keyboard, 3600),
         false},
        // Each unusable field takes its default; the others keep what was read.
        {"\"x\",\"a.csv\",11,1,4410\r\n", make("a.csv", Interval::Second1, SourceKind::Board, 4410), true},
        {"\"x\",\"a.csv\",5,3,4410\r\n", make("a.csv", Interval::Minutes30, SourceKind::Keyboard, 4410), true},
        {"\"x\",\"a.csv\",5,1,32768\r\n", make("a.csv", Interval::Minutes30, SourceKind::Board, 3600), true},
        {"\"x\",\"a.csv\",5,1,\r\n", make("a.csv", Interval::Minutes30, SourceKind::Board, 3600), true},
        {"\"x\",\"a.csv\",5\r\n", make("a.csv", Interval::Minutes30, SourceKind::Keyboard, 3600), true},
        {"\"x\",\"   \",5,1,4410\r\n", make("data_tr.csv", Interval::Minutes30, SourceKind::Board, 4410), true},
        // Control bytes: no file can usefully be named so.
        {"\"x\",\"a\x01.csv\",5,1,4410\r\n", make("data_tr.csv", Interval::Minutes30, SourceKind::Board, 4410), true},
        {"", Settings{}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        const ParsedSettings parsed = parseSettings(c.bytes);
        EXPECT_EQ(parsed.settings, c.expected);
        EXPECT_EQ(parsed.damaged, c.damaged);
    }
}

TEST(SettingsFileLoad, WhatStandsAtThePath)
{
    enum class Put { Nothing, Bytes, Pipe };
    const QByteArray good = kHeader + "\"a.csv\",4,1,7170\r\n";
    const Settings read = make("a.csv", Interval::Minutes15, SourceKind::Board, 7170);
    using S = SettingsFile::Status;
    const struct {
        Put put;
        QByteArray bytes;
        S status;
        Settings expected;
    } cases[] = {
        {Put::Nothing, {}, S::Missing, Settings{}},
        {Put::Bytes, good, S::Clean, read},
        {Put::Bytes, good + QByteArray(70000, ' '), S::Damaged, read}, // beyond 64 KiB it is not ours
        // A pipe once hung the program forever: it must be left alone, not opened.
        {Put::Pipe, {}, S::Damaged, Settings{}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.put));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("orvtr.cfg"));
        const QByteArray native = QFile::encodeName(path);
        if (c.put == Put::Bytes)
            put(path, c.bytes);
        ASSERT_TRUE(c.put != Put::Pipe || ::mkfifo(native.constData(), 0644) == 0);
        put(dir.filePath(".orvtr.cfg.0badc0de.tmp"), "a save killed before its rename");
        put(dir.filePath(".orvtr.cfg.0badc0de.tmp~"), "not ours");
        PosixFileSystem fs;
        const SettingsFile::Loaded loaded =
            SettingsFile(fs, path, dir.filePath(QStringLiteral("user/orvtr.cfg"))).load();
        EXPECT_EQ(loaded.status, c.status);
        EXPECT_EQ(loaded.settings, c.expected);
        EXPECT_EQ(entries(dir.path()).filter(".tmp"), QStringList{".orvtr.cfg.0badc0de.tmp~"});
        struct stat st {};
        EXPECT_TRUE(c.put != Put::Pipe || (::stat(native.constData(), &st) == 0 && S_ISFIFO(st.st_mode)));
    }
}

TEST(SettingsFileLoad, StartsFromThePortableFileUntilTheUserHasOne)
{
    QTemporaryDir dir;
    const QString portable = dir.filePath(QStringLiteral("orvtr.cfg"));
    const QString user = dir.filePath(QStringLiteral("user/orvtr.cfg"));
    put(portable, kHeader + "\"a.csv\",4,1,7170\r\n");
    PosixFileSystem fs;
    SettingsFile file(fs, user, user, portable);
    EXPECT_EQ(file.load().settings, make("a.csv", Interval::Minutes15, SourceKind::Board, 7170));
    ASSERT_TRUE(file.save(make("b.csv", Interval::Hours6, SourceKind::Serial, 10)).ok);
    EXPECT_EQ(readAll(user), kHeader + "\"b.csv\",8,2,10\r\n");
    EXPECT_EQ(file.load().settings, make("b.csv", Interval::Hours6, SourceKind::Serial, 10));
}

TEST(SettingsFileSave, AFailedSaveLeavesTheOldFileByteForByteAndOnlyARefusalMovesIt)
{
    // Longer than the new line, so writing in place must also cut the file.
    const QByteArray old = kHeader + "\"un nom bien plus long.csv\",4,1,7170\r\n";
    const QByteArray line = formatSettings(Settings{});
    const struct {
        bool folderWritable;
        QFile::Permissions fileMode;
        int writeError, syncError;
        const char *reason; // nullptr: saved
        QByteArray portableAfter, userAfter;
    } cases[] = {
        {true, kWritable, 0, 0, nullptr, line, ""},
        {true, kWritable, ENOSPC, 0, "le disque est plein", old, ""}, // no reason to move elsewhere
        {true, kWritable, 0, EIO, "erreur de lecture ou d'écriture du disque", old, ""},
        {false, kWritable, 0, 0, nullptr, line, ""}, // a folder that takes no new file: in place
        {false, kWritable, 0, EIO, "erreur de lecture ou d'écriture du disque", old, ""},
        {false, QFile::ReadOwner, 0, 0, nullptr, old, line}, // refused: the user's file
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.folderWritable << ' ' << c.writeError << ' ' << c.syncError);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("portable"));
        const QString portable = folder + QStringLiteral("/orvtr.cfg");
        const QString user = dir.filePath(QStringLiteral("home/.config/orvalin/orvtr.cfg"));
        ASSERT_TRUE(QDir().mkdir(folder));
        put(portable, old);
        if (c.folderWritable)
            put(folder + QStringLiteral("/.orvtr.cfg.89abcdef.tmp"), "a save killed before its rename");
        QFile::setPermissions(portable, c.fileMode);
        if (!c.folderWritable)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        const auto restore = qScopeGuard([&] { QFile::setPermissions(folder, kWritable | QFile::ExeOwner); });
        PlainUserDisk fs;
        fs.writeError = c.writeError;
        fs.syncError = c.syncError;
        SettingsFile file(fs, portable, user);
        const SettingsFile::Saved saved = file.save(Settings{});
        EXPECT_EQ(saved.message, c.reason
                                     ? QStringLiteral("Les réglages n'ont pas pu être enregistrés dans « %1 » : %2.")
                                           .arg(portable, QString::fromUtf8(c.reason))
                                     : QString());
        EXPECT_EQ(saved.ok, c.reason == nullptr);
        EXPECT_EQ(readAll(portable), c.portableAfter);
        EXPECT_EQ(readAll(user), c.userAfter);
        EXPECT_EQ(file.path(), c.userAfter.isEmpty() ? portable : user);
        EXPECT_EQ(entries(folder), QStringList{QStringLiteral("orvtr.cfg")}) << "no temporary file left behind";
    }
}

TEST(SettingsFileLoad, AFileThisUserMayNotReadIsToldNeverReplacedAndSavesGoToTheUserFile)
{
    const QByteArray unreadable = kHeader + "\"a.csv\",4,1,7170\r\n";
    for (const QByteArray &userFile : {QByteArray(), kHeader + "\"b.csv\",8,2,10\r\n"}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("orvtr.cfg"));
        const QString user = dir.filePath(QStringLiteral("user/orvtr.cfg"));
        put(path, unreadable);
        QFile::setPermissions(path, {});
        if (!userFile.isEmpty()) {
            ASSERT_TRUE(QDir(dir.path()).mkdir("user"));
            put(user, userFile);
        }
        PlainUserDisk fs;
        SettingsFile file(fs, path, user);
        const SettingsFile::Loaded loaded = file.load();
        EXPECT_EQ(loaded.status, SettingsFile::Status::Unreadable);
        EXPECT_EQ(loaded.settings,
                  userFile.isEmpty() ? Settings{} : make("b.csv", Interval::Hours6, SourceKind::Serial, 10));
        EXPECT_EQ(loaded.notice,
                  QStringLiteral("le fichier de réglages %1 est illisible (accès refusé en lecture) : il "
                                 "est laissé tel quel ; les réglages sont lus et enregistrés dans %2")
                      .arg(path, user));
        EXPECT_TRUE(file.save(Settings{}).ok);
        EXPECT_EQ(readAll(path), unreadable);
        EXPECT_EQ(readAll(user), formatSettings(Settings{}));
    }
}

TEST(SettingsLocation, InstalledCopiesUseTheUserFolderPortableOnesTheirOwn)
{
    QTemporaryDir dir;
    const QString user = dir.filePath(QStringLiteral("home"));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("local/share/applications"))
                && QDir(dir.path()).mkpath(QStringLiteral("local/bin")));
    put(dir.filePath(QStringLiteral("local/share/applications/orvalin.desktop")), "[Desktop Entry]\n");
    const struct {
        QString executableDir, folder;
    } cases[] = {
        {QStringLiteral("/usr/bin"), user},
        {dir.filePath(QStringLiteral("local/bin")), user}, // beside ../share/applications/orvalin.desktop
        {dir.path(), dir.path()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(resolveSettingsPath(c.executableDir, user), c.folder + QStringLiteral("/orvtr.cfg"))
            << c.executableDir.toStdString();
}
