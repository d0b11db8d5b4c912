#include "sources/serial/QtSerialComm.h"

#include "sources/serial/SerialPortName.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <limits>

#ifndef Q_OS_WIN
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

// Errors that mean the device is gone or unusable; Qt repeats them many times
// a second for as long as the port stays open.
bool meansLostLink(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ReadError || error == QSerialPort::ResourceError
        || error == QSerialPort::UnknownError;
}

} // namespace

SerialFault classifyOpenFailure(QSerialPort::SerialPortError error, bool deviceExists,
                                bool deviceReadable)
{
    if (!deviceExists || error == QSerialPort::DeviceNotFoundError)
        return SerialFault::Absent;
    if (error == QSerialPort::PermissionError)
        return deviceReadable ? SerialFault::Busy : SerialFault::Permission;
    return SerialFault::Other;
}

QtSerialComm::QtSerialComm()
    : QtSerialComm(QString())
{
}

QtSerialComm::QtSerialComm(const QString &fixedDevice)
    : m_fixedDevice(fixedDevice)
{
    m_settings = *parseLineSettings(m_settingsText);
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
}

QtSerialComm::~QtSerialComm()
{
    // Closing may report errors; nothing of this object may be reached by then.
    QObject::disconnect(&m_port, nullptr, nullptr, nullptr);
    if (m_port.isOpen())
        m_port.close();
}

bool QtSerialComm::PortOpen() const
{
    return m_port.isOpen() && m_fault != SerialFault::LinkLost;
}

void QtSerialComm::setPortOpen(bool open)
{
    closeIfLost();
    if (open) {
        if (!m_port.isOpen())
            this->open();
        return;
    }
    if (m_port.isOpen())
        close();
    m_fault = SerialFault::None;
    m_faultDetail.clear();
}

bool QtSerialComm::setSettings(const QString &settings)
{
    const std::optional<LineSettings> parsed = parseLineSettings(settings);
    if (!parsed)
        return false;
    m_settings = *parsed;
    m_settingsText = settings;
    return true;
}

qint16 QtSerialComm::InBufferCount()
{
    if (!PortOpen()) {
        closeIfLost();
        return 0;
    }
    pullPending();
    closeIfLost();
    if (!m_port.isOpen())
        return 0;
    const qint64 waiting = std::min<qint64>(m_port.bytesAvailable(), std::numeric_limits<qint16>::max());
    return static_cast<qint16>(waiting);
}

void QtSerialComm::setInBufferCount(qint16 count)
{
    if (count != 0 || !PortOpen())
        return;
    // Empties Qt's buffer and the system's.
    m_port.clear(QSerialPort::Input);
    closeIfLost();
}

QByteArray QtSerialComm::Input()
{
    if (!PortOpen())
        return {};
    pullPending();
    closeIfLost();
    if (!m_port.isOpen())
        return {};
    return m_port.readAll();
}

void QtSerialComm::open()
{
    m_fault = SerialFault::None;
    m_faultDetail.clear();
    m_devicePath = m_fixedDevice.isEmpty() ? systemSerialPort(m_commPort) : m_fixedDevice;
    if (m_devicePath.isEmpty()) {
        m_fault = SerialFault::NoPort;
        return;
    }

    m_port.setPortName(m_devicePath);
    m_port.setBaudRate(m_settings.baud);
    m_port.setParity(toQt(m_settings.parity));
    m_port.setDataBits(toQtDataBits(m_settings.dataBits));
    m_port.setStopBits(toQt(m_settings.stopBits));
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(MaxBuffered);
    m_port.clearError();

    // A tty opens without waiting (Qt opens it non-blocking), so a missing or
    // stuck device never holds up the window.
    if (!m_port.open(QIODevice::ReadOnly)) {
        const QSerialPort::SerialPortError error = m_port.error();
#ifdef Q_OS_WIN
        // On Windows a COM port that exists but is refused is held by another program.
        m_fault = classifyOpenFailure(error, true, true);
#else
        const QByteArray path = QFile::encodeName(m_devicePath);
        m_fault = classifyOpenFailure(error, QFileInfo::exists(m_devicePath),
                                      ::access(path.constData(), R_OK) == 0);
#endif
        if (m_fault == SerialFault::Other)
            m_faultDetail = m_port.errorString();
        m_port.clearError();
        return;
    }

    // Pseudo-terminals and some adapters have no modem lines ("Inappropriate
    // ioctl"); the port reads just as well without them.
    m_port.setDataTerminalReady(m_dtr);
    m_port.setRequestToSend(m_rts);
    m_port.clearError();
}

void QtSerialComm::close()
{
    m_closing = true;
    m_port.close();
    m_closing = false;
    m_port.clearError();
}

void QtSerialComm::onError(QSerialPort::SerialPortError error)
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

void QtSerialComm::pullPending()
{
    // Each pass reads all the system holds, up to the cap; a few passes catch
    // bytes that landed during the previous one.
    for (int pass = 0; pass < 4 && m_port.isOpen() && m_fault != SerialFault::LinkLost
         && m_port.bytesAvailable() < MaxBuffered;
         ++pass) {
        if (!m_port.waitForReadyRead(0))
            break;
    }
}

void QtSerialComm::closeIfLost()
{
    if (m_fault == SerialFault::LinkLost && m_port.isOpen())
        close();
}

} // namespace orv
