#pragma once

#include "sources/BoardTransport.h"

#include <QtGlobal>

#include <memory>
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

// The K8055 board layer: the three calls the logger makes, with the board
// maker's names and arguments, on top of a transport.
class K8055Board {
public:
    static constexpr quint16 kVendorId = 0x10CF;
    static constexpr quint16 kFirstProductId = 0x5500; // + card address 0..3
    // How long a read waits for a report when none is queued. The board sends
    // one about every 10 ms, so this sees the first (maybe stale) and a fresh one.
    static constexpr int kFreshReportWindowMs = 20;

    explicit K8055Board(std::unique_ptr<BoardTransport> transport);
    ~K8055Board();
    K8055Board(const K8055Board &) = delete;
    K8055Board &operator=(const K8055Board &) = delete;

    // Returns the address once the board answers to it, -1 otherwise. Calling it
    // while that board is already open keeps the one handle.
    int OpenDevice(int address);

    // Stores the analog inputs of the freshest report in value1 and value2.
    // Returns false, and leaves both untouched, when no report came.
    bool ReadAllAnalog(qint32 &value1, qint32 &value2);

    void CloseDevice();

private:
    std::optional<AnalogInputs> freshestReport();

    std::unique_ptr<BoardTransport> m_transport;
    int m_address = -1; // of the open board; -1 while closed
};

} // namespace orv
