// Builds the main window (narrow and wide, after a short recording in test mode), the
// options window and the About window, and saves what each shows as a PNG file.
//
//   orvalin_screenshots <output folder>

#include "app/Orvalin.h"
#include "app/Sources.h"
#include "core/Clock.h"
#include "settings/I_Ofichier.h"
#include "ui/About.h"
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
    bool askYesNo(QWidget *, const QString &, const QString &) override { return true; }
    void inform(QWidget *, const QString &, const QString &) override {}
    bool openLink(const QString &) override { return false; }
};

class NoDialog final : public orv::SaveDialog {
public:
    bool ShowSave(QWidget *) override { return false; }
};

// Test mode reads no device; these are never asked for a value.
class NoSources final : public orv::AcquisitionSources {
public:
    void usb_ouvre() override {}
    void usb_lit() override {}
    QString usbProblem() const override { return {}; }
    void rs232_ouvre() override {}
    void rs232_lit() override {}
    void rs232_ferme() override {}
    bool serialPortOpen() const override { return false; }
    void serialEmptyBuffer() override {}
    QString serialProblem() const override { return {}; }
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

    orv::ProgramState state;
    orv::I_Ofichier config(state, scratch.filePath(QStringLiteral("orvtr.cfg")));
    StillClock clock;
    QuietDesktop desktop;
    NoDialog dialog;
    NoSources sources;
    orv::Orvalin window(state, config, orv::Services{clock, desktop, dialog, sources});
    window.makeAboutWindow = [&desktop](QWidget *parent) { return new orv::About(desktop, parent); };
    window.Form_Load();
    window.show();

    // 120 samples a second apart in keyboard test mode, the value steered with "+" and "-".
    window.CmdRecord_Click();
    int value = 0;
    for (int i = 0; i < 120; ++i) {
        const int target = static_cast<int>(std::lround(110 + 70 * std::sin(i / 10.0) + 20 * std::sin(i / 2.7)));
        for (; value < target; ++value)
            window.Form_KeyPress(43);
        for (; value > target; --value)
            window.Form_KeyPress(45);
        clock.advance(i == 0 ? 10 : 1000);
        window.Timer1_Timer();
    }
    window.TimerValActu_Timer();
    QCoreApplication::processEvents();
    // Show the recording light lit, whatever its blinking timer did meanwhile.
    if (orv::rgbNumber(window.ui().Led1->fillColor) == orv::kLedOff)
        window.TimerLed_Timer();

    bool ok = save(&window, out, "main-narrow.png");
    window.menuGraphe_Click();
    ok = save(&window, out, "main-wide.png") && ok;

    window.menuReglage_Click();
    ok = window.optionsWindow() && save(window.optionsWindow(), out, "options.png") && ok;
    if (window.optionsWindow())
        window.optionsWindow()->close();

    window.menu_apropos_Click();
    ok = window.aboutWindow() && save(window.aboutWindow(), out, "about.png") && ok;
    return ok ? 0 : 1;
}
