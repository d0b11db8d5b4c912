#include "sources/K8055Board.h"

#include <chrono>
#include <utility>

namespace orv {

namespace {

constexpr int kMaxAddress = 3;
// Stops a transport that keeps handing out reports from holding a tick forever.
constexpr int kMaxReportsPerRead = 64;

} // namespace

std::optional<AnalogInputs> decodeAnalogReport(std::span<const quint8> report, int address)
{
    if (report.size() != kBoardReportSize)
        return std::nullopt;
    // The original board reports address + 1; the K8055N in its compatible mode address + 11.
    const int status = report[1];
    if (status != address + 1 && status != address + 11)
        return std::nullopt;
    return AnalogInputs{report[2], report[3]};
}

K8055Board::K8055Board(std::unique_ptr<BoardTransport> transport)
    : m_transport(std::move(transport))
{
}

K8055Board::~K8055Board()
{
    CloseDevice();
}

int K8055Board::OpenDevice(int address)
{
    if (address < 0 || address > kMaxAddress)
        return -1;
    if (m_address == address && m_transport->isOpen())
        return address;
    if (m_transport->isOpen())
        CloseDevice();
    const auto productId = static_cast<quint16>(kFirstProductId + address);
    if (!m_transport->open(kVendorId, productId))
        return -1;
    m_address = address;
    return address;
}

bool K8055Board::ReadAllAnalog(qint32 &value1, qint32 &value2)
{
    if (m_address < 0)
        return false;
    const std::optional<AnalogInputs> inputs = freshestReport();
    if (!inputs)
        return false;
    value1 = inputs->value1;
    value2 = inputs->value2;
    return true;
}

void K8055Board::CloseDevice()
{
    m_transport->close();
    m_address = -1;
}

std::optional<AnalogInputs> K8055Board::freshestReport()
{
    std::optional<AnalogInputs> latest;
    BoardReport report{};
    int reads = 0;
    // Returns false once the board is gone; the handle is useless then, so it is
    // dropped and the next OpenDevice looks for the board afresh.
    const auto take = [&](int timeoutMs) {
        const int n = m_transport->read(report, timeoutMs);
        ++reads;
        if (n < 0) {
            CloseDevice();
            return false;
        }
        if (n == 0)
            return false;
        if (auto inputs = decodeAnalogReport(std::span(report).first(static_cast<std::size_t>(n)), m_address))
            latest = inputs;
        return true;
    };

    // Reports queue up while nobody reads: the last one queued is the freshest.
    while (reads < kMaxReportsPerRead && take(0)) {
    }
    if (latest || m_address < 0)
        return latest;

    // Nothing queued. The first report to arrive may be one the board prepared
    // long ago, so keep taking reports for the whole window and keep the last.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kFreshReportWindowMs);
    int waitMs = kFreshReportWindowMs;
    while (reads < kMaxReportsPerRead && take(waitMs)) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        waitMs = static_cast<int>(left.count());
        if (waitMs <= 0)
            break;
    }
    return latest;
}

} // namespace orv
