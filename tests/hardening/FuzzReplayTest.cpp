// Every input kept for the fuzzers, the seeds and what they once found, run through the
// same checks in the normal and sanitizer builds. A broken check aborts the test.
#include "FuzzChecks.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

int replay(const char *input, void (*check)(const std::uint8_t *, std::size_t))
{
    int count = 0;
    for (const char *kind : {"corpus", "regressions"}) {
        const QDir dir(QStringLiteral(ORVALIN_FUZZ_INPUTS "/%1/%2").arg(QLatin1String(kind), QLatin1String(input)));
        for (const QString &name : dir.entryList(QDir::Files)) {
            QFile f(dir.filePath(name));
            EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray bytes = f.readAll();
            SCOPED_TRACE(name.toStdString());
            check(reinterpret_cast<const std::uint8_t *>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
            ++count;
        }
    }
    return count;
}

} // namespace

TEST(FuzzInputs, SettingsFileReader)
{
    EXPECT_GT(replay("config", orv::fuzz::checkConfig), 0);
}

TEST(FuzzInputs, SerialFramePath)
{
    EXPECT_GT(replay("serial", orv::fuzz::checkSerial), 0);
}

TEST(FuzzInputs, HistoryAndRecordingLines)
{
    EXPECT_GT(replay("lines", orv::fuzz::checkLines), 0);
}
