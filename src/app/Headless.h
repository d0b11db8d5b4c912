// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace orv {

class Logger;

// "orvalin : <text>" on fd, only as far as its reader takes it at once: a stalled journal or
// terminal never holds up the program.
void sayWithoutWaiting(int fd, const QString &text);

// Recording without a window: one line per sample on standard output (the line of the
// file), messages in French on standard error. The program's exit codes.
// Neither output ever holds up a sample: a line that a stalled or closed reader cannot take
// at once is skipped there (the file has it); SIGPIPE is ignored from construction on.
class Headless : public QObject {
    Q_OBJECT
public:
    enum ExitCode { AllWritten = 0, Refused = 2, Rescued = 3, Lost = 4 };

    // out, err: file descriptors, left open.
    Headless(Logger &logger, int out, int err, QObject *parent = nullptr);

    // Starts recording, or says why it cannot and returns Refused.
    int start();
    // SIGTERM and the like: everything ends; returns the exit code.
    int finish();

Q_SIGNALS:
    void finished(int exitCode);

private:
    // A message of the program's on standard error: "orvalin : <text>".
    void say(const QString &text);
    void printSample(int number);
    void onStopped(bool storeFull);
    void onWaitingChanged();
    void onReadout();

    Logger &m_logger;
    int m_out;
    int m_err;
    int m_skippedLines = 0;
    QStringList m_lastWaiting; // file and reason of each file waiting, as last said
    QString m_lastProblem;
};

} // namespace orv
