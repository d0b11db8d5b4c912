// The settings reader on any bytes: it never fails, every field ends in its range, and
// what the program then saves reads back as the same record.
#include "FuzzChecks.h"
#include "FuzzSupport.h"

#include "settings/I_Ofichier.h"

namespace orv::fuzz {

namespace {

QByteArray describe(const SettingsRecord &r)
{
    return show(r.fileName) + " / " + QByteArray::number(r.intervalIndex) + " / "
        + QByteArray::number(r.sourceCode) + " / " + QByteArray::number(r.windowWidth);
}

bool same(const SettingsRecord &a, const SettingsRecord &b)
{
    return a.fileName == b.fileName && a.intervalIndex == b.intervalIndex && a.sourceCode == b.sourceCode
        && a.windowWidth == b.windowWidth;
}

} // namespace

void checkConfig(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    // Start from values no file gives, so a field the reader forgot shows up.
    SettingsRecord record;
    record.fileName = QStringLiteral("leftover");
    record.intervalIndex = 200;
    record.sourceCode = 200;
    record.windowWidth = -7;
    parseConfig(bytes, record);

    require(record.intervalIndex >= 1 && record.intervalIndex <= 10, "interval index out of 1..10", describe(record));
    require(record.sourceCode <= 2, "source code out of 0..2", describe(record));
    require(!record.fileName.isEmpty(), "empty recording file name", describe(record));

    const QByteArray saved = formatConfig(record);
    require(saved.startsWith("\"NE PAS MODIFIER CE FICHIER\",\"") && saved.endsWith("\r\n"),
            "saved line is not one quoted header, items and CR LF", saved);

    // The format quotes text without escapes, so a name holding a double quote cannot be
    // stored; every other name must survive a save and a start.
    if (record.fileName.contains(QLatin1Char('"')))
        return;
    SettingsRecord reread;
    const bool clean = parseConfig(saved, reread);
    require(same(record, reread), "saved settings read back differently", describe(record) + " -> " + describe(reread));
    require(clean, "a saved file reads as damaged", saved);
}

} // namespace orv::fuzz
