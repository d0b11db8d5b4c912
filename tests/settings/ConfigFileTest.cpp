// The settings file as other programs and later starts read it.
#include "settings/I_Ofichier.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orv;

namespace {
SettingsRecord parsed(const QByteArray &bytes)
{
    SettingsRecord r;
    parseConfig(bytes, r);
    return r;
}
} // namespace

TEST(SettingsFile, DefaultsAreTheFiftyThreeByteLine)
{
    const QByteArray bytes = formatConfig(defaultSettings());
    EXPECT_EQ(bytes, QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",1,0,3600\r\n"));
    EXPECT_EQ(bytes.size(), 53);
}

TEST(SettingsFile, NameWithCommasAndSpacesRoundTrips)
{
    SettingsRecord r = defaultSettings();
    r.fileName = QStringLiteral("/home/léa/Mesures, avril/essai 1,2.csv");
    r.intervalIndex = 10;
    r.sourceCode = 2;
    r.windowWidth = -7170;
    const SettingsRecord back = parsed(formatConfig(r));
    EXPECT_EQ(back.fileName, r.fileName);
    EXPECT_EQ(back.intervalIndex, 10);
    EXPECT_EQ(back.sourceCode, 2);
    EXPECT_EQ(back.windowWidth, -7170);
}

TEST(SettingsFile, ReaderRules)
{
    // Items on separate lines, leading spaces, text after a closing quote.
    SettingsRecord r = parsed("\"NE PAS\"\r\n  \"a.csv\" junk\r\n4\r\n 1\r\n7170\r\n");
    EXPECT_EQ(r.fileName, QStringLiteral("a.csv"));
    EXPECT_EQ(r.intervalIndex, 4);
    EXPECT_EQ(r.sourceCode, 1);
    EXPECT_EQ(r.windowWidth, 7170);

    // The last complete group of five wins; a trailing partial group is ignored.
    r = parsed("\"x\",\"first.csv\",2,1,4410\r\n\"x\",\"second.csv\",3,2,7170\r\n\"x\",\"third.csv\"\r\n");
    EXPECT_EQ(r.fileName, QStringLiteral("second.csv"));
    EXPECT_EQ(r.intervalIndex, 3);
    EXPECT_EQ(r.sourceCode, 2);
    EXPECT_EQ(r.windowWidth, 7170);
}

TEST(SettingsFile, DamagedFieldsTakeTheirDefaultsAndOthersKeepTheirValues)
{
    struct Case {
        const char *bytes;
        const char *name;
        int interval, source, width;
    };
    const Case cases[] = {
        {"\"x\",\"a.csv\",abc,2,5000\r\n", "a.csv", 1, 2, 5000},       // text in a number
        {"\"x\",\"a.csv\",11,2,5000\r\n", "a.csv", 1, 2, 5000},        // interval out of range
        {"\"x\",\"a.csv\",0,2,5000\r\n", "a.csv", 1, 2, 5000},
        {"\"x\",\"a.csv\",5,3,5000\r\n", "a.csv", 5, 0, 5000},         // source out of range
        {"\"x\",\"a.csv\",5,-1,5000\r\n", "a.csv", 5, 0, 5000},
        {"\"x\",\"a.csv\",5,1,99999\r\n", "a.csv", 5, 1, 3600},        // width does not fit
        {"\"x\",\"a.csv\",5,1,\r\n", "a.csv", 5, 1, 3600},             // empty width
        {"\"x\",\"a.csv\",5\r\n", "a.csv", 5, 0, 3600},                // missing items
        {"\"x\",\"\",5,1,4410\r\n", "data_tr.csv", 5, 1, 4410},        // empty name
        {"", "data_tr.csv", 1, 0, 3600},                                // empty file
        {"\xff\xfe\x00garbage\x01", "data_tr.csv", 1, 0, 3600},          // not a settings file
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes);
        const SettingsRecord r = parsed(QByteArray(c.bytes, static_cast<qsizetype>(qstrlen(c.bytes))));
        EXPECT_EQ(r.fileName, QString::fromUtf8(c.name));
        EXPECT_EQ(r.intervalIndex, c.interval);
        EXPECT_EQ(r.sourceCode, c.source);
        EXPECT_EQ(r.windowWidth, c.width);
    }
}

TEST(SettingsFile, UndecodableBytesDoNotCrashTheReader)
{
    QByteArray bytes("\"x\",\"caf\xe9\xff\xfe.csv\",2,0,4410\r\n");
    const SettingsRecord r = parsed(bytes);
    EXPECT_FALSE(r.fileName.isEmpty());
    EXPECT_EQ(r.intervalIndex, 2);
}

TEST(SettingsFile, SaveWritesOneLineAndLoadReadsItBack)
{
    QTemporaryDir dir;
    ProgramState state;
    I_Ofichier module(state, dir.filePath(QStringLiteral("orvtr.cfg")));
    EXPECT_FALSE(module.exists());
    state.settings = defaultSettings();
    module.sauve_config();
    state.settings.intervalIndex = 7;
    module.sauve_config();

    QFile f(module.path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\"NE PAS MODIFIER CE FICHIER\",\"data_tr.csv\",7,0,3600\r\n"));

    ProgramState fresh;
    I_Ofichier reader(fresh, module.path());
    reader.charge_config();
    EXPECT_EQ(fresh.settings.intervalIndex, 7);
}

TEST(SettingsFile, LocationFallsBackToTheUserFolderWhenTheProgramFolderIsReadOnly)
{
    QTemporaryDir dir;
    EXPECT_EQ(resolveConfigPath(dir.path(), QStringLiteral("/home/u/.config/orvalin")),
              dir.filePath(QStringLiteral("orvtr.cfg")));
    // A folder that cannot be written (here: one that does not exist, since the tests may run as root).
    EXPECT_EQ(resolveConfigPath(dir.filePath(QStringLiteral("gone")), QStringLiteral("/home/u/.config/orvalin")),
              QStringLiteral("/home/u/.config/orvalin/orvtr.cfg"));
}

TEST(SettingsFile, UnwritableLocationKeepsSettingsInMemory)
{
    ProgramState state;
    state.settings = defaultSettings();
    I_Ofichier module(state, QStringLiteral("/proc/orvalin-nowhere/orvtr.cfg"));
    module.sauve_config();
    EXPECT_FALSE(module.lastSaveSucceeded());
    EXPECT_EQ(state.settings.fileName, QStringLiteral("data_tr.csv"));
}
