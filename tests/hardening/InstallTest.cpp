// What `cmake --install` lays out, and where an installed copy keeps its settings.
#include "settings/I_Ofichier.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// Root can write /usr/bin, yet an installed copy must not keep its settings there.
TEST(Install, AnInstalledCopyKeepsItsSettingsInTheUserFolder)
{
    QTemporaryDir user;
    const QString userFile = user.filePath(QStringLiteral("orvtr.cfg"));
    EXPECT_EQ(orv::resolveConfigPath(QStringLiteral("/usr/bin"), user.path()), userFile);
    EXPECT_EQ(orv::resolveConfigPath(QStringLiteral("/usr/local/bin"), user.path()), userFile);
    // A copy in a folder of its own that it can write stays portable.
    QTemporaryDir portable;
    EXPECT_EQ(orv::resolveConfigPath(portable.path(), user.path()), portable.filePath(QStringLiteral("orvtr.cfg")));
}

TEST(Install, PutsEverythingWhereADesktopExpectsIt)
{
    QTemporaryDir prefix;
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(ORVALIN_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(ORVALIN_BINARY_DIR), QStringLiteral("--prefix"), prefix.path()});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
    auto at = [&](const char *relative) { return prefix.filePath(QString::fromLatin1(relative)); };

    const QFileInfo exe(at("bin/orvalin"));
    EXPECT_TRUE(exe.isFile() && exe.isExecutable());

    // The desktop entry, read as a desktop reads it: French name and comment.
    const QString desktopFile = at("share/applications/orvalin.desktop");
    ASSERT_TRUE(QFile::exists(desktopFile));
    const QString entry = QString::fromUtf8(readFile(desktopFile));
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nName=Orvalin Temps Réel\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nComment=Enregistre deux mesures analogiques")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=orvalin\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=orvalin\n")));

    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(at("share/icons/hicolor/") + QStringLiteral("%1x%1/apps/orvalin.png").arg(size));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
        // Rounded, so (nearly) transparent corners; an opaque body.
        EXPECT_LT(qAlpha(icon.pixel(0, 0)), 32) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
    }
    EXPECT_TRUE(readFile(at("share/icons/hicolor/scalable/apps/orvalin.svg")).contains("<svg"));

    const QByteArray metainfo = readFile(at("share/metainfo/" ORVALIN_APP_ID ".metainfo.xml"));
    EXPECT_TRUE(metainfo.contains("<id>" ORVALIN_APP_ID "</id>"));
    EXPECT_TRUE(metainfo.contains("<launchable type=\"desktop-id\">orvalin.desktop</launchable>"));
    EXPECT_TRUE(metainfo.contains("<release version=\"" ORVALIN_VERSION "\""));

    EXPECT_EQ(readFile(at("lib/udev/rules.d/70-k8055.rules")),
              readFile(QStringLiteral(ORVALIN_SOURCE_DIR "/packaging/udev/70-k8055.rules")));

    // Installed in a prefix of one's own: still an installed copy, settings per user.
    QTemporaryDir user;
    EXPECT_EQ(orv::resolveConfigPath(at("bin"), user.path()), user.filePath(QStringLiteral("orvtr.cfg")));
}
