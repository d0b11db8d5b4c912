// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Helpers.h"
#include "sources/SerialPort.h"

#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace orv::test {

// A sensor at the far end of a pseudo-terminal. The program opens path(), a symbolic link
// the test owns, as it would open /dev/ttyUSB0. unplug() closes the far end, which hangs
// up our side as an adapter's removal does, and removes the link as the kernel removes
// the adapter's node; plug() puts a fresh device behind the same path.
class PtyDevice {
public:
    explicit PtyDevice(QString linkPath)
        : m_link(std::move(linkPath))
    {
    }
    ~PtyDevice() { unplug(); }
    PtyDevice(const PtyDevice &) = delete;

    QString path() const { return m_link; }
    bool plug()
    {
        unplug();
        termios raw{}; // raw from the start: a cooked line holds bytes until a newline
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
    qsizetype send(const QByteArray &data)
    {
        return std::max<ssize_t>(0, ::write(m_master, data.constData(), static_cast<size_t>(data.size())));
    }
    // The line settings as the device side sees them (our end of the same tty).
    termios lineSettings() const
    {
        termios t{};
        return ::tcgetattr(m_slave, &t) == 0 ? t : termios{};
    }

private:
    QString m_link;
    int m_master = -1;
    int m_slave = -1;
};

// No events run here: the port must count what the system still holds by itself, as it
// does in a window busy elsewhere.
inline bool waitForWaiting(SerialPort &port, qint64 count)
{
    return within(
        5000, [&] { return port.bytesWaiting() == count; }, false);
}

} // namespace orv::test
