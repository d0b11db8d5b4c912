#include "sources/RealSourceFactory.h"

#include "sources/BoardSource.h"
#include "sources/KeyboardSource.h"
#include "sources/LibusbTransport.h"
#include "sources/SerialSource.h"

namespace orv {

RealSourceFactory::RealSourceFactory()
    : m_board(makeLibusbTransport())
    , m_serialPort(std::make_unique<SerialPort>())
{
}

RealSourceFactory::~RealSourceFactory() = default;

std::unique_ptr<Source> RealSourceFactory::make(SourceKind kind, const TestValue &testValue)
{
    // The one list of sources: a new kind adds its files and one case here.
    switch (kind) {
    case SourceKind::Keyboard: return std::make_unique<KeyboardSource>(testValue);
    case SourceKind::Board: return std::make_unique<BoardSource>(*m_board);
    case SourceKind::Serial: return std::make_unique<SerialSource>(*m_serialPort);
    }
    return std::make_unique<KeyboardSource>(testValue);
}

} // namespace orv
