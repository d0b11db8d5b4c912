#pragma once

#include "sources/serial/SerialComm.h"

#include <QSerialPort>

namespace orv {

// Classifies a failed opening from Qt's error and what the file system says of
// the device. Qt reports a port held by another program (lock file, exclusive
// mode) as a permission error; only the file's own rights tell the two apart.
SerialFault classifyOpenFailure(QSerialPort::SerialPortError error, bool deviceExists,
                                bool deviceReadable);

// Comm1 on Qt SerialPort. Opens the port read-only: the program never writes
// to the device. Lives on the UI thread and needs no event handling from its
// user: a lost device is noticed by the event loop or at the next count.
class QtSerialComm final : public SerialComm {
public:
    // Bytes kept at most; a device flooding the line loses the excess, which the
    // periodic emptying discards anyway.
    static constexpr qint64 MaxBuffered = 4096;

    // Port numbers resolve to the system's serial devices.
    QtSerialComm();
    // For tests: every port number opens this device (a pseudo-terminal).
    explicit QtSerialComm(const QString &fixedDevice);
    ~QtSerialComm() override;

    QtSerialComm(const QtSerialComm &) = delete;
    QtSerialComm &operator=(const QtSerialComm &) = delete;

    bool PortOpen() const override;
    void setPortOpen(bool open) override;
    qint16 CommPort() const override { return m_commPort; }
    void setCommPort(qint16 port) override { m_commPort = port; }
    QString Settings() const override { return m_settingsText; }
    bool setSettings(const QString &settings) override;
    qint32 InputMode() const override { return m_inputMode; }
    void setInputMode(qint32 mode) override { m_inputMode = mode; }
    bool DTREnable() const override { return m_dtr; }
    void setDTREnable(bool enable) override { m_dtr = enable; }
    bool RTSEnable() const override { return m_rts; }
    void setRTSEnable(bool enable) override { m_rts = enable; }
    qint16 InBufferCount() override;
    void setInBufferCount(qint16 count) override;
    QByteArray Input() override;
    SerialFault fault() const override { return m_fault; }
    QString devicePath() const override { return m_devicePath; }
    QString faultDetail() const override { return m_faultDetail; }

private:
    void open();
    void close();
    void onError(QSerialPort::SerialPortError error);
    // Moves what the system has received into Qt's buffer, without waiting.
    void pullPending();
    void closeIfLost();

    QSerialPort m_port;
    QString m_fixedDevice;
    qint16 m_commPort = 1;
    QString m_settingsText = QStringLiteral("9600,n,8,1");
    LineSettings m_settings;
    qint32 m_inputMode = 0;
    bool m_dtr = false;
    bool m_rts = false;
    SerialFault m_fault = SerialFault::None;
    QString m_devicePath;
    QString m_faultDetail;
    bool m_closing = false;
    bool m_closeQueued = false;
};

} // namespace orv
