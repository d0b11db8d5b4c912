// Every input kept for the fuzzers, the seeds and what they once found, run through the
// same checks in the normal and sanitizer builds. A broken check aborts the test.
#include "FuzzChecks.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(FuzzInputs, TheSettingsReaderHoldsItsPromises)
{
    int replayed = 0;
    for (const char *kind : {"corpus", "regressions"}) {
        const QDir dir(QStringLiteral(ORVALIN_FUZZ_INPUTS "/%1/config").arg(QLatin1String(kind)));
        for (const QString &name : dir.entryList(QDir::Files)) {
            QFile f(dir.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray bytes = f.readAll();
            orv::fuzz::checkConfig(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()));
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}
