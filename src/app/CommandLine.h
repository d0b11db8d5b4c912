#pragma once

#include "Logger.h"
#include "publishing/BrokerAddress.h"

#include <QString>
#include <QStringList>

namespace orv {

// What the command line asks for. Without options the program opens its window as always.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    bool record = false;   // start a recording at once, as the record button does
    bool headless = false; // no window at all
    Logger::Overrides overrides;
    std::optional<BrokerAddress> broker; // --mqtt and --mqtt-ca; the credentials come later
    QString error;                       // French, one line, for Refuse
};

CommandLine parseCommandLine(const QStringList &arguments);
QString commandLineHelp();
QString versionText();

} // namespace orv
