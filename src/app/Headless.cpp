// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Headless.h"

#include "core/FileNames.h"
#include "core/Texts.h"
#include "logging/Logger.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace orv {

namespace {

// Writes only what the reader takes at once: a line (far below a pipe's atomic size) goes
// whole or not at all when the reader stalls, stops or is gone.
bool writeWithoutWaiting(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        pollfd ready{fd, POLLOUT, 0};
        if (::poll(&ready, 1, 0) != 1 || (ready.revents & POLLOUT) == 0)
            return false;
        const ssize_t n = ::write(fd, bytes.data(), static_cast<size_t>(bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes = bytes.sliced(n);
    }
    return true;
}

} // namespace

void sayWithoutWaiting(int fd, const QString &text)
{
    writeWithoutWaiting(fd, QByteArray("orvalin : ") + text.toLocal8Bit() + '\n');
}

Headless::Headless(Logger &logger, int out, int err, QObject *parent)
    : QObject(parent)
    , m_logger(logger)
    , m_out(out)
    , m_err(err)
{
    // A reader of the output that goes away must not end the recording.
    std::signal(SIGPIPE, SIG_IGN);
    connect(&m_logger, &Logger::sampleTaken, this, &Headless::printSample);
    connect(&m_logger, &Logger::recordingStopped, this, &Headless::onStopped);
    connect(&m_logger, &Logger::waitingChanged, this, &Headless::onWaitingChanged);
    connect(&m_logger, &Logger::settingsNotSaved, this, &Headless::say);
    connect(&m_logger, &Logger::readoutUpdated, this, &Headless::onReadout);
    connect(&m_logger, &Logger::fragmentCut, this, &Headless::say);
    connect(&m_logger, &Logger::publishingNotice, this, &Headless::say);
}

void Headless::onReadout()
{
    // Said when it starts and when it ends, not twice a second.
    const QString problem = m_logger.sourceProblem();
    if (problem == m_lastProblem)
        return;
    say(problem.isEmpty() ? QStringLiteral("la source répond de nouveau") : problem);
    m_lastProblem = problem;
}

int Headless::start()
{
    for (const QString &notice : m_logger.rescuedEarlierNotices())
        say(notice);
    if (!m_logger.damagedSettingsNotice().isEmpty())
        say(m_logger.damagedSettingsNotice());
    if (m_logger.settings().source == SourceKind::Keyboard) {
        // Also what the journal shows when the service starts on first-start settings.
        say(QStringLiteral("le mode test se commande au clavier et demande la fenêtre : choisissez la "
                           "carte (--source usb) ou l'appareil série (--source serie), ou une autre source "
                           "dans Option > Réglages de la fenêtre.\n"
                           "Pour le service orvalin-headless : « systemctl --user edit orvalin-headless », "
                           "écrivez ces trois lignes\n"
                           "  [Service]\n"
                           "  ExecStart=\n"
                           "  ExecStart=orvalin --headless --record --source usb --interval 1min\n"
                           "puis « systemctl --user restart orvalin-headless » (voir man orvalin, SERVICE)."));
        // A first start's save of the defaults may still be under way: its fate is told too.
        for (const QString &message : m_logger.shutDown().messages())
            say(message);
        return Refused;
    }
    say(QStringLiteral("enregistrement dans %1").arg(displayableName(m_logger.settings().recordingFile)));
    m_logger.startRecording();
    return AllWritten;
}

void Headless::printSample(int number)
{
    // The line of the file, with the line end of a text stream.
    QByteArray line = recordingLine(number, m_logger.samples().at(number));
    line.chop(2);
    line += '\n';
    if (!writeWithoutWaiting(m_out, line)) {
        if (m_skippedLines++ == 0)
            say(QStringLiteral("la sortie standard ne suit pas ou est fermée : les lignes qu'elle ne "
                               "prend pas sont sautées, le fichier les a toutes"));
    } else if (m_skippedLines > 0) {
        say(QStringLiteral("la sortie standard reprend ; %1 ligne(s) n'y ont pas été affichées").arg(m_skippedLines));
        m_skippedLines = 0;
    }
}

void Headless::say(const QString &text)
{
    sayWithoutWaiting(m_err, text);
}

void Headless::onStopped(bool storeFull)
{
    if (!storeFull)
        return;
    // Nobody is there to press the button again: a new recording goes on in the same file.
    say(QStringLiteral("la mémoire de l'enregistrement est pleine (32000 mesures) : "
                       "un nouvel enregistrement commence, numéroté à partir de 1"));
    m_logger.startRecording();
}

void Headless::onWaitingChanged()
{
    // Said when a file starts or stops waiting, or waits for another reason; not per line.
    QStringList now;
    for (const Logger::Waiting &w : m_logger.waiting()) {
        now << w.file + QLatin1Char('\n') + w.reason;
        if (!m_lastWaiting.contains(now.last()))
            say(QStringLiteral("écriture impossible dans %1 (%2) : les mesures attendent en mémoire")
                    .arg(displayableName(w.file), w.reason));
    }
    if (now.isEmpty() && !m_lastWaiting.isEmpty())
        say(QStringLiteral("les mesures en attente sont écrites"));
    m_lastWaiting = now;
}

int Headless::finish()
{
    const Logger::Ending ending = m_logger.shutDown();
    for (const QString &line : ending.messages())
        say(line);
    const int code = ending.exitCode();
    Q_EMIT finished(code);
    return code;
}

} // namespace orv
