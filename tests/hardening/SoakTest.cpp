// A full store, twice, through the main window on a fake clock: every sample reaches the
// file and the list, the one after the last is refused, and a second recording behaves
// like the first. How memory and time per sample behave is reported by bench/soak.
#include "Fakes.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

namespace {
// The soak is about the program, not the disk: 64000 syncs of a real disk take a minute
// (bench_sampling times the durable write). The file goes to memory when it can.
struct FileInMemory {
    const QByteArray previous = qgetenv("TMPDIR");
    FileInMemory()
    {
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
            qputenv("TMPDIR", "/dev/shm");
    }
    ~FileInMemory()
    {
        if (previous.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", previous);
    }
};
} // namespace

TEST(Soak, TwoFullRecordingsThroughTheMainWindow)
{
    FileInMemory memory;
    Rig rig;
    Orvalin &w = rig.start();

    for (int recording = 1; recording <= 2; ++recording) {
        SCOPED_TRACE(recording);
        w.CmdRecord_Click();
        rig.runTicks(32000);
        ASSERT_EQ(w.store().count(), 32000);
        EXPECT_TRUE(w.ui().Timer1->isActive());
        EXPECT_TRUE(rig.desktop.messages.size() == static_cast<qsizetype>(recording - 1));

        // The 32001st sample is refused: the recording stops and the user is told.
        rig.runTicks(1);
        EXPECT_EQ(w.store().count(), 32000);
        EXPECT_FALSE(w.ui().Timer1->isActive());
        EXPECT_EQ(w.ui().CmdRecord->text(), QStringLiteral(" Record   Start"));
        ASSERT_EQ(rig.desktop.messages.size(), recording);
        EXPECT_TRUE(rig.desktop.messages.last().contains(QStringLiteral("32000")));

        const QString list = w.historyText();
        EXPECT_EQ(list.count(QStringLiteral("\r\n")), 32001);
        EXPECT_TRUE(list.endsWith(QStringLiteral(" 000 -- 000 ---  -- \r\n")));
    }

    const QByteArray csv = rig.csv();
    QList<QByteArray> lines = csv.split('\n');
    ASSERT_TRUE(lines.last().isEmpty()) << "the file does not end with a line end";
    lines.removeLast();
    ASSERT_EQ(lines.size(), 1 + 2 * 32000);
    EXPECT_EQ(lines[0], "N\xB0Record;Valeur1;Valeur2;Date;Time\r");
    // One sample a second from 14:03:07; the second recording starts at the refused tick.
    EXPECT_EQ(lines[1], "1;0;;12-05-2026;14:03:07\r");
    EXPECT_EQ(lines[32000], "32000;0;;12-05-2026;22:56:26\r");
    EXPECT_EQ(lines[32001], "1;0;;12-05-2026;22:56:27\r");
    EXPECT_EQ(lines[64000], "32000;0;;12-06-2026;07:49:46\r");
    int misnumbered = 0;
    for (int i = 1; i <= 64000; ++i)
        if (!lines[i].startsWith(QByteArray::number((i - 1) % 32000 + 1) + ';'))
            ++misnumbered;
    EXPECT_EQ(misnumbered, 0);
}
