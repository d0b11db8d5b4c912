// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSerialPort>
#include <QString>

#include <functional>

namespace orv {

// Why the port is not open (or not working) at the moment.
enum class SerialFault : quint8 {
    None,       // open and working, or simply closed on request
    NoPort,     // the port number leads to no serial device on this machine
    Absent,     // the device does not exist (adapter not plugged in)
    Busy,       // another program holds the device
    Permission, // this account may not open the device
    LinkLost,   // the device went away while the port was open
    Other,      // any other failure to open
};

// Classifies a failed opening from Qt's error and what the file system says of the
// device. Qt reports a port held by another program (lock file, exclusive mode) as a
// permission error; only the file's own rights tell the two apart.
SerialFault classifyOpenFailure(QSerialPort::SerialPortError error, bool deviceExists, bool deviceReadable);

// Serial port 1 as the sensors need it: 2400 baud, 8 data bits, no parity, 1 stop bit,
// bytes handed over unchanged, DTR and RTS raised (many sensors are powered from them).
// Opened read-only: the program only ever reads from it. Lives on the UI thread and needs
// no event handling from its user: a lost device is noticed by the event loop or at the
// next call, and the port is then closed so the device is free when it comes back.
class SerialPort {
public:
    // Bytes kept at most; a device flooding the line loses the excess, which the
    // source's periodic discarding would drop anyway.
    static constexpr qint64 kMaxBuffered = 4096;
    static constexpr qint32 kBaudRate = 2400;
    static constexpr qint16 kPortNumber = 1; // counted from 1, as the system lists its serial ports

    // fixedDevice: opened in place of port 1 (a pseudo-terminal in the tests); empty for
    // the system's port 1.
    explicit SerialPort(const QString &fixedDevice = {});
    ~SerialPort();
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    // Never blocks. On failure the port stays closed and fault() says why. An open port
    // is left as it is.
    void open();
    // Clears the fault: a port closed on request has nothing wrong with it.
    void close();
    // False as soon as the device is known to be gone, even before the port is closed.
    bool isOpen() const;

    // Every byte received and not yet taken, including what still sits in the
    // operating system's buffer. 0 while closed.
    qint64 bytesWaiting();
    // The waiting bytes in order of arrival, removed from the port.
    QByteArray readAll();
    // Drops every waiting byte, in the program and in the system.
    void discardInput();
    // From now on `activity` is called, on this thread, when bytes arrive or the device goes
    // away; a call never starts inside another.
    void setOnActivity(std::function<void()> activity);

    // The outcome of the last opening, or LinkLost once the device has gone.
    SerialFault fault() const { return m_fault; }
    // The device port 1 led to at the last opening ("/dev/ttyUSB0", "COM1"); empty if none
    // was found.
    QString devicePath() const { return m_devicePath; }
    // The system's own words for an Other fault; empty otherwise.
    QString faultDetail() const { return m_faultDetail; }

private:
    void openClosedPort();
    void closePort();
    void onError(QSerialPort::SerialPortError error);
    // Moves what the system has received into Qt's buffer, without waiting.
    void pullPending();
    // A hung-up, failed or closed descriptor means the device is gone, whatever is buffered.
    void checkLine();
    void closeIfLost();
    void tellActivity();

    QSerialPort m_port;
    QString m_fixedDevice;
    SerialFault m_fault = SerialFault::None;
    QString m_devicePath;
    QString m_faultDetail;
    bool m_closing = false;
    bool m_closeQueued = false;
    std::function<void()> m_onActivity;
    bool m_inActivity = false;
};

} // namespace orv
