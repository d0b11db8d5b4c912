// SPDX-License-Identifier: GPL-3.0-or-later
// Recording files as the viewer reads them: every kind of line, several recordings in one
// file, a file that grows, is replaced or is cut, files that are not recordings, the
// chart's decimation and the .xlsx export read back by a reader that no one here wrote.
#include "recordings/Decimation.h"
#include "recordings/RecordingReader.h"
#include "recordings/XlsxExport.h"

#include "Helpers.h"
#include "Printers.h"
#include "core/Texts.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace orv;

namespace {

// A sample as the file shows it: "n;v1;v2;date;time" with the number of its recording.
QString shown(const SampleTable &t, qsizetype i)
{
    auto value = [&](int s) { return t.value(s, i) == kNoValue ? QString() : QString::number(t.value(s, i)); };
    return QStringLiteral("%1:%2;%3;%4;%5")
        .arg(t.recordingOf(i) + 1)
        .arg(value(0), value(1), fileDate(t.time(i)), fileTime(t.time(i)));
}

QStringList shownAll(const SampleTable &t)
{
    QStringList out;
    for (qsizetype i = 0; i < t.size(); ++i)
        out << shown(t, i);
    return out;
}

struct Parsed {
    SampleTable table;
    ReadNotes notes;
};

// Fed in pieces of `piece` bytes, as a file read in chunks or followed as it grows.
Parsed parse(const QByteArray &bytes, qsizetype piece = 0)
{
    Parsed p;
    RecordingParser parser;
    QByteArray pending;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype n = piece > 0 ? std::min(piece, bytes.size() - at) : bytes.size();
        pending += bytes.mid(at, n);
        at += n;
        pending.remove(0, parser.feed(pending, p.table));
    }
    parser.finish(pending, p.table);
    p.notes = parser.notes();
    return p;
}

Sample sample(std::optional<qint32> v1, std::optional<qint32> v2, int second)
{
    Sample s;
    s.value1 = v1;
    s.value2 = v2;
    s.setDate(QDate(2026, 12, 5));
    s.setTime(QTime(14, 3, second));
    return s;
}

struct LinesCase {
    const char *what;
    QByteArray bytes;
    QStringList samples;
    const char *notes;
};

} // namespace

TEST(RecordingReader, EveryKindOfLine)
{
    const QByteArray ours = recordingHeader() + recordingLine(1, sample(128, 255, 7))
                            + recordingLine(2, sample(-3, std::nullopt, 8))
                            + recordingLine(3, sample(std::nullopt, std::nullopt, 9));
    const LinesCase cases[] = {
        {"the program's own bytes: Windows-1252 header, CR LF, empty fields, a negative value",
         ours,
         {"1:128;255;12-05-2026;14:03:07", "1:-3;;12-05-2026;14:03:08", "1:;;12-05-2026;14:03:09"},
         ""},
        {"UTF-8 with a byte order mark, a UTF-8 header, LF, blanks and empty columns a spreadsheet added",
         "\xEF\xBB\xBFN\xC2\xB0Record;Valeur1;Valeur2;Date;Time;;\n1 ; 5;6 ;02-29-2028;23:59:59  \n2;-0;;02-29-2028;"
         "00:00:00;;\n\n",
         {"1:5;6;02-29-2028;23:59:59", "1:0;;02-29-2028;00:00:00"},
         ""},
        {"several recordings: the numbers start again at 1, or do not go up",
         "1;1;;12-05-2026;14:00:00\r\n2;2;;12-05-2026;14:00:01\r\n1;3;;12-06-2026;08:00:00\r\n"
         "5;4;;12-06-2026;09:00:00\r\n5;5;;12-06-2026;09:00:01\r\n",
         {"1:1;;12-05-2026;14:00:00", "1:2;;12-05-2026;14:00:01", "2:3;;12-06-2026;08:00:00",
          "2:4;;12-06-2026;09:00:00", "3:5;;12-06-2026;09:00:01"},
         ""},
        {"lines that are not samples are counted, skipped and named by their line numbers",
         "N\xB0Record;Valeur1;Valeur2;Date;Time\r\nbonjour\r\n1;x;;12-05-2026;14:00:00\r\n"
         "2;1;2;13-05-2026;14:00:00\r\n3;1;2;02-29-2026;14:00:00\r\n4;1;2;12-05-2026;24:00:00\r\n"
         "5;-2147483648;;12-05-2026;14:00:00\r\n6;1;2;12-05-2026\r\n7;1;2;3;12-05-2026;14:00:00\r\n"
         "0;1;2;12-05-2026;14:00:00\r\n8;2147483647;;12-05-2026;14:00:01\r\n",
         {"1:2147483647;;12-05-2026;14:00:01"},
         "9 lignes ne sont pas des mesures et sont ignorées : lignes 2, 3, 4, 5, 6, 7, 8, 9, 10."},
        {"the last line cut by a power cut is ignored and said",
         "1;1;2;12-05-2026;14:00:00\r\n2;1;2;12-05-2026;14:0",
         {"1:1;2;12-05-2026;14:00:00"},
         "La dernière ligne (ligne 2) est incomplète, sans doute coupée par un arrêt brutal : elle est ignorée."},
        {"a last line whose line end an editor dropped is a sample",
         "1;1;2;12-05-2026;14:00:00\n2;3;4;12-05-2026;14:00:01",
         {"1:1;2;12-05-2026;14:00:00", "1:3;4;12-05-2026;14:00:01"},
         ""},
        {"many lines that are not samples are named up to ten",
         "1;1;2;12-05-2026;14:00:00\r\n" + QByteArray("?\r\n").repeated(25),
         {"1:1;2;12-05-2026;14:00:00"},
         "25 lignes ne sont pas des mesures et sont ignorées : lignes 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, … (et 15 "
         "autres)."},
        {"a line longer than any sample, as in a binary file",
         QByteArray(5000, 'x') + "\n1;1;2;12-05-2026;14:00:00\n",
         {"1:1;2;12-05-2026;14:00:00"},
         "1 ligne n'est pas une mesure et est ignorée : ligne 1."},
    };
    for (const LinesCase &c : cases) {
        for (qsizetype piece : {qsizetype(0), qsizetype(1), qsizetype(7)}) {
            const Parsed p = parse(c.bytes, piece);
            EXPECT_EQ(shownAll(p.table), c.samples) << c.what << ", in pieces of " << piece;
            EXPECT_EQ(describeNotes(p.notes), QString::fromUtf8(c.notes)) << c.what << ", in pieces of " << piece;
        }
    }
}

