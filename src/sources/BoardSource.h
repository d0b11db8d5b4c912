// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/BoardTransport.h"
#include "sources/Source.h"

#include <optional>
#include <span>

namespace orv {

struct AnalogInputs {
    qint32 value1 = 0;
    qint32 value2 = 0;
    friend bool operator==(const AnalogInputs &, const AnalogInputs &) = default;
};

// The two analog inputs of one input report from the board at `address`, or
// nothing when the bytes are not such a report (wrong length, other status).
std::optional<AnalogInputs> decodeAnalogReport(std::span<const quint8> report, int address);

// The K8055 board's two analog inputs, at card address 3. Each poll opens the board, reads
// it and closes it again, so a board plugged in, unplugged or replugged is seen at the next
// poll.
class BoardSource final : public Source {
public:
    static constexpr int kCardAddress = 3;
    static constexpr quint16 kVendorId = 0x10CF;
    static constexpr quint16 kProductId = 0x5500 + kCardAddress;
    // How long a read waits for reports. The board sends one about every 10 ms, so this
    // sees the first (maybe stale) and a fresh one.
    static constexpr int kFreshReportWindowMs = 20;

    // The transport outlives the source; the program keeps one for its whole life.
    explicit BoardSource(BoardTransport &transport);

    // A first look for the board; the result is not needed, poll() finds out.
    void open() override;
    // Both values of the freshest report, or both empty when no report came: a value
    // from an earlier poll is never passed off as a new one.
    Readings poll() override;
    Readings latest() const override { return m_latest; }
    void close() override;
    // Empty until a poll gets no report, and again after the next one that does.
    QString problem() const override;

private:
    std::optional<AnalogInputs> freshestReport();

    BoardTransport &m_transport;
    Readings m_latest;
    bool m_answered = true;
};

} // namespace orv
