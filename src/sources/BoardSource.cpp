// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/BoardSource.h"

#include <chrono>

namespace orv {

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

BoardSource::BoardSource(BoardTransport &transport)
    : m_transport(transport)
{
}

void BoardSource::open()
{
    if (!m_transport.isOpen())
        m_transport.open(kVendorId, kProductId);
}

Readings BoardSource::poll()
{
    open();
    const std::optional<AnalogInputs> inputs = m_transport.isOpen() ? freshestReport() : std::nullopt;
    m_transport.close();
    m_answered = inputs.has_value();
    m_latest = inputs ? Readings{inputs->value1, inputs->value2} : Readings{};
    return m_latest;
}

void BoardSource::close()
{
    m_transport.close();
}

std::optional<AnalogInputs> BoardSource::freshestReport()
{
    // The first report to arrive may be one the board prepared long ago, so keep taking
    // reports for the whole window and keep the last.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kFreshReportWindowMs);
    std::optional<AnalogInputs> latest;
    BoardReport report{};
    for (int waitMs = kFreshReportWindowMs; waitMs > 0;) {
        // Nothing within the wait, or the board is gone (its handle is closed after).
        const int n = m_transport.read(report, waitMs);
        if (n <= 0)
            break;
        if (auto inputs = decodeAnalogReport(std::span(report).first(static_cast<std::size_t>(n)), kCardAddress))
            latest = inputs;
        waitMs = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count());
    }
    return latest;
}

QString BoardSource::problem() const
{
    if (m_answered)
        return {};
#ifdef Q_OS_LINUX
    return QStringLiteral("La carte USB K8055 (adresse 3) ne répond pas. Vérifiez le câble ; sous Linux, vérifiez "
                          "aussi que la règle udev 70-k8055.rules est installée, puis débranchez et rebranchez la "
                          "carte.");
#else
    return QStringLiteral("La carte USB K8055 (adresse 3) ne répond pas. Vérifiez le câble, puis débranchez et "
                          "rebranchez la carte.");
#endif
}

} // namespace orv
