// The recording file when the disk misbehaves: nothing taken is lost, every file ends with
// a complete line, one file that cannot be written never holds back another.
#include "core/RecordingWriter.h"

#include "FaultyFileSystem.h"
#include "core/Texts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace orv;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray line(int n)
{
    return QByteArray::number(n) + ";1;2;12-05-2026;14:03:07\r\n";
}

const QByteArray kHeader = recordingHeader();

struct Folder {
    QTemporaryDir dir;
    test::FaultyFileSystem files;
    RecordingWriter writer{files};
    QString path(const QString &name) const { return dir.filePath(name); }
};

} // namespace

TEST(RecordingWriter, AFileThatCannotBeWrittenNeverHoldsBackAnother)
{
    // Recording into sub/a.csv, the folder vanishes; the next recording goes to b.csv.
    Folder f;
    const QString a = f.path(QStringLiteral("sub/a.csv"));
    const QString b = f.path(QStringLiteral("b.csv"));
    QDir(f.dir.path()).mkdir(QStringLiteral("sub"));
    f.writer.append(a, line(1));
    QDir(f.path(QStringLiteral("sub"))).removeRecursively();
    f.writer.append(a, line(2));
    f.writer.append(a, line(3));
    f.writer.append(b, line(1));
    EXPECT_EQ(readAll(b), kHeader + line(1));
    ASSERT_EQ(f.writer.waiting().size(), 1);
    EXPECT_EQ(f.writer.waiting()[0].file, a);
    EXPECT_EQ(f.writer.waiting()[0].lines, 2);
    EXPECT_EQ(f.writer.waiting()[0].reason, QStringLiteral("le dossier n'existe pas"));

    // The folder comes back: the waiting lines go out in order, behind a fresh header.
    QDir(f.dir.path()).mkdir(QStringLiteral("sub"));
    f.writer.retry();
    EXPECT_EQ(f.writer.waitingLines(), 0);
    EXPECT_EQ(readAll(a), kHeader + line(2) + line(3));
}

TEST(RecordingWriter, UnwritableNamesWaitWithTheirReasonThenGoOutOnce)
{
    struct Case {
        const char *what;
        std::function<void(Folder &, const QString &)> spoil, mend;
        const char *reason;
    };
    const Case cases[] = {
        {"a folder", [](Folder &, const QString &p) { QDir().mkdir(p); },
         [](Folder &, const QString &p) { QDir().rmdir(p); }, "ce nom désigne un dossier"},
        {"a pipe", [](Folder &, const QString &p) { ::mkfifo(QFile::encodeName(p).constData(), 0644); },
         [](Folder &, const QString &p) { QFile::remove(p); }, "ce nom désigne un tube ou un périphérique"},
        {"a full disk", [](Folder &f, const QString &) { f.files.writeError = ENOSPC; },
         [](Folder &f, const QString &) { f.files.writeError = 0; }, "le disque est plein"},
    };
    for (const Case &c : cases) {
        Folder f;
        const QString p = f.path(QStringLiteral("rec.csv"));
        c.spoil(f, p);
        QElapsedTimer took;
        took.start();
        f.writer.append(p, line(1));
        f.writer.append(p, line(2));
        EXPECT_LT(took.elapsed(), 2000) << c.what << " must not block the recording";
        ASSERT_EQ(f.writer.waitingLines(), 2) << c.what;
        EXPECT_EQ(f.writer.waiting()[0].reason, QString::fromUtf8(c.reason)) << c.what;
        c.mend(f, p);
        f.writer.retry();
        f.writer.retry();
        EXPECT_EQ(f.writer.waitingLines(), 0) << c.what;
        EXPECT_EQ(readAll(p), kHeader + line(1) + line(2)) << c.what;
    }
}

TEST(RecordingWriter, ALineThatDoesNotFitIsCutBackSoTheFileEndsWhole)
{
    Folder f;
    const QString p = f.path(QStringLiteral("rec.csv"));
    f.writer.append(p, line(1));
    const qint64 size = QFileInfo(p).size();
    // A file-size limit that half a line fits under, as a nearly full disk would give.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = static_cast<rlim_t>(size + 10);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    f.writer.append(p, line(2));
    EXPECT_EQ(readAll(p), kHeader + line(1));
    ::setrlimit(RLIMIT_FSIZE, &old);
    f.writer.retry();
    EXPECT_EQ(readAll(p), kHeader + line(1) + line(2));
}

TEST(RecordingWriter, WhatStillWaitsGoesToARescueFileInTheFirstFolderThatTakesIt)
{
    Folder f;
    const QString lost = f.path(QStringLiteral("gone/rec.csv"));
    f.writer.append(lost, line(1));
    f.writer.append(lost, line(2));
    f.writer.append(f.path(QStringLiteral("gone too/rec.csv")), line(3)); // the same name
    // A name the folder took, but too long once "secours-<date>_<time>-" stands before it.
    const QString longName = QStringLiteral("é").repeated(120) + QStringLiteral(".csv");
    f.writer.append(f.path(QStringLiteral("gone/") + longName), line(4));
    QFile(f.path(QStringLiteral("blocked"))).open(QIODevice::WriteOnly); // a file, not a folder

    const RecordingWriter::Rescue r =
        f.writer.rescue({f.path(QStringLiteral("blocked")), f.path(QStringLiteral("data"))},
                        QDateTime(QDate(2026, 12, 5), QTime(14, 3, 9)));
    const QStringList expected{
        f.path(QStringLiteral("data/secours-2026-12-05_14-03-09-rec.csv")),
        f.path(QStringLiteral("data/secours-2026-12-05_14-03-09-2-rec.csv")),
        f.path(QStringLiteral("data/secours-2026-12-05_14-03-09-") + longName.right(111 + 4)),
    };
    EXPECT_EQ(r.files, expected);
    EXPECT_EQ(r.lines, 4);
    EXPECT_EQ(r.lost, 0);
    EXPECT_EQ(readAll(expected[0]), kHeader + line(1) + line(2));
    EXPECT_EQ(readAll(expected[1]), kHeader + line(3));
    EXPECT_EQ(f.writer.waitingLines(), 0);
    // The next start is told once where they are.
    EXPECT_EQ(takeRescueNotes(f.files, f.path(QStringLiteral("data"))), expected);
    EXPECT_TRUE(takeRescueNotes(f.files, f.path(QStringLiteral("data"))).isEmpty());
}

TEST(RecordingWriter, ANewRecordingFileHoldsOnlyTheHeader)
{
    Folder f;
    const QString p = f.path(QStringLiteral("new.csv"));
    QFile old(p);
    old.open(QIODevice::WriteOnly);
    old.write("old content\r\n");
    old.close();
    EXPECT_EQ(RecordingWriter::createWithHeader(f.files, p), 0);
    EXPECT_EQ(readAll(p), QByteArray("N\xB0Record;Valeur1;Valeur2;Date;Time\r\n"));
    // An existing empty file counts as existing: no header is added to it.
    QFile(f.path(QStringLiteral("empty.csv"))).open(QIODevice::WriteOnly);
    f.writer.append(f.path(QStringLiteral("empty.csv")), line(1));
    EXPECT_EQ(readAll(f.path(QStringLiteral("empty.csv"))), line(1));

    const QString fifo = f.path(QStringLiteral("fifo.csv"));
    ::mkfifo(QFile::encodeName(fifo).constData(), 0644);
    EXPECT_EQ(RecordingWriter::createWithHeader(f.files, fifo), kNotARegularFile);
}
