// SPDX-License-Identifier: GPL-3.0-or-later
// The recording file when the disk misbehaves: a line counts as written only once its
// write, sync and close succeeded; nothing taken is lost or written twice, every file ends
// with a complete line, one file that cannot be written never holds back another, and the
// end takes a bounded time whatever the disk does.
#include "core/RecordingWriter.h"

#include "FakeClock.h"
#include "FaultyFileSystem.h"
#include "Helpers.h"
#include "Printers.h"
#include "core/LineFile.h"
#include "core/RescueFiles.h"
#include "core/Texts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace orv;

namespace {

using test::readAll;
using test::writeFile;

QByteArray line(int n)
{
    return QByteArray::number(n) + ";1;2;12-05-2026;14:03:07\r\n";
}

const QByteArray kHeader = recordingHeader();

struct Folder {
    QTemporaryDir dir;
    test::FakeClock clock{QDateTime(QDate(2026, 12, 5), QTime(14, 3, 9))};
    test::FaultyFileSystem files;
    QString path(const QString &name) const { return dir.filePath(name); }
    std::unique_ptr<RecordingWriter> writer = make({path(QStringLiteral("data"))});

    std::unique_ptr<RecordingWriter> make(const QStringList &rescueFolders)
    {
        return std::make_unique<RecordingWriter>(files, clock, RecordingWriter::Options{rescueFolders});
    }
    ~Folder()
    {
        files.releaseSyncs();
        writer.reset();
    }
    // Hands the lines over and waits until they have been tried.
    void append(const QString &file, std::initializer_list<int> numbers)
    {
        for (int n : numbers)
            writer->append(file, line(n));
        writer->drain();
    }
};

} // namespace

TEST(RecordingWriter, AFileThatCannotBeWrittenNeverHoldsBackAnotherNorTheEnd)
{
    // A file whose lines wait, or whose disk blocks, holds back only itself, never the caller.
    Folder f;
    const QString a = f.path(QStringLiteral("a.csv"));
    const QString b = f.path(QStringLiteral("b.csv"));
    f.files.setFaultyPrefix(a);
    f.files.writeError = ENOSPC;
    f.append(a, {1});
    f.append(b, {1});
    EXPECT_EQ(readAll(b), kHeader + line(1));
    EXPECT_EQ(f.writer->waiting(), (QList<RecordingWriter::Waiting>{{a, 1, QStringLiteral("le disque est plein")}}));
    f.files.writeError = 0;
    f.files.blockSyncs();
    f.writer->append(b, line(2));
    EXPECT_FALSE(f.writer->drain(200));
    EXPECT_EQ(readAll(b), kHeader + line(1) + line(2));
    EXPECT_EQ(f.writer->unconfirmed().size(), 1);
    // A stalled share: the sync never returns. The end does not wait for it; the lines it
    // holds up go to the rescue, where the one inside it may repeat the file.
    f.writer->append(a, line(2));
    QElapsedTimer took;
    took.start();
    const RecordingWriter::Rescue r = f.writer->finish(200, 200);
    EXPECT_LT(took.elapsed(), 2000);
    EXPECT_TRUE(f.writer->stuck());
    ASSERT_EQ(r.files.size(), 1);
    EXPECT_TRUE(r.mayRepeat);
    EXPECT_EQ(readAll(r.files[0]), kHeader + line(1) + line(2));
}

TEST(RecordingWriter, LinesWaitUntilWriteSyncAndCloseSucceedThenGoOutOnceInOrder)
{
    struct Case {
        const char *what;
        std::function<void(Folder &, const QString &)> spoil, mend;
        const char *reason;
        bool existingFileToo = true; // also for a file that already holds lines
    };
    const auto mendDisk = [](Folder &f, const QString &) {
        f.files.writeError = f.files.syncError = f.files.closeError = 0;
    };
    const Case cases[] = {
        // The folder comes back: the waiting lines go out in order, behind a fresh header.
        {"a folder gone", [](Folder &f, const QString &) { QDir(f.path(QStringLiteral("sub"))).removeRecursively(); },
         [](Folder &f, const QString &) { QDir().mkdir(f.path(QStringLiteral("sub"))); }, "le dossier n'existe pas",
         false},
        {"a folder", [](Folder &, const QString &p) { QDir().mkdir(p); },
         [](Folder &, const QString &p) { QDir().rmdir(p); }, "ce nom désigne un dossier", false},
        {"a pipe", [](Folder &, const QString &p) { ::mkfifo(QFile::encodeName(p).constData(), 0644); },
         [](Folder &, const QString &p) { QFile::remove(p); }, "ce nom désigne un tube ou un périphérique", false},
        {"a full disk", [](Folder &f, const QString &) { f.files.writeError = ENOSPC; }, mendDisk,
         "le disque est plein"},
        // The write lands in memory; the disk says only at the sync or the close that it failed.
        {"a failing sync", [](Folder &f, const QString &) { f.files.syncError = EIO; }, mendDisk,
         "erreur de lecture ou d'écriture du disque"},
        {"a share over quota at the close", [](Folder &f, const QString &) { f.files.closeError = EDQUOT; }, mendDisk,
         "le disque est plein"},
    };
    for (const Case &c : cases) {
        for (const bool fileExists : {false, true}) {
            if (fileExists && !c.existingFileToo)
                continue;
            Folder f;
            QDir().mkdir(f.path(QStringLiteral("sub")));
            const QString p = f.path(QStringLiteral("sub/rec.csv"));
            if (fileExists)
                f.append(p, {1});
            const QByteArray before = fileExists ? kHeader + line(1) : QByteArray();
            c.spoil(f, p);
            QElapsedTimer took;
            took.start();
            f.append(p, {2});
            f.append(p, {3});
            EXPECT_LT(took.elapsed(), 2000) << c.what << " must not block the recording";
            ASSERT_EQ(f.writer->waitingLines(), 2) << c.what;
            EXPECT_EQ(f.writer->waiting()[0].reason, QString::fromUtf8(c.reason)) << c.what;
            c.mend(f, p);
            f.writer->drain();
            f.writer->drain();
            EXPECT_EQ(f.writer->waitingLines(), 0) << c.what;
            EXPECT_EQ(readAll(p), (fileExists ? before : kHeader) + line(2) + line(3)) << c.what << fileExists;
        }
    }
}

