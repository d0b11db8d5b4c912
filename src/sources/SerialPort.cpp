// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/SerialPort.h"

#include "sources/SerialPortName.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#ifndef Q_OS_WIN
#include <poll.h>
#include <unistd.h>
#endif

namespace orv {

namespace {

// Errors that mean the device is gone or unusable; Qt repeats them many times a second
// for as long as the port stays open.
bool meansLostLink(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ReadError || error == QSerialPort::ResourceError || error == QSerialPort::UnknownError;
}

} // namespace

SerialFault classifyOpenFailure(QSerialPort::SerialPortError error, bool deviceExists, bool deviceReadable)
{
    if (!deviceExists || error == QSerialPort::DeviceNotFoundError)
        return SerialFault::Absent;
    if (error == QSerialPort::PermissionError)
        return deviceReadable ? SerialFault::Busy : SerialFault::Permission;
    return SerialFault::Other;
}

SerialPort::SerialPort(const QString &fixedDevice)
    : m_fixedDevice(fixedDevice)
{
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
}

SerialPort::~SerialPort()
{
    // Closing may report errors; nothing of this object may be reached by then.
    QObject::disconnect(&m_port, nullptr, nullptr, nullptr);
    if (m_port.isOpen())
        m_port.close();
}

bool SerialPort::isOpen() const
{
    return m_port.isOpen() && m_fault != SerialFault::LinkLost;
}

void SerialPort::open()
{
    closeIfLost();
    if (!m_port.isOpen())
        openClosedPort();
}

void SerialPort::close()
{
    closeIfLost();
    if (m_port.isOpen())
        closePort();
    m_fault = SerialFault::None;
    m_faultDetail.clear();
}

qint64 SerialPort::bytesWaiting()
{
    checkLine();
    if (!isOpen()) {
        closeIfLost();
        return 0;
    }
    pullPending();
    closeIfLost();
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

QByteArray SerialPort::readAll()
{
    checkLine();
    if (!isOpen())
        return {};
    pullPending();
    closeIfLost();
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

void SerialPort::discardInput()
{
    checkLine();
    if (!isOpen())
        return;
    // Empties Qt's buffer and the system's.
    m_port.clear(QSerialPort::Input);
    closeIfLost();
}

void SerialPort::openClosedPort()
{
    m_fault = SerialFault::None;
    m_faultDetail.clear();
    m_devicePath = m_fixedDevice.isEmpty() ? systemSerialPort(kPortNumber) : m_fixedDevice;
    if (m_devicePath.isEmpty()) {
        m_fault = SerialFault::NoPort;
        return;
    }

    // QSerialPort has no text mode: input is always binary, as a frame may hold any byte.
    m_port.setPortName(m_devicePath);
    m_port.setBaudRate(kBaudRate);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(kMaxBuffered);
    m_port.clearError();

    // A tty opens without waiting (Qt opens it non-blocking), so a missing or stuck
    // device never holds up the window.
    if (!m_port.open(QIODevice::ReadOnly)) {
        const QSerialPort::SerialPortError error = m_port.error();
#ifdef Q_OS_WIN
        // On Windows a COM port that exists but is refused is held by another program.
        m_fault = classifyOpenFailure(error, true, true);
#else
        const QByteArray path = QFile::encodeName(m_devicePath);
        m_fault = classifyOpenFailure(error, QFileInfo::exists(m_devicePath), ::access(path.constData(), R_OK) == 0);
#endif
        if (m_fault == SerialFault::Other)
            m_faultDetail = m_port.errorString();
        m_port.clearError();
        return;
    }

    // Pseudo-terminals and some adapters have no modem lines ("Inappropriate ioctl");
    // the port reads just as well without them.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
}

void SerialPort::closePort()
{
    m_closing = true;
    m_port.close();
    m_closing = false;
    m_port.clearError();
}

void SerialPort::setOnActivity(std::function<void()> activity)
{
    m_onActivity = std::move(activity);
    QObject::disconnect(&m_port, &QSerialPort::readyRead, nullptr, nullptr);
    if (m_onActivity)
        QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, [this] { tellActivity(); });
}

void SerialPort::tellActivity()
{
    // Reading the bytes told of may bring news of more: they are taken by the call under way.
    if (!m_onActivity || m_inActivity)
        return;
    m_inActivity = true;
    m_onActivity();
    m_inActivity = false;
}

void SerialPort::onError(QSerialPort::SerialPortError error)
{
    if (m_closing || !m_port.isOpen() || !meansLostLink(error))
        return;
    m_fault = SerialFault::LinkLost;
    m_faultDetail.clear();
    // Not closed here: we may be deep inside QSerialPort's own read handling.
    if (!m_closeQueued) {
        m_closeQueued = true;
        QTimer::singleShot(0, &m_port, [this] {
            m_closeQueued = false;
            closeIfLost();
            tellActivity();
        });
    }
}

void SerialPort::pullPending()
{
    // Each pass reads all the system holds, up to the cap; a few passes catch bytes
    // that landed during the previous one.
    for (int pass = 0; pass < 4 && isOpen() && m_port.bytesAvailable() < kMaxBuffered; ++pass) {
        if (!m_port.waitForReadyRead(0))
            break;
    }
}

void SerialPort::checkLine()
{
#ifndef Q_OS_WIN
    // Qt stops reading once its buffer is full, and with it stops seeing a hang-up or a
    // read error: a flooded line would hide a pulled adapter. The descriptor is asked.
    if (!isOpen())
        return;
    pollfd line{static_cast<int>(m_port.handle()), POLLIN, 0};
    if (::poll(&line, 1, 0) == 1 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        m_fault = SerialFault::LinkLost;
        m_faultDetail.clear();
        closeIfLost();
    }
#endif
}

void SerialPort::closeIfLost()
{
    if (m_fault == SerialFault::LinkLost && m_port.isOpen())
        closePort();
}

} // namespace orv
