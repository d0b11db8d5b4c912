// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/SerialPort.h"
#include "sources/Source.h"

#include <QString>
#include <QTimer>

#include <functional>

#include <optional>

namespace orv {

// The readout's tooltip for a serial port that does not work: the device, the reason and
// what to do, in French. Empty for SerialFault::None.
QString serialProblemText(SerialFault fault, const QString &device, const QString &detail = {});

// Value 1 from a device on port 1 that sends four-byte frames on its own (value 2 is
// always empty). A frame is taken when exactly four bytes wait. Polled (the window's
// readout), maintain() discards what waits, so a partial frame or a burst cannot keep the
// source out of step for more than one maintenance interval. Followed (no window, no
// maintenance), the bytes are looked at as they arrive: more than four waiting are dropped
// at once, and one to three left waiting through a pause (a stray byte, a frame cut by the
// opening) are dropped then, or the next frame would end at a wrong byte.
class SerialSource final : public Source {
public:
    static constexpr int kMaintenanceIntervalMs = 10000;
    // A frame takes 17 ms at 2400 baud, and USB adapters hand bytes over within about 16 ms.
    static constexpr int kStrayBytesMs = 200;

    // The port outlives the source; the program keeps one for its whole life.
    explicit SerialSource(SerialPort &port);

    // Opens the port unless it is open already (an open port is never set again). From
    // here on the source is active: a port that could not be opened is retried by maintain().
    void open() override;
    // Value 1 is the third byte of the last frame while the port stays open (a slow
    // sensor sends less often than we poll); empty while it is not open and from each
    // (re)opening until its first frame. Other byte counts leave the bytes waiting. While
    // followed the frames are taken as they arrive, and the port is not read here.
    Readings poll() override;
    // The same rule as of now, without reading the port.
    Readings latest() const override;
    // Closes the port and ends the retries.
    void close() override;
    // Empty while the source is inactive or its port works.
    QString problem() const override;

    int maintenanceIntervalMs() const override { return kMaintenanceIntervalMs; }
    // Discards every waiting byte and, while active, reopens a port that is not open
    // (failed opening, adapter pulled), so the device is picked up without a restart.
    void maintain() override;
    void follow(std::function<void()> changed) override;
    // The port is not open: the device is absent, refused, or went away.
    bool needsCare() const override { return m_active && !m_port.isOpen(); }

private:
    void openPort();
    void takeArrived();
    // Takes the waiting frame if `waiting`, the bytes counted just before, makes one.
    void takeFrame(qint64 waiting);
    void dropStrayBytes();

    SerialPort &m_port;
    bool m_active = false;
    std::optional<qint32> m_value1; // of the last frame since the port last opened
    // The device that went away while open, for as long as it stays away.
    QString m_unpluggedDevice;
    std::function<void()> m_changed; // set while followed
    // While followed, runs while one to three bytes wait: a frame arriving in pieces
    // completes long before it fires.
    QTimer m_strayTimer;
};

} // namespace orv
