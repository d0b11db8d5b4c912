#pragma once

#include <QString>
#include <QtGlobal>

namespace orv {

// The persisted choices of the user, in the order the settings file stores them.
struct SettingsRecord {
    QString fileName;        // recording file: a bare name or a full path
    quint8 intervalIndex = 0; // 1..10 once start-up has run
    quint8 sourceCode = 0;    // 0 keyboard test, 1 USB board, 2 serial device
    qint16 windowWidth = 0;   // twips, stored by the chart toggle
};

enum SourceCode : quint8 { SourceTest = 0, SourceUsb = 1, SourceSerial = 2 };

// The values last obtained from the chosen source. A reading is "missing" when the
// source was asked and did not answer; a sample taken then stores nothing for it.
struct LatestReadings {
    qint32 value1 = 0;
    qint32 value2 = 0;
    bool missing1 = false;
    bool missing2 = false;
};

// Every program-wide value lives here, owned by the application, so a test can
// build a fresh one instead of resetting globals.
struct ProgramState {
    SettingsRecord settings;
    QString intervalText;   // Timer1 interval in ms as decimal text: "1000", "10000", "60000"
    qint16 tickDivider = 0; // Timer1 ticks per sample
    LatestReadings readings;
};

} // namespace orv
