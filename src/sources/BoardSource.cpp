#include "sources/BoardSource.h"

#include "sources/TooltipText.h"

namespace orv {

BoardSource::BoardSource(K8055Board &board)
    : m_board(board)
{
}

void BoardSource::open()
{
    m_board.OpenDevice(kCardAddress);
}

Readings BoardSource::poll()
{
    m_board.OpenDevice(kCardAddress);
    qint32 value1 = 0;
    qint32 value2 = 0;
    m_answered = m_board.ReadAllAnalog(value1, value2);
    m_board.CloseDevice();
    m_latest = m_answered ? Readings{value1, value2} : Readings{};
    return m_latest;
}

void BoardSource::close()
{
    m_board.CloseDevice();
}

QString BoardSource::problem() const
{
    if (m_answered)
        return {};
#ifdef Q_OS_LINUX
    static const QString text =
        wrapForTooltip(QStringLiteral("La carte USB K8055 (adresse 3) ne répond pas. Vérifiez le câble ; "
                                      "sous Linux, vérifiez aussi que la règle udev 70-k8055.rules est "
                                      "installée, puis débranchez et rebranchez la carte."));
#else
    static const QString text =
        wrapForTooltip(QStringLiteral("La carte USB K8055 (adresse 3) ne répond pas. Vérifiez le câble, "
                                      "puis débranchez et rebranchez la carte."));
#endif
    return text;
}

} // namespace orv