TEST(RecordingReader, TitlesOfTheList)
{
    // One sample a second, but for a gap before the last: still an interval of 1 s.
    SampleTable t;
    const WallSeconds start = wallSeconds(2026, 12, 7, 14, 3, 7);
    for (int i = 0; i < 14400; ++i)
        t.add(start + i + (i >= 14399 ? 490 : 0), i % 100, -i, i == 0);
    EXPECT_EQ(recordingTitle(3, summarize(t, t.recordings()[0])),
              QStringLiteral("Enregistrement 3 : 12-07-2026 14:03:07 → 18:11:16, 14 400 mesures, intervalle 1 s"));
    EXPECT_EQ(intervalText(5400), QStringLiteral("1 h 30 min"));
}

namespace {

struct Folder {
    QTemporaryDir dir;
    PosixRecordingFiles files;
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    void write(const char *name, const QByteArray &bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly)
    {
        ASSERT_TRUE(test::writeFile(path(name), bytes, mode));
    }
};

// A disk that refuses to be read.
class RefusingFiles final : public PosixRecordingFiles {
public:
    int error = EACCES;
    int open(const QString &, int &fd) override
    {
        fd = -1;
        return error;
    }
};

} // namespace

TEST(RecordingReader, FilesThatAreNotRecordingsAreRefusedWithTheReason)
{
    Folder f;
    f.write("photo.jpg", QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11) + QByteArray(3000, '\x7f'));
    f.write("log.txt", QByteArray("systemd[1]: Started session.\n").repeated(3000));
    f.write("big.csv", QByteArray(2000, '\n'));
    f.write("notes.txt", "bonjour\n");
    f.write("word.txt", "bonjour");
    ASSERT_EQ(::mkfifo(f.path("fifo").toLocal8Bit().constData(), 0600), 0);
    RefusingFiles refusing;
    const struct {
        RecordingFiles &files;
        QString path;
        const char *reason;
    } cases[] = {
        {f.files, f.path("absent.csv"), "le fichier n'existe pas"},
        {f.files, f.dir.path(), "c'est un dossier, pas un fichier"},
        {f.files, f.path("fifo"), "c'est un tube ou un périphérique, pas un fichier"},
        {f.files, f.path("photo.jpg"), "ce n'est pas un fichier texte"},
        {f.files, f.path("log.txt"), "ce n'est pas un enregistrement : aucune ligne de mesure au début du fichier"},
        {f.files, f.path("notes.txt"), "ce n'est pas un enregistrement : aucune ligne de mesure"},
        {f.files, f.path("word.txt"), "ce n'est pas un enregistrement : aucune ligne de mesure"},
        {refusing, f.path("notes.txt"), "lecture refusée (droits d'accès)"},
    };
    for (const auto &c : cases) {
        RecordingReader reader(c.files, c.path);
        const RecordingReader::Update u = reader.load();
        EXPECT_EQ(u.kind, RecordingReader::Update::Kind::Failed) << c.path.toStdString();
        EXPECT_EQ(u.error, QString::fromUtf8(c.reason)) << c.path.toStdString();
    }
    RecordingReader capped(f.files, f.path("big.csv"), {.maxBytes = 1000});
    EXPECT_EQ(capped.load().error,
              QStringLiteral("le fichier est trop gros pour un enregistrement (2 ko ; au plus 1 ko)"));
    // A new recording file holds only its header: nothing to show yet, but one to follow.
    f.write("new.csv", recordingHeader());
    RecordingReader fresh(f.files, f.path("new.csv"));
    const RecordingReader::Update u = fresh.load();
    EXPECT_EQ(u.kind, RecordingReader::Update::Kind::Loaded);
    EXPECT_TRUE(u.samples->empty());
}

