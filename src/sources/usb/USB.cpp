#include "sources/usb/USB.h"

namespace orv {

USB::USB(ProgramState &state, K8055Board &board)
    : m_state(state)
    , m_board(board)
{
}

void USB::usb_ouvre()
{
    m_board.OpenDevice(kCardAddress);
}

void USB::usb_lit()
{
    LatestReadings &readings = m_state.readings;
    m_answered = m_board.ReadAllAnalog(readings.value1, readings.value2);
    readings.missing1 = !m_answered;
    readings.missing2 = !m_answered;
    m_board.CloseDevice();
}

QString USB::problem() const
{
    if (m_answered)
        return {};
#ifdef Q_OS_LINUX
    return QStringLiteral("La carte USB K8055 (adresse 3) ne répond pas. Vérifiez le câble ; "
                          "sous Linux, vérifiez aussi que la règle udev 70-k8055.rules est "
                          "installée, puis débranchez et rebranchez la carte.");
#else
    return QStringLiteral("La carte USB K8055 (adresse 3) ne répond pas. Vérifiez le câble, "
                          "puis débranchez et rebranchez la carte.");
#endif
}

} // namespace orv
