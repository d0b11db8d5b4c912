// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logging/Logger.h"
#include "publishing/BrokerAddress.h"

#include <QSize>
#include <QString>
#include <QStringList>

namespace orv {

// What the command line asks for. Without options the program opens its window as always.
struct CommandLine {
    enum class Action {
        Run,
        ShowHelp,
        ShowVersion,
        Refuse,
        View,   // recording files to look at, one viewer window each
        Export, // a recording file to export without a window
    };
    Action action = Action::Run;
    bool record = false;   // start a recording at once, as the record button does
    bool headless = false; // no window at all
    Logger::Overrides overrides;
    std::optional<BrokerAddress> broker; // --mqtt and --mqtt-ca; the credentials come later
    QString error;                       // French, one line, for Refuse
    QStringList files;                   // View
    QString exportFile;                  // Export: the recording file,
    QString exportOutput;                // the file to write, .xlsx, .png or .svg,
    QSize exportSize{1600, 900};         // and the size of a picture
};

// Exit code of an export that could not read its file or write its output.
inline constexpr int kExportFailed = 1;

CommandLine parseCommandLine(const QStringList &arguments);
QString commandLineHelp();
QString versionText();

} // namespace orv