TEST(RecordingReader, FollowsAFileThatGrowsIsReplacedOrCut)
{
    using Kind = RecordingReader::Update::Kind;
    Folder f;
    const QByteArray head = recordingHeader() + recordingLine(1, sample(1, 2, 0));
    f.write("rec.csv", head);
    RecordingReader reader(f.files, f.path("rec.csv"), {.chunk = 16});
    SampleTable shownTable;
    auto apply = [&](const RecordingReader::Update &u) {
        if (u.kind == Kind::Loaded)
            shownTable = *u.samples;
        else if (u.kind == Kind::Appended)
            shownTable.append(*u.samples);
        return u.kind;
    };
    EXPECT_EQ(apply(reader.poll()), Kind::Loaded);
    EXPECT_EQ(apply(reader.poll()), Kind::Unchanged);

    const struct {
        const char *what;
        std::function<void()> change;
        Kind kind;
        QStringList samples;
        const char *notes;
    } steps[] = {
        {"one line appended",
         [&] { f.write("rec.csv", recordingLine(2, sample(3, 4, 1)), QIODevice::Append); },
         Kind::Appended,
         {"1:1;2;12-05-2026;14:03:00", "1:3;4;12-05-2026;14:03:01"},
         ""},
        {"half a line: said as cut, then read whole when the rest comes",
         [&] { f.write("rec.csv", "1;5;6;12-05", QIODevice::Append); },
         Kind::Appended,
         {"1:1;2;12-05-2026;14:03:00", "1:3;4;12-05-2026;14:03:01"},
         "La dernière ligne (ligne 4) est incomplète, sans doute coupée par un arrêt brutal : elle est ignorée."},
        {"the rest of the line starts a second recording",
         [&] { f.write("rec.csv", "-2026;15:00:00\r\n", QIODevice::Append); },
         Kind::Appended,
         {"1:1;2;12-05-2026;14:03:00", "1:3;4;12-05-2026;14:03:01", "2:5;6;12-05-2026;15:00:00"},
         ""},
        {"replaced by another file of the same size",
         [&] {
             f.write("rec.csv", recordingHeader() + recordingLine(1, sample(7, 8, 0))
                                    + recordingLine(2, sample(7, 8, 1)) + QByteArray("1;9;9;12-05-2026;16:00:00\r\n"));
         },
         Kind::Loaded,
         {"1:7;8;12-05-2026;14:03:00", "1:7;8;12-05-2026;14:03:01", "2:9;9;12-05-2026;16:00:00"},
         ""},
        {"cut shorter", [&] { f.write("rec.csv", head); }, Kind::Loaded, {"1:1;2;12-05-2026;14:03:00"}, ""},
        {"removed: what was read stays",
         [&] { QFile::remove(f.path("rec.csv")); },
         Kind::Unreadable,
         {"1:1;2;12-05-2026;14:03:00"},
         ""},
        {"back again, the same", [&] { f.write("rec.csv", head); }, Kind::Appended, {"1:1;2;12-05-2026;14:03:00"}, ""},
    };
    for (const auto &s : steps) {
        s.change();
        const RecordingReader::Update u = reader.poll();
        EXPECT_EQ(apply(u), s.kind) << s.what;
        EXPECT_EQ(shownAll(shownTable), s.samples) << s.what;
        EXPECT_EQ(describeNotes(u.notes), QString::fromUtf8(s.notes)) << s.what;
    }
}

