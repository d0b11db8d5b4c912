#pragma once

#include "app/Orvalin.h"
#include "app/Sources.h"
#include "settings/I_Ofichier.h"
#include "ui/Desktop.h"
#include "FakeClock.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace orv::test {

// Answers the question box from a script and records what the windows asked.
class FakeDesktop final : public Desktop {
public:
    bool answer = true;
    int beeps = 0;
    QStringList questions; // "caption|text"
    QStringList messages;
    QStringList links;
    bool linkOpens = true;

    void beep() override { ++beeps; }
    bool askYesNo(QWidget *, const QString &caption, const QString &text) override
    {
        questions << caption + QLatin1Char('|') + text;
        return answer;
    }
    void inform(QWidget *, const QString &, const QString &text) override { messages << text; }
    bool openLink(const QString &link) override
    {
        links << link;
        return linkOpens;
    }
};

// The save dialog, answered by the test: a name, or a cancel.
class FakeSaveDialog final : public SaveDialog {
public:
    QString chooses;  // empty: the user cancels
    int shown = 0;
    QString seenName, seenTitle;
    int seenFlags = 0;

    bool ShowSave(QWidget *) override
    {
        ++shown;
        seenName = FileName;
        seenTitle = DialogTitle;
        seenFlags = Flags;
        if (chooses.isEmpty())
            return false;
        FileName = chooses;
        return true;
    }
};

// Sources that log every call; readings are set by the test through the state.
class FakeSources final : public AcquisitionSources {
public:
    QStringList calls;
    bool portOpen = false;
    QString usbProblemText;
    QString serialProblemText;

    void usb_ouvre() override { calls << QStringLiteral("usb_ouvre"); }
    void usb_lit() override { calls << QStringLiteral("usb_lit"); }
    QString usbProblem() const override { return usbProblemText; }
    void rs232_ouvre() override
    {
        calls << QStringLiteral("rs232_ouvre");
        portOpen = true;
    }
    void rs232_lit() override { calls << QStringLiteral("rs232_lit"); }
    void rs232_ferme() override
    {
        calls << QStringLiteral("rs232_ferme");
        portOpen = false;
    }
    bool serialPortOpen() const override { return portOpen; }
    void serialEmptyBuffer() override { calls << QStringLiteral("serialEmptyBuffer"); }
    QString serialProblem() const override { return serialProblemText; }
};

// A main window on fakes, in a folder of its own that is also the current directory.
struct Rig {
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    ProgramState state;
    std::unique_ptr<I_Ofichier> config;
    FakeClock clock;
    FakeDesktop desktop;
    FakeSaveDialog dialog;
    FakeSources sources;
    std::unique_ptr<Orvalin> window;

    Rig()
    {
        QDir::setCurrent(dir.path());
        config = std::make_unique<I_Ofichier>(state, dir.filePath(QStringLiteral("orvtr.cfg")));
    }
    ~Rig()
    {
        window.reset();
        QDir::setCurrent(previousDir);
    }

    void writeConfig(const QByteArray &bytes)
    {
        QFile f(config->path());
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    QByteArray configBytes() const { return readFile(config->path()); }
    QByteArray csv(const QString &name = QStringLiteral("data_tr.csv")) const
    {
        return readFile(dir.filePath(name));
    }
    static QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    Orvalin &start()
    {
        window = std::make_unique<Orvalin>(state, *config, Services{clock, desktop, dialog, sources});
        window->Form_Load();
        return *window;
    }

    // Runs the sampling timer as the event loop would: each tick when it is due.
    void runTicks(int ticks)
    {
        for (int i = 0; i < ticks && window->ui().Timer1->isActive(); ++i) {
            clock.advance(window->ui().Timer1->interval());
            window->Timer1_Timer();
        }
    }
};

} // namespace orv::test