TEST(RecordingWriter, ALineThatDoesNotFitIsCutBackSoTheFileEndsWhole)
{
    Folder f;
    const QString p = f.path(QStringLiteral("rec.csv"));
    f.append(p, {1});
    const qint64 size = QFileInfo(p).size();
    // A file-size limit that half a line fits under, as a nearly full disk would give.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = static_cast<rlim_t>(size + 10);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    f.append(p, {2});
    EXPECT_EQ(readAll(p), kHeader + line(1));
    ::setrlimit(RLIMIT_FSIZE, &old);
    f.writer->drain();
    EXPECT_EQ(readAll(p), kHeader + line(1) + line(2));
}

TEST(RecordingWriter, ATornLastLineIsCutOffAndKeptSoNewLinesStartOnTheirOwn)
{
    struct Case {
        const char *what;
        QByteArray before;
        bool rescueFolderWorks;
        QByteArray after; // the file once one line is appended
        QByteArray kept;  // the fragment file's bytes; empty: none
        bool cut;
    };
    const QByteArray longForeign = QByteArray(5000, 'x');
    const Case cases[] = {
        {"a power cut inside a sample", kHeader + line(1) + "2;1", true, kHeader + line(1) + line(7), "2;1", true},
        {"inside the header", QByteArray("N\xB0Rec"), true, kHeader + line(7), "N\xB0Rec", true},
        {"no folder keeps it: its bytes go in the message", kHeader + "2;1", false, kHeader + line(7), {}, true},
        {"not a line of ours", longForeign, false, longForeign + "\r\n" + line(7), {}, false},
        {"a complete file", kHeader + line(1), true, kHeader + line(1) + line(7), {}, false},
    };
    for (const Case &c : cases) {
        Folder f;
        if (!c.rescueFolderWorks)
            f.writer = f.make({f.path(QStringLiteral("a file/not a folder"))});
        writeFile(f.path(QStringLiteral("a file")), {});
        const QString p = f.path(QStringLiteral("rec.csv"));
        writeFile(p, c.before);
        std::optional<Fragment> told;
        f.writer->setOnFragment([&](const QString &, const Fragment &fragment) { told = fragment; });
        f.append(p, {7});
        EXPECT_EQ(readAll(p), c.after) << c.what;
        const bool torn = !c.before.endsWith('\n');
        ASSERT_EQ(told.has_value(), torn) << c.what;
        if (!torn)
            continue;
        EXPECT_EQ(told->cut, c.cut) << c.what;
        EXPECT_EQ(told->keptIn.isEmpty(), c.kept.isEmpty()) << c.what;
        if (!c.kept.isEmpty()) {
            EXPECT_EQ(told->keptIn, f.path(QStringLiteral("data/fragment-2026-12-05_14-03-09-rec.csv"))) << c.what;
            EXPECT_EQ(readAll(told->keptIn), c.kept) << c.what;
        }
    }
}

