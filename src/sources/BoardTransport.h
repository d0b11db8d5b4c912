// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>

namespace orv {

inline constexpr std::size_t kBoardReportSize = 8;
using BoardReport = std::array<quint8, kBoardReportSize>;

// The wire under the board source: one HID interface read as raw 8-byte input reports.
// The real one talks libusb; tests script a fake board.
class BoardTransport {
public:
    virtual ~BoardTransport() = default;

    // Opens the first device with these ids. Must fail within a few ms when no
    // such device is plugged in. Opening while open replaces the old handle.
    virtual bool open(quint16 vendorId, quint16 productId) = 0;

    // Reads one input report into `report`, waiting up to timeoutMs (more than 0). Returns
    // the byte count, 0 when nothing came in time, -1 on an error or when the device is gone.
    virtual int read(BoardReport &report, int timeoutMs) = 0;

    // Safe to call when nothing is open.
    virtual void close() = 0;

    virtual bool isOpen() const = 0;
};

} // namespace orv
