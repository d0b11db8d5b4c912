#include "sources/serial/rs232.h"

#include <algorithm>

namespace orv {

rs232::rs232(ProgramState &state, SerialComm &comm)
    : m_state(state)
    , Comm1(comm)
{
}

void rs232::rs232_ouvre()
{
    m_actif = true;
    if (Comm1.PortOpen())
        return;
    ouvre_port();
}

void rs232::ouvre_port()
{
    // This order is the component's contract: everything is set before opening.
    Comm1.setCommPort(1);
    Comm1.setSettings(QStringLiteral("2400,n,8,1"));
    Comm1.setInputMode(1);
    Comm1.setDTREnable(true);
    Comm1.setRTSEnable(true);
    Comm1.setPortOpen(true);
    if (Comm1.PortOpen())
        m_portDebranche.clear();
}

void rs232::rs232_lit()
{
    if (Comm1.InBufferCount() != 4)
        return;
    const QByteArray bytes = Comm1.Input();
    // A byte landing between the count and the read belongs to the next frame
    // and is dropped with it; fewer than four means the device just went away.
    if (bytes.size() < 4)
        return;
    std::transform(bytes.cbegin(), bytes.cbegin() + 4, trame_recue.begin(),
                   [](char c) { return static_cast<quint8>(c); });
    m_state.readings.value1 = trame_recue[2];
    m_state.readings.missing1 = false;
}

void rs232::rs232_ferme()
{
    m_actif = false;
    m_portDebranche.clear();
    if (Comm1.PortOpen())
        Comm1.setPortOpen(false);
}

void rs232::vide_buffer()
{
    Comm1.setInBufferCount(0);
    if (!m_actif || Comm1.PortOpen())
        return;
    if (Comm1.fault() == SerialFault::LinkLost)
        m_portDebranche = Comm1.devicePath();
    ouvre_port();
}

bool rs232::portOpen() const
{
    return Comm1.PortOpen();
}

QString rs232::problem() const
{
    if (!m_actif || Comm1.PortOpen())
        return {};
    const SerialFault fault = Comm1.fault();
    // An unplugged adapter's node is gone, so retries find it absent, or find no
    // port at all: keep saying what happened until it is back.
    if (!m_portDebranche.isEmpty() && (fault == SerialFault::Absent || fault == SerialFault::NoPort))
        return serialProblemText(SerialFault::LinkLost, m_portDebranche);
    return serialProblemText(fault, Comm1.devicePath(), Comm1.faultDetail());
}

QString serialProblemText(SerialFault fault, const QString &device, const QString &detail)
{
    switch (fault) {
    case SerialFault::None:
        return {};
    case SerialFault::NoPort:
        return QStringLiteral("Aucun port série trouvé : branchez l'adaptateur série de l'appareil.");
    case SerialFault::Absent:
        return QStringLiteral("Le port %1 est absent : vérifiez que l'adaptateur est branché.").arg(device);
    case SerialFault::Busy:
        return QStringLiteral("Le port %1 est occupé par un autre programme : fermez ce programme, "
                              "la lecture reprendra d'elle-même.").arg(device);
    case SerialFault::Permission:
        return QStringLiteral("Accès refusé à %1 : ajoutez votre compte au groupe dialout, "
                              "puis reconnectez-vous.").arg(device);
    case SerialFault::LinkLost:
        return QStringLiteral("Le port %1 a été débranché : rebranchez l'appareil, "
                              "la lecture reprendra d'elle-même.").arg(device);
    case SerialFault::Other:
        break;
    }
    return QStringLiteral("Le port %1 ne peut pas être ouvert (%2).").arg(device, detail);
}

} // namespace orv
