#pragma once

#include "Sources.h"
#include "core/Clock.h"
#include "core/ProgramState.h"
#include "settings/I_Ofichier.h"
#include "ui/Desktop.h"

#include <memory>

namespace orv {

class Orvalin;

// Owns every program-wide value and the real devices, and builds the main window.
class Application {
public:
    explicit Application(const QString &configPath);
    ~Application();

    Orvalin &window() { return *m_window; }

private:
    ProgramState m_state;
    I_Ofichier m_config;
    SystemClock m_clock;
    QtDesktop m_desktop;
    QtSaveDialog m_dialog;
    std::unique_ptr<AcquisitionSources> m_sources;
    std::unique_ptr<Orvalin> m_window;
};

// The sources on the real board and serial port.
std::unique_ptr<AcquisitionSources> makeRealSources(ProgramState &state);

} // namespace orv

class QTranslator;

namespace orv {
// Qt's own texts (question box buttons, file dialog) in French, whatever the system language.
bool installFrenchTranslations(QTranslator &translator);
} // namespace orv
