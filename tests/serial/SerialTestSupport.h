#pragma once

#include "sources/serial/SerialComm.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <functional>
#include <initializer_list>
#include <ostream>
#include <utility>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace orv::test {

// A sensor at the far end of a pseudo-terminal. The program opens path(), a
// symbolic link the test owns, as it would open /dev/ttyUSB0. unplug() closes
// the far end, which hangs up our side as an adapter's removal does, and
// removes the link as the kernel removes the adapter's node; plug() puts a
// fresh device behind the same path.
class PtyDevice {
public:
    explicit PtyDevice(QString linkPath, bool plugged = true) : m_link(std::move(linkPath))
    {
        if (plugged)
            plug();
    }
    ~PtyDevice() { unplug(); }
    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    QString path() const { return m_link; }

    bool plug()
    {
        unplug();
        termios raw {}; // raw from the start: a cooked line holds bytes until a newline
        ::cfmakeraw(&raw);
        char name[128] = {};
        if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0)
            return false;
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        return QFile::link(QFile::decodeName(name), m_link);
    }

    void unplug()
    {
        QFile::remove(m_link);
        for (int *fd : {&m_master, &m_slave}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
    }

    // Writes as the sensor does; returns how many bytes the line took.
    qsizetype send(std::initializer_list<int> values)
    {
        QByteArray data;
        for (int v : values)
            data.append(static_cast<char>(v));
        return send(data);
    }
    qsizetype send(const QByteArray &data)
    {
        const ssize_t n = ::write(m_master, data.constData(), static_cast<size_t>(data.size()));
        return n < 0 ? 0 : static_cast<qsizetype>(n);
    }

    // Anything the program wrote to the device.
    QByteArray receivedFromProgram()
    {
        char chunk[256];
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        return n > 0 ? QByteArray(chunk, static_cast<qsizetype>(n)) : QByteArray();
    }

    // The line settings as the device side sees them (our end of the same tty).
    termios lineSettings() const
    {
        termios t {};
        ::tcgetattr(m_slave, &t);
        return t;
    }

private:
    QString m_link;
    int m_master = -1;
    int m_slave = -1;
};

// Bytes take a moment to cross a pseudo-terminal: wait, letting events run, with
// a bound generous enough that a slow machine never fails a test.
inline bool eventually(const std::function<bool()> &condition)
{
    const QDeadlineTimer deadline(5000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return true;
}

inline bool waitForCount(SerialComm &comm, qint64 count)
{
    return eventually([&] { return comm.InBufferCount() == count; });
}

} // namespace orv::test