TEST(Decimation, EachColumnKeepsItsMinimumAndMaximumAndGapsStayGaps)
{
    // 100 000 samples a second apart; a spike up and one down in the middle; value 2 has a
    // gap of a whole column's worth in the first half.
    SampleTable t;
    const qsizetype n = 100'000;
    for (qsizetype i = 0; i < n; ++i) {
        const auto v = static_cast<qint32>(i % 10);
        t.add(i, i == 50'000 ? 1000 : i == 50'001 ? -1000 : v, i >= 20'000 && i < 22'000 ? kNoValue : v, i == 0);
    }
    MinMaxIndex index;
    index.extend(t);
    const int width = 100;
    const auto lines = decimate(t, index, {0, n}, 0, n, width);
    for (int s = 0; s < 2; ++s) {
        const Polyline &l = lines[static_cast<std::size_t>(s)];
        std::map<int, std::vector<double>> perColumn;
        for (const QPointF &p : l.points)
            perColumn[static_cast<int>(p.x())].push_back(p.y());
        for (const auto &[column, ys] : perColumn) {
            EXPECT_LE(ys.size(), 2u) << "column " << column;
            const double lo = *std::min_element(ys.begin(), ys.end()), hi = *std::max_element(ys.begin(), ys.end());
            EXPECT_EQ(lo, column == 50 && s == 0 ? -1000 : 0) << "column " << column;
            EXPECT_EQ(hi, column == 50 && s == 0 ? 1000 : 9) << "column " << column;
        }
        EXPECT_EQ(perColumn.size(), s == 0 ? 100u : 98u);
        EXPECT_EQ(l.runStarts.size(), s == 0 ? 1u : 2u);
    }
    // Zoomed in to a few samples: the samples themselves, at their own times.
    const auto near = decimate(t, index, {0, n}, 20'990.5, 21'010.5, width);
    EXPECT_EQ(near[0].points.size(), 22u);
    EXPECT_EQ(near[0].points.front(), QPointF(-2.5, 0));
    EXPECT_TRUE(near[1].points.empty());
    EXPECT_EQ(nearestSample(t, {0, n}, 41.4), 41);
    EXPECT_EQ(nearestSample(t, {0, n}, 1e9), n - 1);
}

TEST(XlsxExport, SpreadsheetsReadRealDatesNumbersAndEmptyCells)
{
    QTemporaryDir dir;
    const QByteArray bytes = recordingHeader() + "1;128;;12-07-2026;14:03:07\r\n2;-3;7;12-13-2026;23:59:59\r\n"
                             + "1;;;01-01-2027;00:00:00\r\n";
    const Parsed p = parse(bytes);
    const QString out = dir.filePath(QStringLiteral("r.xlsx"));
    ASSERT_EQ(exportXlsx(p.table, out), QString());
    QProcess python;
    // Debian's interpreter, the one python3-openpyxl installs for.
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import openpyxl, sys\n"
                                 "wb = openpyxl.load_workbook(sys.argv[1])\n"
                                 "for ws in wb:\n"
                                 "    print(ws.title)\n"
                                 "    for row in ws.iter_rows(values_only=True):\n"
                                 "        print(repr(row))\n"
                                 "print(wb['Enregistrement 1']['A2'].number_format)\n"),
                  out});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()),
              QStringLiteral(
                  "Résumé\n"
                  "('Enregistrement', 'Début', 'Fin', 'Mesures', 'Valeur 1 min', 'Valeur 1 moyenne', 'Valeur 1 max', "
                  "'Valeur 2 min', 'Valeur 2 moyenne', 'Valeur 2 max')\n"
                  "(1, datetime.datetime(2026, 12, 7, 14, 3, 7), datetime.datetime(2026, 12, 13, 23, 59, 59), 2, "
                  "-3, 62.5, 128, 7, 7, 7)\n"
                  "(2, datetime.datetime(2027, 1, 1, 0, 0), datetime.datetime(2027, 1, 1, 0, 0), 1, None, None, None, "
                  "None, None, None)\n"
                  "Enregistrement 1\n"
                  "('Date et heure', 'Valeur 1', 'Valeur 2')\n"
                  "(datetime.datetime(2026, 12, 7, 14, 3, 7), 128, None)\n"
                  "(datetime.datetime(2026, 12, 13, 23, 59, 59), -3, 7)\n"
                  "Enregistrement 2\n"
                  "('Date et heure', 'Valeur 1', 'Valeur 2')\n"
                  "(datetime.datetime(2027, 1, 1, 0, 0), None, None)\n"
                  "dd/mm/yyyy hh:mm:ss\n"))
        << python.readAllStandardError().toStdString();
}
