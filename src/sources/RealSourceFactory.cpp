// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/RealSourceFactory.h"

#include "sources/BoardSource.h"
#include "sources/LibusbTransport.h"
#include "sources/SerialSource.h"

namespace orv {

RealSourceFactory::RealSourceFactory()
    : m_board(makeLibusbTransport())
    , m_serialPort(std::make_unique<SerialPort>())
{
}

RealSourceFactory::~RealSourceFactory() = default;

std::unique_ptr<Source> RealSourceFactory::make(SourceKind device)
{
    // The one list of devices: a new kind adds its files and one case here.
    switch (device) {
    case SourceKind::Keyboard: break;
    case SourceKind::Board: return std::make_unique<BoardSource>(*m_board);
    case SourceKind::Serial: return std::make_unique<SerialSource>(*m_serialPort);
    }
    return nullptr;
}

} // namespace orv
