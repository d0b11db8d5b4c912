// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Helpers.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

#include <mosquitto.h>

#include <csignal>
#include <mutex>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orv::test {

inline int freeLoopbackPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr *>(&a), size);
    ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &size);
    ::close(s);
    return ntohs(a.sin_port);
}

// A real Mosquitto on a free loopback port with a configuration of its own (no system
// service). Persistent, so a subscriber's session outlives a stop and a start.
class MosquittoBroker {
public:
    // password: a user "essai" with this password is the only one let in.
    explicit MosquittoBroker(const QByteArray &password = {})
    {
        // Run by root, it stays root: its own user could not write into this folder.
        QByteArray config = "listener " + QByteArray::number(m_port) + " 127.0.0.1\npersistence true\n"
                            + "persistence_location " + QFile::encodeName(m_dir.path()) + "/\nuser "
                            + ::getpwuid(::geteuid())->pw_name + "\n";
        if (password.isEmpty()) {
            config += "allow_anonymous true\n";
        } else {
            const QString file = m_dir.filePath(QStringLiteral("passwords"));
            QProcess::execute(QStringLiteral("mosquitto_passwd"),
                              {"-c", "-b", file, "essai", QString::fromUtf8(password)});
            config += "allow_anonymous false\npassword_file " + QFile::encodeName(file) + "\n";
        }
        writeFile(m_dir.filePath(QStringLiteral("mosquitto.conf")), config);
        start();
    }
    ~MosquittoBroker()
    {
        freeze(false);
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    int port() const { return m_port; }
    QString url(const QString &prefix, const char *scheme = "mqtt") const
    {
        return QStringLiteral("%1://127.0.0.1:%2/%3").arg(QLatin1String(scheme)).arg(m_port).arg(prefix);
    }
    // Returns once it takes connections, which it says on stderr once its socket listens.
    bool start()
    {
        // A test that crashes or times out leaves no broker behind.
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_process.start(QStringLiteral("mosquitto"), {"-c", m_dir.filePath(QStringLiteral("mosquitto.conf"))});
        return within(5000, [this] { return m_process.readAllStandardError().contains(" running"); });
    }
    // As a service stop does: SIGTERM, the sessions saved.
    void stop()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    // A broker that keeps the connection and answers nothing.
    void freeze(bool frozen)
    {
        if (m_process.state() == QProcess::Running)
            ::kill(static_cast<pid_t>(m_process.processId()), frozen ? SIGSTOP : SIGCONT);
    }

private:
    QTemporaryDir m_dir;
    int m_port = freeLoopbackPort();
    QProcess m_process;
};

// Every message under a topic, in arrival order, at QoS 1 on a persistent session, so what
// the broker took while this one was away comes when it is back.
class Subscriber {
public:
    Subscriber(int port, const QByteArray &topic)
        : m_topic(topic)
    {
        mosquitto_lib_init();
        m_mosq = mosquitto_new("essai-abonne", false, this);
        mosquitto_connect_callback_set(m_mosq, [](mosquitto *m, void *self, int rc) {
            if (rc == 0)
                mosquitto_subscribe(m, nullptr, static_cast<Subscriber *>(self)->m_topic.constData(), 1);
        });
        mosquitto_subscribe_callback_set(m_mosq, [](mosquitto *, void *self, int, int, const int *) {
            static_cast<Subscriber *>(self)->m_subscribed = true;
        });
        mosquitto_message_callback_set(m_mosq, [](mosquitto *, void *self, const mosquitto_message *m) {
            auto *me = static_cast<Subscriber *>(self);
            std::lock_guard lock(me->m_mutex);
            me->m_messages[m->topic].append(QByteArray(static_cast<const char *>(m->payload), m->payloadlen));
        });
        mosquitto_reconnect_delay_set(m_mosq, 1, 1, false);
        mosquitto_connect(m_mosq, "127.0.0.1", port, 60);
        mosquitto_loop_start(m_mosq);
        within(5000, [this] { return m_subscribed.load(); });
    }
    ~Subscriber()
    {
        mosquitto_disconnect(m_mosq);
        mosquitto_loop_stop(m_mosq, true);
        mosquitto_destroy(m_mosq);
    }

    // The payloads on topic, in order.
    QList<QByteArray> on(const QByteArray &topic) const
    {
        std::lock_guard lock(m_mutex);
        return m_messages.value(topic);
    }

private:
    QByteArray m_topic;
    mosquitto *m_mosq = nullptr;
    std::atomic<bool> m_subscribed{false};
    mutable std::mutex m_mutex;
    QHash<QByteArray, QList<QByteArray>> m_messages;
};

} // namespace orv::test
