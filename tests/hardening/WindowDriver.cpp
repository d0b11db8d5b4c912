// Loaded into the real program with LD_PRELOAD by the process tests and the package
// check; never installed. It reads commands on the program's standard input, one a
// line, and works the main window through its own widgets as a person would:
//   ready         answers once the main window is shown
//   title         the window's title
//   record        clicks the start/stop button, answers with its new caption
//   key <text>    types the characters into the window
//   quit yes|no   closes the window and answers the question box
// Each command gets one line on standard output.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

QWidget *shownMainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Orvalin") && w->isVisible())
            return w;
    return nullptr;
}

void reply(const QString &text)
{
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

class Driver final : public QObject {
public:
    Driver() : QObject(qApp), m_input(STDIN_FILENO, QSocketNotifier::Read, this)
    {
        connect(&m_input, &QSocketNotifier::activated, this, &Driver::readInput);
        // Polls rather than waits on signals: the question box runs its own event loop.
        m_tick.setInterval(20);
        connect(&m_tick, &QTimer::timeout, this, &Driver::step);
        m_tick.start();
    }

private:
    void readInput()
    {
        char chunk[256];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            m_input.setEnabled(false);
            return;
        }
        m_pending.append(chunk, static_cast<qsizetype>(n));
        for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
            const QString line = QString::fromUtf8(m_pending.left(end)).trimmed();
            m_pending.remove(0, end + 1);
            if (!line.isEmpty())
                m_commands << line;
        }
    }

    void step()
    {
        answerQuestion();
        QWidget *window = shownMainWindow();
        if (!window || m_commands.isEmpty() || m_answer != QMessageBox::NoButton)
            return;
        run(*window, m_commands.takeFirst());
    }

    void run(QWidget &window, const QString &command)
    {
        if (command == QLatin1String("ready")) {
            reply(QStringLiteral("ready"));
        } else if (command == QLatin1String("title")) {
            reply(QStringLiteral("title ") + window.windowTitle());
        } else if (command == QLatin1String("record")) {
            auto *button = window.findChild<QAbstractButton *>(QStringLiteral("CmdRecord"));
            if (!button) {
                reply(QStringLiteral("error no CmdRecord"));
                return;
            }
            button->click();
            reply(QStringLiteral("record ") + button->text().trimmed());
        } else if (command.startsWith(QLatin1String("key "))) {
            // Through the window system's door, as the keyboard's own events come in.
            for (QChar c : command.mid(4))
                QTest::keyClick(window.windowHandle(), c.toLatin1());
            reply(QStringLiteral("typed ") + command.mid(4));
        } else if (command == QLatin1String("quit yes") || command == QLatin1String("quit no")) {
            m_answer = command.endsWith(QLatin1String("yes")) ? QMessageBox::Yes : QMessageBox::No;
            // Closed from a fresh event: the question box blocks whoever calls close().
            QTimer::singleShot(0, &window, [&window] { window.close(); });
        } else {
            reply(QStringLiteral("error unknown command ") + command);
        }
    }

    void answerQuestion()
    {
        if (m_answer == QMessageBox::NoButton)
            return;
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        reply(QStringLiteral("asked ") + box->windowTitle() + QLatin1Char('|') + box->text());
        QAbstractButton *button = box->button(m_answer);
        const bool yes = m_answer == QMessageBox::Yes;
        m_answer = QMessageBox::NoButton;
        if (!button) {
            reply(QStringLiteral("error no such button"));
            return;
        }
        button->click();
        if (!yes)
            QTimer::singleShot(0, this, [] {
                QWidget *w = shownMainWindow();
                reply(w ? QStringLiteral("still running") : QStringLiteral("error window gone"));
            });
    }

    QSocketNotifier m_input;
    QTimer m_tick;
    QByteArray m_pending;
    QStringList m_commands;
    QMessageBox::StandardButton m_answer = QMessageBox::NoButton;
};

void startDriver()
{
    // Runs inside QApplication's constructor: start once the event loop runs.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { new Driver; }, Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)
