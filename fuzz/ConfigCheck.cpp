// SPDX-License-Identifier: GPL-3.0-or-later
// The settings reader on any bytes: it never fails, every field ends in its range, and
// what the program then saves reads back as the same settings, clean.
#include "FuzzChecks.h"
#include "FuzzSupport.h"

#include "settings/SettingsFile.h"

namespace orv::fuzz {

namespace {

QByteArray describe(const Settings &s)
{
    return s.recordingFile.toUtf8() + " / " + QByteArray::number(static_cast<int>(s.interval)) + " / "
           + QByteArray::number(static_cast<int>(s.source)) + " / " + QByteArray::number(s.windowWidth);
}

} // namespace

void checkConfig(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const Settings read = parseSettings(bytes).settings;

    require(intervalFromNumber(static_cast<int>(read.interval)).has_value(), "interval out of 1..10", describe(read));
    require(sourceFromNumber(static_cast<int>(read.source)).has_value(), "source out of 0..2", describe(read));
    require(!read.recordingFile.trimmed().isEmpty(), "empty recording file name", describe(read));

    const QByteArray saved = formatSettings(read);
    require(saved.startsWith("\"NE PAS MODIFIER CE FICHIER\",\"") && saved.endsWith("\r\n"),
            "saved line is not one quoted header, items and CR LF", saved);

    // The format quotes text without escapes, so a name holding a double quote cannot be
    // stored; every other name must survive a save and a start.
    if (read.recordingFile.contains(QLatin1Char('"')))
        return;
    const ParsedSettings reread = parseSettings(saved);
    require(reread.settings == read, "saved settings read back differently",
            describe(read) + " -> " + describe(reread.settings));
    require(!reread.damaged, "a saved file reads as damaged", saved);
}

} // namespace orv::fuzz