TEST(RecordingWriter, ANewFileIsMadeAfterTheLinesSentBeforeAndNeverUnderLinesThatWait)
{
    Folder f;
    const QString p = f.path(QStringLiteral("new.csv"));
    writeFile(p, "old content\r\n");
    std::vector<int> results;
    const auto note = [&](int error) { results.push_back(error); };
    f.writer->append(p, line(1));
    f.writer->create(p, note);
    f.writer->append(p, line(2));
    f.writer->drain();
    EXPECT_EQ(readAll(p), kHeader + line(2)); // line 1 landed before the user's emptying
    // Lines that cannot be written keep their file: it is not emptied under them.
    f.files.writeError = ENOSPC;
    f.append(p, {3});
    f.writer->create(p, note);
    f.writer->drain();
    EXPECT_EQ(results, (std::vector<int>{0, kLinesStillWaiting}));
    f.files.writeError = 0;
    f.writer->drain();
    EXPECT_EQ(readAll(p), kHeader + line(2) + line(3));

    // An existing empty file counts as existing: no header is added to it.
    writeFile(f.path(QStringLiteral("empty.csv")), {});
    f.append(f.path(QStringLiteral("empty.csv")), {1});
    EXPECT_EQ(readAll(f.path(QStringLiteral("empty.csv"))), line(1));
}

TEST(RecordingWriter, AtTheEndWhatIsNotConfirmedGoesToTheFirstFolderThatTakesItOrIsCountedLost)
{
    struct Case {
        const char *what;
        std::function<void(Folder &)> spoil;
        const char *lostReason; // empty: all kept
    };
    const Case cases[] = {
        {"a folder takes them", [](Folder &) {}, ""},
        {"full disks everywhere", [](Folder &f) { f.files.writeError = ENOSPC; }, "le disque est plein"},
        {"failing syncs", [](Folder &f) { f.files.syncError = EIO; }, "erreur de lecture ou d'écriture du disque"},
        {"failing closes", [](Folder &f) { f.files.closeError = EDQUOT; }, "le disque est plein"},
    };
    for (const Case &c : cases) {
        Folder f;
        QFile(f.path(QStringLiteral("blocked"))).open(QIODevice::WriteOnly); // a file, not a folder
        f.writer = f.make({f.path(QStringLiteral("blocked")), f.path(QStringLiteral("data"))});
        c.spoil(f);
        const QString gone = f.path(QStringLiteral("gone/rec.csv"));
        f.append(gone, {1, 2});
        f.append(f.path(QStringLiteral("gone too/rec.csv")), {3}); // the same name
        // A name the folder took, but too long once "secours-<date>_<time>-" stands before it.
        const QString longName = QStringLiteral("é").repeated(120) + QStringLiteral(".csv");
        f.append(f.path(QStringLiteral("gone/") + longName), {4});

        const RecordingWriter::Rescue r = f.writer->finish(100, 1000);
        const QString data = f.path(QStringLiteral("data/secours-2026-12-05_14-03-09-"));
        QStringList expected{data + QStringLiteral("2-rec.csv"), data + QStringLiteral("rec.csv"),
                             data + longName.right(111 + 4)};
        if (*c.lostReason) {
            EXPECT_EQ(r.lost, 4) << c.what;
            EXPECT_EQ(r.lostFrom.size(), 3) << c.what;
            EXPECT_EQ(r.reason, QString::fromUtf8(c.lostReason)) << c.what;
            expected.clear(); // and no half-written rescue left behind
        } else {
            EXPECT_EQ(r.lines, 4) << c.what;
            EXPECT_EQ(readAll(data + QStringLiteral("rec.csv")) + readAll(data + QStringLiteral("2-rec.csv")),
                      kHeader + line(3) + kHeader + line(1) + line(2));
        }
        QStringList got = r.files;
        got.sort();
        EXPECT_EQ(got.join('\n'), expected.join('\n')) << c.what;
        // The next start is told where they are.
        EXPECT_EQ(takeRescueNotes(f.files, f.path(QStringLiteral("data"))).join('\n'), expected.join('\n')) << c.what;
    }
}

TEST(RescueFiles, EveryRescueFileIsToldOnceEvenWithoutItsNote)
{
    Folder f;
    const QString data = f.path(QStringLiteral("data"));
    QDir().mkpath(data);
    const QString noted = data + QStringLiteral("/secours-2026-12-01_10-00-00-a.csv");
    const QString unnoted = data + QStringLiteral("/secours-2026-12-02_10-00-00-b.csv");
    const QString fragment = data + QStringLiteral("/fragment-2026-12-03_10-00-00-c.csv");
    for (const QString &p : {noted, unnoted, fragment})
        writeFile(p, kHeader);
    writeFile(data + QStringLiteral("/other.txt"), "not ours");
    ASSERT_EQ(noteRescueFiles(f.files, data, {noted}), 0);
    EXPECT_EQ(takeRescueNotes(f.files, data), (QStringList{fragment, noted, unnoted}));
    EXPECT_TRUE(takeRescueNotes(f.files, data).isEmpty());

    // A note that could not be read is kept, and what it names is not told twice.
    const QString later = data + QStringLiteral("/secours-2026-12-04_10-00-00-d.csv");
    writeFile(later, kHeader);
    writeFile(data + QStringLiteral("/fichiers-de-secours.txt"), {});
    EXPECT_EQ(takeRescueNotes(f.files, data), QStringList{later});
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/fichiers-de-secours.txt")));
}
