#include "sources/QtSerialPort.h"

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

QSerialPort::Parity toQt(SerialParity parity)
{
    switch (parity) {
    case SerialParity::None: return QSerialPort::NoParity;
    case SerialParity::Even: return QSerialPort::EvenParity;
    case SerialParity::Odd: return QSerialPort::OddParity;
    case SerialParity::Mark: return QSerialPort::MarkParity;
    case SerialParity::Space: return QSerialPort::SpaceParity;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits toQt(SerialStopBits stopBits)
{
    switch (stopBits) {
    case SerialStopBits::One: return QSerialPort::OneStop;
    case SerialStopBits::OneAndHalf: return QSerialPort::OneAndHalfStop;
    case SerialStopBits::Two: return QSerialPort::TwoStop;
    }
    return QSerialPort::OneStop;
}

QSerialPort::DataBits toQtDataBits(int bits)
{
    switch (bits) {
    case 5: return QSerialPort::Data5;
    case 6: return QSerialPort::Data6;
    case 7: return QSerialPort::Data7;
    default: return QSerialPort::Data8;
    }
}

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

QtSerialPort::QtSerialPort()
    : QtSerialPort(QString())
{
}

QtSerialPort::QtSerialPort(const QString &fixedDevice)
    : m_fixedDevice(fixedDevice)
{
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
}

QtSerialPort::~QtSerialPort()
{
    // Closing may report errors; nothing of this object may be reached by then.
    QObject::disconnect(&m_port, nullptr, nullptr, nullptr);
    if (m_port.isOpen())
        m_port.close();
}

bool QtSerialPort::isOpen() const
{
    return m_port.isOpen() && m_fault != SerialFault::LinkLost;
}

void QtSerialPort::open(const SerialConfig &config)
{
    closeIfLost();
    if (!m_port.isOpen())
        openClosedPort(config);
}

void QtSerialPort::close()
{
    closeIfLost();
    if (m_port.isOpen())
        closePort();
    m_fault = SerialFault::None;
    m_faultDetail.clear();
}

qint64 QtSerialPort::bytesWaiting()
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

QByteArray QtSerialPort::readAll()
{
    checkLine();
    if (!isOpen())
        return {};
    pullPending();
    closeIfLost();
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

void QtSerialPort::discardInput()
{
    checkLine();
    if (!isOpen())
        return;
    // Empties Qt's buffer and the system's.
    m_port.clear(QSerialPort::Input);
    closeIfLost();
}

void QtSerialPort::openClosedPort(const SerialConfig &config)
{
    m_fault = SerialFault::None;
    m_faultDetail.clear();
    m_devicePath = m_fixedDevice.isEmpty() ? systemSerialPort(config.portNumber) : m_fixedDevice;
    if (m_devicePath.isEmpty()) {
        m_fault = SerialFault::NoPort;
        return;
    }
    const std::optional<LineSettings> line = parseLineSettings(config.lineSettings);
    if (!line) {
        m_fault = SerialFault::Other;
        m_faultDetail = QStringLiteral("réglages « %1 » invalides").arg(config.lineSettings);
        return;
    }

    // QSerialPort has no text mode: input is always binary, as SerialConfig asks.
    m_port.setPortName(m_devicePath);
    m_port.setBaudRate(line->baud);
    m_port.setParity(toQt(line->parity));
    m_port.setDataBits(toQtDataBits(line->dataBits));
    m_port.setStopBits(toQt(line->stopBits));
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
    m_port.setDataTerminalReady(config.raiseDtr);
    m_port.setRequestToSend(config.raiseRts);
    m_port.clearError();
}

void QtSerialPort::closePort()
{
    m_closing = true;
    m_port.close();
    m_closing = false;
    m_port.clearError();
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
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
        });
    }
}

void QtSerialPort::pullPending()
{
    // Each pass reads all the system holds, up to the cap; a few passes catch bytes
    // that landed during the previous one.
    for (int pass = 0; pass < 4 && isOpen() && m_port.bytesAvailable() < kMaxBuffered; ++pass) {
        if (!m_port.waitForReadyRead(0))
            break;
    }
}

void QtSerialPort::checkLine()
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

void QtSerialPort::closeIfLost()
{
    if (m_fault == SerialFault::LinkLost && m_port.isOpen())
        closePort();
}

} // namespace orv
