#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

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

enum class SerialParity : quint8 { None, Even, Odd, Mark, Space };
enum class SerialStopBits : quint8 { One, OneAndHalf, Two };

// A line settings text such as "2400,n,8,1": baud, parity, data bits, stop bits.
struct LineSettings {
    qint32 baud = 9600;
    SerialParity parity = SerialParity::None;
    int dataBits = 8;
    SerialStopBits stopBits = SerialStopBits::One;

    bool operator==(const LineSettings &) const = default;
};

// nullopt for anything the serial line cannot be set to.
std::optional<LineSettings> parseLineSettings(QStringView text);

// How to open the port. The defaults are what the logger's sensors need.
struct SerialConfig {
    qint16 portNumber = 1; // counted from 1, as the system lists its serial ports
    QString lineSettings = QStringLiteral("2400,n,8,1");
    bool binaryInput = true; // bytes handed over unchanged: a frame may hold any byte
    // Many sensors are powered from these two lines.
    bool raiseDtr = true;
    bool raiseRts = true;

    bool operator==(const SerialConfig &) const = default;
};

// The serial port the serial source reads. The program only ever reads from it.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Never blocks. On failure the port stays closed and fault() says why. An open port
    // is left as it is, with the configuration it was opened with.
    virtual void open(const SerialConfig &config) = 0;
    // Clears the fault: a port closed on request has nothing wrong with it.
    virtual void close() = 0;
    // False as soon as the device is known to be gone, even before the port is closed.
    virtual bool isOpen() const = 0;

    // Every byte received and not yet taken, including what still sits in the
    // operating system's buffer. 0 while closed.
    virtual qint64 bytesWaiting() = 0;
    // The waiting bytes in order of arrival, removed from the port.
    virtual QByteArray readAll() = 0;
    // Drops every waiting byte, in the program and in the system.
    virtual void discardInput() = 0;

    // The outcome of the last opening, or LinkLost once the device has gone.
    virtual SerialFault fault() const = 0;
    // The device the port number led to at the last opening ("/dev/ttyUSB0", "COM1");
    // empty if none was found.
    virtual QString devicePath() const = 0;
    // The system's own words for an Other fault; empty otherwise.
    virtual QString faultDetail() const = 0;
};

} // namespace orv
