// SPDX-License-Identifier: GPL-3.0-or-later
// Every input kept for the fuzzers, the seeds and what they once found, run through the
// same checks in the normal and sanitizer builds. A broken check aborts the test.
#include "FuzzChecks.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Replays every kept input of one target through its check; returns how many there were.
int replay(const char *target, void (*check)(const std::uint8_t *, std::size_t))
{
    int replayed = 0;
    for (const char *kind : {"corpus", "regressions"}) {
        const QDir dir(QStringLiteral(ORVALIN_FUZZ_INPUTS "/%1/%2").arg(QLatin1String(kind), QLatin1String(target)));
        for (const QString &name : dir.entryList(QDir::Files)) {
            QFile f(dir.filePath(name));
            EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray bytes = f.readAll();
            check(reinterpret_cast<const std::uint8_t *>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
            ++replayed;
        }
    }
    return replayed;
}

} // namespace

TEST(FuzzInputs, TheSettingsAndRecordingReadersHoldTheirPromises)
{
    EXPECT_GT(replay("config", orv::fuzz::checkConfig), 0);
    EXPECT_GT(replay("recording", orv::fuzz::checkRecording), 0);
}
