// Saves what the windows show in each scene of WindowScenes as a PNG file: the main window
// narrow and wide after a short recording in test mode, then with lines waiting to be
// written, the options window and the About window.
//
//   orvalin_screenshots <output folder>

#include "WindowScenes.h"
#include "app/Logger.h"
#include "app/MainWindow.h"
#include "core/Clock.h"
#include "core/FileSystem.h"
#include "settings/SettingsFile.h"
#include "sources/RealSourceFactory.h"
#include "ui/Desktop.h"
#include "ui/Look.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>
#include <utility>

namespace {

// Time stands still unless the tool moves it, so every run draws the same pictures.
class StillClock final : public orv::Clock {
public:
    qint64 steadyMs() const override { return m_steady; }
    QDateTime localNow() const override { return m_wall; }
    void advance(qint64 ms)
    {
        m_steady += ms;
        m_wall = m_wall.addMSecs(ms);
    }

private:
    qint64 m_steady = 0;
    QDateTime m_wall{QDate(2026, 12, 7), QTime(9, 30, 0)};
};

// Nobody is there to answer: no sound, no box, no link opened.
class QuietDesktop final : public orv::Desktop {
public:
    void beep() override {}
    bool askYesNo(QWidget *, const QString &, orv::QuestionText &) override { return true; }
    void tellBeforeEnd(const QString &, const QString &) override {}
    void inform(QWidget *, const QString &, const QString &) override {}
    bool openLink(const QString &) override { return false; }
};

class NoDialog final : public orv::SaveDialog {
public:
    std::optional<QString> askSaveName(QWidget *, const orv::SaveRequest &) override { return std::nullopt; }
};

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

    // Settings and recording file go to a folder thrown away at the end.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    QDir::setCurrent(scratch.path());

    StillClock clock;
    orv::PosixFileSystem files;
    orv::RealSourceFactory sources; // test mode opens no device
    orv::SettingsFile settings(files, scratch.filePath(QStringLiteral("orvtr.cfg")), QString());
    orv::Logger logger({clock, files, sources, settings, {scratch.filePath(QStringLiteral("rescue"))}});
    QuietDesktop desktop;
    NoDialog dialog;
    orv::MainWindow window(logger, {desktop, dialog});
    logger.startUp();
    window.showStartUp();
    // The folder of the recording vanishes (a USB stick pulled): lines wait, the window says so.
    orv::WindowScenes scenes(
        window, logger, desktop,
        {[&clock](qint64 ms) { clock.advance(ms); }, [] { QDir(QStringLiteral("mesures")).removeRecursively(); }});

    using Scene = orv::WindowScenes::Scene;
    const std::pair<Scene, const char *> pictures[] = {
        {Scene::Narrow, "main-narrow.png"},       {Scene::Wide, "main-wide.png"},
        {Scene::WaitingWide, "waiting-wide.png"}, {Scene::WaitingNarrow, "waiting-narrow.png"},
        {Scene::Options, "options.png"},          {Scene::About, "about.png"},
    };
    bool ok = true;
    for (const auto &[scene, name] : pictures)
        ok = save(scenes.show(scene), out, name) && ok;
    logger.shutDown();
    return ok ? 0 : 1;
}
