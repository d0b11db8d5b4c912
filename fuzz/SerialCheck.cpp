// The serial frame path on any byte stream: the input is a script of bytes arriving,
// polls, emptyings, openings, closings and unplugs, played against module rs232 on a
// port that lives in memory. A reading is taken only from exactly four waiting bytes,
// and it is their third; value 2 is never touched.
#include "FuzzChecks.h"
#include "FuzzSupport.h"

#include "sources/serial/rs232.h"

#include <algorithm>

namespace orv::fuzz {

namespace {

// Comm1 in memory: bytes in, nothing out.
class MemoryComm final : public SerialComm {
public:
    QByteArray waiting;
    bool plugged = true;

    bool PortOpen() const override { return m_open; }
    void setPortOpen(bool open) override
    {
        if (!open) {
            m_open = false;
            waiting.clear();
            return;
        }
        m_open = plugged;
        m_fault = plugged ? SerialFault::None : SerialFault::Absent;
    }
    void unplug()
    {
        plugged = false;
        if (m_open) {
            m_open = false;
            m_fault = SerialFault::LinkLost;
        }
        waiting.clear();
    }

    qint16 CommPort() const override { return m_port; }
    void setCommPort(qint16 port) override { m_port = port; }
    QString Settings() const override { return m_settings; }
    bool setSettings(const QString &settings) override
    {
        if (!parseLineSettings(settings))
            return false;
        m_settings = settings;
        return true;
    }
    qint32 InputMode() const override { return m_mode; }
    void setInputMode(qint32 mode) override { m_mode = mode; }
    bool DTREnable() const override { return m_dtr; }
    void setDTREnable(bool enable) override { m_dtr = enable; }
    bool RTSEnable() const override { return m_rts; }
    void setRTSEnable(bool enable) override { m_rts = enable; }

    qint16 InBufferCount() override
    {
        return m_open ? static_cast<qint16>(std::min<qsizetype>(waiting.size(), 32767)) : 0;
    }
    void setInBufferCount(qint16) override { waiting.clear(); }
    QByteArray Input() override
    {
        QByteArray all;
        all.swap(waiting);
        return all;
    }

    SerialFault fault() const override { return m_fault; }
    QString devicePath() const override { return QStringLiteral("/dev/ttyUSB0"); }
    QString faultDetail() const override { return {}; }

private:
    bool m_open = false;
    SerialFault m_fault = SerialFault::None;
    qint16 m_port = 0;
    QString m_settings = QStringLiteral("9600,n,8,1");
    qint32 m_mode = 0;
    bool m_dtr = false;
    bool m_rts = false;
};

} // namespace

void checkSerial(const std::uint8_t *data, std::size_t size)
{
    Bytes in(data, size);
    MemoryComm comm;
    ProgramState state;
    // Value 2 belongs to the board; this mark must survive everything the serial source does.
    state.readings = {0, -4242, true, true};
    rs232 serial(state, comm);
    bool active = false;

    for (int step = 0; step < 4096 && !in.empty(); ++step) {
        switch (in.u8() % 8) {
        case 0:
        case 1: { // bytes arrive; a closed port hears nothing
            const QByteArray bytes = in.take(in.u8() % 9);
            if (comm.PortOpen())
                comm.waiting += bytes;
            break;
        }
        case 2:
        case 3: { // the live-readout tick polls
            const QByteArray before = comm.PortOpen() ? comm.waiting : QByteArray();
            const qint32 previous = state.readings.value1;
            const bool previousMissing = state.readings.missing1;
            serial.rs232_lit();
            if (before.size() == 4) {
                require(state.readings.value1 == static_cast<quint8>(before[2]), "value 1 is not the frame's third byte", before);
                require(!state.readings.missing1, "a frame was taken but value 1 is still missing");
                require(comm.waiting.isEmpty(), "the frame was left waiting", before);
            } else {
                require(state.readings.value1 == previous && state.readings.missing1 == previousMissing,
                        "value 1 changed without a four-byte frame", before);
                require(comm.waiting == before || !comm.PortOpen(), "bytes were taken without a four-byte frame", before);
            }
            break;
        }
        case 4: // TimerVideBufferRS
            serial.vide_buffer();
            require(comm.waiting.isEmpty(), "emptying left bytes waiting", comm.waiting);
            if (active && comm.plugged)
                require(serial.portOpen(), "a plugged device was not picked up again");
            break;
        case 5: {
            const bool wasOpen = comm.PortOpen();
            const QString settings = comm.Settings();
            serial.rs232_ouvre();
            active = true;
            if (wasOpen)
                require(comm.Settings() == settings, "an open port was set again");
            else if (comm.plugged)
                require(comm.PortOpen() && comm.Settings() == QStringLiteral("2400,n,8,1") && comm.InputMode() == 1,
                        "the port was not opened at 2400,n,8,1 in binary mode");
            break;
        }
        case 6:
            serial.rs232_ferme();
            active = false;
            require(!serial.portOpen(), "the port stayed open after rs232_ferme");
            require(serial.problem().isEmpty(), "a closed source still reports a problem");
            break;
        case 7:
            if (in.u8() & 1)
                comm.unplug();
            else
                comm.plugged = true;
            break;
        }
        require(state.readings.value1 >= 0 && state.readings.value1 <= 255, "value 1 out of 0..255");
        require(state.readings.value2 == -4242 && state.readings.missing2, "the serial source touched value 2");
        const QString problem = serial.problem();
        require(problem.isEmpty() == (!active || serial.portOpen()),
                "the tooltip's problem text does not match the port's state", show(problem));
    }
}

} // namespace orv::fuzz
