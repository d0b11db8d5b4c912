#pragma once

#include <QObject>
#include <QString>

#include <cstdio>

namespace orv {

class Logger;

// Recording without a window: one line per sample on standard output (the line of the
// file), messages in French on standard error. The program's exit codes.
class Headless : public QObject {
    Q_OBJECT
public:
    enum ExitCode { AllWritten = 0, Refused = 2, Rescued = 3, Lost = 4 };

    Headless(Logger &logger, std::FILE *out, std::FILE *err, QObject *parent = nullptr);

    // Starts recording, or says why it cannot and returns Refused.
    int start();
    // SIGTERM and the like: everything ends; returns the exit code.
    int finish();

Q_SIGNALS:
    void finished(int exitCode);

private:
    void printSample(int number);
    void say(const QString &text);
    void onStopped(bool storeFull);
    void onWaitingChanged();
    void onReadout();

    Logger &m_logger;
    std::FILE *m_out;
    std::FILE *m_err;
    int m_lastWaiting = 0;
    QString m_lastProblem;
};

} // namespace orv
