// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace orv {

// One terminal device as the system describes it, enough to tell a real serial port.
struct TtyDevice {
    QString name;             // "ttyS0", "ttyUSB1", "ttyACM0"
    bool hasNode = false;     // /dev/<name> exists
    bool hasHardware = false; // /sys/class/tty/<name>/device exists
    int uartType = 0;         // /sys/class/tty/<name>/type; 0 = no UART found behind it
    bool isConsole = false;   // listed in /sys/class/tty/console/active

    bool operator==(const TtyDevice &) const = default;
};

// The real serial devices as paths, in the order port numbers count them:
// built-in ports that have a UART behind them (every PC has /dev/ttyS0..3 nodes,
// whether or not the chip exists), then USB serial adapters, then USB CDC-ACM
// devices, each kind by number (ttyUSB2 before ttyUSB10). A port the kernel uses as
// its console (booted with console=ttyS0) is no port for a sensor: opening it would
// set the console to the sensor's speed.
QStringList serialDevicesInOrder(const QList<TtyDevice> &ttys);

// The device of a port number counted from 1, or an empty string.
QString serialDeviceForPort(qint16 port, const QList<TtyDevice> &ttys);

// Reads what the kernel shows under /sys/class/tty (console/active included) and /dev;
// the roots are parameters so a test can hand a fake tree.
QList<TtyDevice> scanTtyDevices(const QString &sysClassTty = QStringLiteral("/sys/class/tty"),
                                const QString &dev = QStringLiteral("/dev"));

// The system's name for a port number: COMn on Windows, the n-th real serial
// device on Linux; empty when there is none.
QString systemSerialPort(qint16 port);

} // namespace orv
