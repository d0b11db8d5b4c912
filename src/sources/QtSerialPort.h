#pragma once

#include "sources/SerialPort.h"

#include <QSerialPort>

namespace orv {

// Classifies a failed opening from Qt's error and what the file system says of the
// device. Qt reports a port held by another program (lock file, exclusive mode) as a
// permission error; only the file's own rights tell the two apart.
SerialFault classifyOpenFailure(QSerialPort::SerialPortError error, bool deviceExists, bool deviceReadable);

// The serial port on Qt SerialPort, opened read-only. Lives on the UI thread and needs
// no event handling from its user: a lost device is noticed by the event loop or at
// the next call, and the port is then closed so the device is free when it comes back.
class QtSerialPort final : public SerialPort {
public:
    // Bytes kept at most; a device flooding the line loses the excess, which the
    // source's periodic discarding would drop anyway.
    static constexpr qint64 kMaxBuffered = 4096;

    // Port numbers resolve to the system's serial devices.
    QtSerialPort();
    // For tests: every port number opens this device (a pseudo-terminal).
    explicit QtSerialPort(const QString &fixedDevice);
    ~QtSerialPort() override;

    QtSerialPort(const QtSerialPort &) = delete;
    QtSerialPort &operator=(const QtSerialPort &) = delete;

    void open(const SerialConfig &config) override;
    void close() override;
    bool isOpen() const override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;
    void discardInput() override;
    SerialFault fault() const override { return m_fault; }
    QString devicePath() const override { return m_devicePath; }
    QString faultDetail() const override { return m_faultDetail; }

private:
    void openClosedPort(const SerialConfig &config);
    void closePort();
    void onError(QSerialPort::SerialPortError error);
    // Moves what the system has received into Qt's buffer, without waiting.
    void pullPending();
    // A hung-up, failed or closed descriptor means the device is gone, whatever is buffered.
    void checkLine();
    void closeIfLost();

    QSerialPort m_port;
    QString m_fixedDevice;
    SerialFault m_fault = SerialFault::None;
    QString m_devicePath;
    QString m_faultDetail;
    bool m_closing = false;
    bool m_closeQueued = false;
};

} // namespace orv
