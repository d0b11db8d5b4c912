// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/SerialPortName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>
#include <tuple>

namespace orv {

namespace {

// Kinds in the order ports are counted; -1 for names that are not serial ports.
int kindRank(const QString &kind)
{
    if (kind == QLatin1String("S"))
        return 0;
    if (kind == QLatin1String("USB"))
        return 1;
    if (kind == QLatin1String("ACM"))
        return 2;
    return -1;
}

const QRegularExpression &ttyNamePattern()
{
    static const QRegularExpression pattern(QStringLiteral("^tty(S|USB|ACM)(\\d{1,6})$"));
    return pattern;
}

} // namespace

QStringList serialDevicesInOrder(const QList<TtyDevice> &ttys)
{
    struct Candidate {
        int rank;
        int number;
        QString name;
    };
    QList<Candidate> found;
    for (const TtyDevice &tty : ttys) {
        const QRegularExpressionMatch match = ttyNamePattern().match(tty.name);
        if (!match.hasMatch() || !tty.hasNode || tty.isConsole)
            continue;
        const int rank = kindRank(match.captured(1));
        // The 8250 driver registers ttyS0..N at boot whatever the hardware;
        // only a probed UART (type other than PORT_UNKNOWN) is a real port.
        if (rank == 0 && (!tty.hasHardware || tty.uartType == 0))
            continue;
        found.append({rank, match.captured(2).toInt(), tty.name});
    }
    std::sort(found.begin(), found.end(), [](const Candidate &a, const Candidate &b) {
        return std::tie(a.rank, a.number) < std::tie(b.rank, b.number);
    });
    QStringList paths;
    for (const Candidate &c : found) {
        const QString path = QStringLiteral("/dev/") + c.name;
        if (!paths.contains(path))
            paths.append(path);
    }
    return paths;
}

QString serialDeviceForPort(qint16 port, const QList<TtyDevice> &ttys)
{
    const QStringList paths = serialDevicesInOrder(ttys);
    if (port < 1 || port > paths.size())
        return {};
    return paths.at(port - 1);
}

QList<TtyDevice> scanTtyDevices(const QString &sysClassTty, const QString &dev)
{
    // Names come from both trees: /sys may be missing in a container, and a
    // name only in /dev is kept (a ttyS then counts as having no hardware).
    QMap<QString, TtyDevice> byName;
    const QStringList sysNames = QDir(sysClassTty).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    const QStringList devNames = QDir(dev).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QStringList *names : {&sysNames, &devNames}) {
        for (const QString &name : *names) {
            if (ttyNamePattern().match(name).hasMatch())
                byName[name].name = name;
        }
    }
    QFile consoles(sysClassTty + QStringLiteral("/console/active"));
    const QByteArrayList activeConsoles =
        consoles.open(QIODevice::ReadOnly) ? consoles.readAll().simplified().split(' ') : QByteArrayList();
    for (TtyDevice &tty : byName) {
        tty.isConsole = activeConsoles.contains(tty.name.toLatin1());
        const QString sysDir = sysClassTty + QLatin1Char('/') + tty.name;
        tty.hasNode = QFileInfo::exists(dev + QLatin1Char('/') + tty.name);
        tty.hasHardware = QFileInfo::exists(sysDir + QStringLiteral("/device"));
        QFile type(sysDir + QStringLiteral("/type"));
        if (type.open(QIODevice::ReadOnly))
            tty.uartType = type.readAll().trimmed().toInt();
    }
    return byName.values();
}

QString systemSerialPort(qint16 port)
{
#ifdef Q_OS_WIN
    return port >= 1 ? QStringLiteral("COM%1").arg(port) : QString();
#else
    return serialDeviceForPort(port, scanTtyDevices());
#endif
}

} // namespace orv
