// The recording file as a spreadsheet or a script reads it, and what survives disk faults.
#include "core/RecordingFile.h"
#include "core/Texts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

using namespace orv;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

Sample sample(SlotValue v1, SlotValue v2, const char *date, const char *time)
{
    return Sample{v1, v2, date, time};
}

QByteArray line(int n)
{
    return recordingLine(n, sample(qint16(n), SlotValue{}, "12-05-2026", "14:03:07"));
}

const QByteArray kHeader("N\xB0Record;Valeur1;Valeur2;Date;Time\r\n");

} // namespace

TEST(RecordingFileFormat, HeaderAndExampleLinesAreByteExact)
{
    EXPECT_EQ(recordingHeader(), kHeader);
    EXPECT_EQ(recordingHeader().size(), 36);
    EXPECT_EQ(recordingHeader().at(1), '\xB0');
    EXPECT_EQ(recordingLine(1, sample(qint16(0), SlotValue{}, "12-05-2026", "14:03:07")),
              QByteArray("1;0;;12-05-2026;14:03:07\r\n"));
    EXPECT_EQ(recordingLine(7, sample(qint32(128), qint32(255), "12-05-2026", "14:03:13")),
              QByteArray("7;128;255;12-05-2026;14:03:13\r\n"));
    EXPECT_EQ(recordingLine(12, sample(qint16(-3), SlotValue{}, "12-05-2026", "14:03:18")),
              QByteArray("12;-3;;12-05-2026;14:03:18\r\n"));
    EXPECT_EQ(recordingLine(32000, sample(qint32(-2147483647 - 1), qint16(-32768), "01-31-2027", "00:00:00")),
              QByteArray("32000;-2147483648;-32768;01-31-2027;00:00:00\r\n"));
}

TEST(RecordingFileFormat, DateAndTimeTexts)
{
    const QDateTime t(QDate(2026, 3, 4), QTime(7, 8, 9));
    EXPECT_EQ(dateText(t), QStringLiteral("03-04-2026"));
    EXPECT_EQ(timeText(t), QStringLiteral("07:08:09"));
    EXPECT_EQ(timeText(QDateTime(QDate(2026, 3, 4), QTime(23, 59, 59))), QStringLiteral("23:59:59"));
}

TEST(RecordingFileWrites, HeaderOnlyWhenTheFileIsNew)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("a.csv"));
    RecordingFile file;
    EXPECT_TRUE(file.append(name, line(1)));
    EXPECT_TRUE(file.append(name, line(2)));
    EXPECT_EQ(readAll(name), kHeader + line(1) + line(2));

    // An existing empty file counts as existing: no header.
    const QString empty = dir.filePath(QStringLiteral("empty.csv"));
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_TRUE(file.append(empty, line(1)));
    EXPECT_EQ(readAll(empty), line(1));
}

TEST(RecordingFileWrites, NewRecordingFileHoldsOnlyTheHeader)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("b.csv"));
    QFile f(name);
    f.open(QIODevice::WriteOnly);
    f.write("old content\r\n");
    f.close();
    QString error;
    EXPECT_TRUE(RecordingFile::createWithHeader(name, &error));
    EXPECT_EQ(readAll(name), kHeader);
    EXPECT_FALSE(RecordingFile::createWithHeader(dir.filePath(QStringLiteral("gone/c.csv")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("le dossier n'existe pas")));
}

TEST(RecordingFileFaults, VanishedFolderKeepsLinesUntilItIsBack)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("mesures"));
    QDir().mkpath(folder);
    const QString name = folder + QStringLiteral("/a.csv");
    RecordingFile file;
    EXPECT_TRUE(file.append(name, line(1)));
    QDir(folder).removeRecursively();

    EXPECT_FALSE(file.append(name, line(2)));
    EXPECT_FALSE(file.append(name, line(3)));
    EXPECT_EQ(file.pendingCount(), 2);
    EXPECT_TRUE(file.lastError().contains(QStringLiteral("le dossier n'existe pas")));

    QDir().mkpath(folder);
    EXPECT_TRUE(file.append(name, line(4)));
    EXPECT_EQ(file.pendingCount(), 0);
    EXPECT_TRUE(file.lastError().isEmpty());
    // The folder came back empty: a new file with its header and the lines in order.
    EXPECT_EQ(readAll(name), kHeader + line(2) + line(3) + line(4));
}

TEST(RecordingFileFaults, PathThatIsAFolderWaitsUntilItIsAFileName)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("x.csv"));
    QDir().mkpath(name);
    RecordingFile file;
    EXPECT_FALSE(file.append(name, line(1)));
    EXPECT_TRUE(file.lastError().contains(QStringLiteral("dossier")));
    QDir(name).removeRecursively();
    EXPECT_TRUE(file.flush());
    EXPECT_EQ(readAll(name), kHeader + line(1));
}

TEST(RecordingFileFaults, FullDiskLeavesOnlyCompleteLines)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("full.csv"));
    RecordingFile file;
    ASSERT_TRUE(file.append(name, line(1)));
    const qint64 used = kHeader.size() + line(1).size();

    // A file size limit a few bytes past the end: the next line only half fits.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(used + 5);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool ok2 = file.append(name, line(2));
    const bool ok3 = file.append(name, line(3));
    const QString error = file.lastError();
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(ok2);
    EXPECT_FALSE(ok3);
    EXPECT_TRUE(error.contains(QStringLiteral("taille maximale")));
    EXPECT_EQ(readAll(name), kHeader + line(1)); // cut back to the last complete line
    EXPECT_EQ(file.pendingCount(), 2);

    EXPECT_TRUE(file.flush());
    EXPECT_EQ(readAll(name), kHeader + line(1) + line(2) + line(3));
}

TEST(RecordingFileFaults, LinesWaitForTheFileTheyWereMeantFor)
{
    QTemporaryDir dir;
    const QString gone = dir.filePath(QStringLiteral("gone/a.csv"));
    const QString other = dir.filePath(QStringLiteral("b.csv"));
    RecordingFile file;
    EXPECT_FALSE(file.append(gone, line(1)));
    // Later lines for another file queue behind, so order is never broken.
    EXPECT_FALSE(file.append(other, line(1)));
    EXPECT_EQ(file.pendingCount(), 2);
    QDir().mkpath(dir.filePath(QStringLiteral("gone")));
    EXPECT_TRUE(file.flush());
    EXPECT_EQ(readAll(gone), kHeader + line(1));
    EXPECT_EQ(readAll(other), kHeader + line(1));
}
