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

// The serial component Comm1: the operations the rs232 module relies on, named
// after the component's properties. Setters of the configuration take effect at
// the next opening; an open port keeps the configuration it was opened with.
class SerialComm {
public:
    virtual ~SerialComm() = default;

    virtual bool PortOpen() const = 0;
    // Opening never blocks; on failure the port stays closed and fault() says why.
    virtual void setPortOpen(bool open) = 0;

    virtual qint16 CommPort() const = 0;
    virtual void setCommPort(qint16 port) = 0;

    virtual QString Settings() const = 0;
    // Returns false, and keeps the previous settings, for a text parseLineSettings rejects.
    virtual bool setSettings(const QString &settings) = 0;

    // 1 = binary; bytes are always handed over unchanged.
    virtual qint32 InputMode() const = 0;
    virtual void setInputMode(qint32 mode) = 0;

    // The two line controls raised at opening; many sensors are powered from them.
    virtual bool DTREnable() const = 0;
    virtual void setDTREnable(bool enable) = 0;
    virtual bool RTSEnable() const = 0;
    virtual void setRTSEnable(bool enable) = 0;

    // Every byte received so far and not yet taken, including what still sits in
    // the operating system's buffer. 0 while closed.
    virtual qint16 InBufferCount() = 0;
    // Only 0 is meaningful: discards every byte waiting.
    virtual void setInBufferCount(qint16 count) = 0;
    // Returns the waiting bytes in order of arrival and removes them.
    virtual QByteArray Input() = 0;

    // The outcome of the last opening, or LinkLost once the device has gone.
    virtual SerialFault fault() const = 0;
    // The device the port number led to at the last opening ("/dev/ttyUSB0",
    // "COM1"); empty if none was found.
    virtual QString devicePath() const = 0;
    // The system's own words for an Other fault; empty otherwise.
    virtual QString faultDetail() const = 0;
};

} // namespace orv
