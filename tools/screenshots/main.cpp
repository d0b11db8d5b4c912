// SPDX-License-Identifier: GPL-3.0-or-later
// Saves what the windows show in each scene of WindowScenes as a PNG file: the main window
// narrow and wide after a short recording in test mode, then with lines waiting to be
// written, the options window and the About window.
//
//   orvalin_screenshots <output folder>

#include "FakeDesktop.h"
#include "LoggerRig.h"
#include "WindowScenes.h"
#include "ui/Look.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QPixmap>

#include <cstdio>
#include <utility>

namespace {

bool save(QWidget *w, const QDir &out, const char *name)
{
    if (!w)
        return false;
    const QString path = out.filePath(QLatin1String(name));
    if (!w->grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    orv::useProgramLook();
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots"));
    if (!QDir().mkpath(out.path()))
        return 1;

    // Settings and recording file go to a folder thrown away at the end; time stands still
    // unless the scenes move it, nobody answers, so every run draws the same pictures.
    orv::test::LoggerRig rig;
    rig.clock.setWall(QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0)));
    orv::test::FakeDesktop desktop;
    orv::test::FakeSaveDialog dialog;
    orv::MainWindow window(rig.make(), {desktop, dialog});
    rig.logger->startUp();
    window.showStartUp();
    // The folder of the recording vanishes (a USB stick pulled): lines wait, the window says so.
    orv::WindowScenes scenes(
        window, *rig.logger, desktop,
        {[&rig](qint64 ms) { rig.clock.advance(ms); }, [] { QDir(QStringLiteral("mesures")).removeRecursively(); }});

    using Scene = orv::WindowScenes::Scene;
    const std::pair<Scene, const char *> pictures[] = {
        {Scene::Narrow, "main-narrow.png"},       {Scene::Wide, "main-wide.png"},
        {Scene::WaitingWide, "waiting-wide.png"}, {Scene::WaitingNarrow, "waiting-narrow.png"},
        {Scene::Options, "options.png"},          {Scene::About, "about.png"},
    };
    bool ok = true;
    for (const auto &[scene, name] : pictures)
        ok = save(scenes.show(scene), out, name) && ok;
    rig.logger->shutDown();
    return ok ? 0 : 1;
}
