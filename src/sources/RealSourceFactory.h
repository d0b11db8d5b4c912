// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/Source.h"

#include <memory>

namespace orv {

class BoardTransport;
class SerialPort;

// The program's real devices, a K8055 board on libusb and the serial port, kept for the
// program's whole life so a source switched away from and back finds them as they were.
// Sources made here refer to those devices: the factory must outlive them.
class RealSourceFactory final : public SourceFactory {
public:
    RealSourceFactory();
    ~RealSourceFactory() override;
    RealSourceFactory(const RealSourceFactory &) = delete;
    RealSourceFactory &operator=(const RealSourceFactory &) = delete;

    std::unique_ptr<Source> make(SourceKind device) override;

private:
    std::unique_ptr<BoardTransport> m_board;
    std::unique_ptr<SerialPort> m_serialPort;
};

} // namespace orv
