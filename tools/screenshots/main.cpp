// Builds the main window (narrow and wide, after a short recording in test mode, then with
// lines waiting to be written), the options window and the About window, and saves what
// each shows as a PNG file.
//
//   orvalin_screenshots <output folder>

#include "app/Logger.h"
#include "app/MainWindow.h"
#include "core/Clock.h"
#include "core/FileSystem.h"
#include "settings/SettingsFile.h"
#include "sources/RealSourceFactory.h"
#include "ui/AboutWindow.h"
#include "ui/Desktop.h"
#include "ui/Look.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QPixmap>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

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
    QCoreApplication::processEvents();
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
    QApplication::setStyle(QStringLiteral("Fusion"));
    orv::installFontSubstitutions();
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
    window.makeAboutWindow = [&desktop](QWidget *parent) { return new orv::AboutWindow(desktop, parent); };
    logger.startUp();
    window.showStartUp();
    window.show();

    // 120 samples a second apart in keyboard test mode, the value steered with "+" and "-".
    QDir(scratch.path()).mkdir(QStringLiteral("mesures"));
    logger.useNewRecordingFile(scratch.filePath(QStringLiteral("mesures/serre.csv")));
    logger.waitForWrites();
    QCoreApplication::sendPostedEvents();
    window.onRecordClicked();
    int value = 0;
    for (int i = 0; i < 120; ++i) {
        const int target = static_cast<int>(std::lround(110 + 70 * std::sin(i / 10.0) + 20 * std::sin(i / 2.7)));
        for (; value < target; ++value)
            window.onTestKey(u'+');
        for (; value > target; --value)
            window.onTestKey(u'-');
        clock.advance(logger.sampleTimer().interval());
        logger.onSampleTimer();
    }
    logger.onReadoutTimer();
    // Show the recording light lit, whatever its blinking timer did meanwhile.
    if (window.controls().ledDisc->fillColor == orv::kLedOffColor)
        window.onLedTimer();

    bool ok = save(&window, out, "main-narrow.png");
    window.onChartToggled();
    ok = save(&window, out, "main-wide.png") && ok;

    // The folder of the recording vanishes (a USB stick pulled): lines wait, the window says so.
    QDir(scratch.filePath(QStringLiteral("mesures"))).removeRecursively();
    for (int i = 0; i < 3; ++i) {
        clock.advance(logger.sampleTimer().interval());
        logger.onSampleTimer();
    }
    ok = save(&window, out, "waiting-wide.png") && ok;
    window.onChartToggled();
    ok = save(&window, out, "waiting-narrow.png") && ok;

    window.onSettingsClicked();
    ok = window.optionsWindow() && save(window.optionsWindow(), out, "options.png") && ok;
    if (window.optionsWindow())
        window.optionsWindow()->close();

    window.onAboutClicked();
    ok = window.aboutWindow() && save(window.aboutWindow(), out, "about.png") && ok;
    logger.shutDown();
    return ok ? 0 : 1;
}
