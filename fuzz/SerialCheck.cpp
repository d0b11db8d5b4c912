// The serial frame path on any byte stream: the input is a script of bytes arriving,
// polls, maintenance ticks, openings, closings and unplugs, played against the serial
// source on a port that lives in memory. Value 1 only ever comes from exactly four waiting
// bytes (their third), is empty while the port is not open and from each opening until its
// first frame; value 2 is never set.
#include "FuzzChecks.h"
#include "FuzzSupport.h"

#include "sources/serial/SerialSource.h"

#include <utility>

namespace orv::fuzz {

namespace {

// Bytes in, nothing out; unplug() loses the link as a pulled adapter does.
class MemoryPort final : public SerialPort {
public:
    QByteArray waiting;
    bool plugged = true;
    int openings = 0;
    SerialConfig config;

    void open(const SerialConfig &c) override
    {
        if (m_open)
            return;
        m_fault = plugged ? SerialFault::None : SerialFault::Absent;
        m_open = plugged;
        openings += plugged ? 1 : 0;
        config = c;
    }
    void close() override
    {
        m_open = false;
        m_fault = SerialFault::None;
        waiting.clear();
    }
    void unplug()
    {
        plugged = false;
        if (std::exchange(m_open, false))
            m_fault = SerialFault::LinkLost;
        waiting.clear();
    }
    bool isOpen() const override { return m_open; }
    qint64 bytesWaiting() override { return m_open ? waiting.size() : 0; }
    QByteArray readAll() override { return std::exchange(waiting, {}); }
    void discardInput() override { waiting.clear(); }
    SerialFault fault() const override { return m_fault; }
    QString devicePath() const override { return QStringLiteral("/dev/ttyUSB0"); }
    QString faultDetail() const override { return {}; }

private:
    bool m_open = false;
    SerialFault m_fault = SerialFault::None;
};

} // namespace

void checkSerial(const std::uint8_t *data, std::size_t size)
{
    Bytes in(data, size);
    MemoryPort port;
    SerialSource source(port);
    bool active = false;
    std::optional<qint32> frameValue; // of the last frame since the port last opened
    int openings = 0;

    for (int step = 0; step < 4096 && !in.empty(); ++step) {
        switch (in.u8() % 8) {
        case 0:
        case 1: { // bytes arrive; a closed port hears nothing
            const QByteArray bytes = in.take(in.u8() % 9);
            if (port.isOpen())
                port.waiting += bytes;
            break;
        }
        case 2:
        case 3: { // the readout polls
            const QByteArray before = port.waiting;
            const Readings readings = source.poll();
            if (before.size() == 4) {
                frameValue = static_cast<quint8>(before[2]);
                require(port.waiting.isEmpty(), "the frame was left waiting", before);
            } else {
                require(port.waiting == before, "bytes were taken without a four-byte frame", before);
            }
            require(readings == source.latest(), "poll and latest disagree");
            break;
        }
        case 4:
            source.maintain();
            require(port.waiting.isEmpty(), "maintenance left bytes waiting", port.waiting);
            if (active && port.plugged)
                require(port.isOpen(), "a plugged device was not picked up again");
            break;
        case 5: {
            const bool wasOpen = port.isOpen();
            const int before = port.openings;
            source.open();
            active = true;
            if (wasOpen)
                require(port.openings == before, "an open port was opened again");
            else if (port.plugged)
                require(port.isOpen() && port.config == SerialConfig {}, "the port was not opened as port 1 at 2400,n,8,1");
            break;
        }
        case 6:
            source.close();
            active = false;
            require(!port.isOpen(), "the port stayed open after close()");
            break;
        case 7:
            if (in.u8() & 1)
                port.unplug();
            else
                port.plugged = true;
            break;
        }
        if (std::exchange(openings, port.openings) != port.openings)
            frameValue.reset();
        const Readings now = source.latest();
        require(!now.value2, "the serial source set value 2");
        require(now.value1 == (port.isOpen() ? frameValue : std::nullopt),
                "value 1 is not the last frame's since the port opened", QByteArray::number(now.value1.value_or(-1)));
        const QString problem = source.problem();
        require(problem.isEmpty() == (!active || port.isOpen()),
                "the tooltip's problem text does not match the port's state", show(problem));
    }
}

} // namespace orv::fuzz
