#pragma once

#include "core/ProgramState.h"
#include "sources/serial/SerialComm.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace orv {

// The readout's tooltip for a serial port that does not work: the device, the
// reason and what to do, in French. Empty for SerialFault::None.
QString serialProblemText(SerialFault fault, const QString &device, const QString &detail = {});

// Module rs232: value 1 of the latest readings from a device that sends
// four-byte frames on its own. The port is only polled: a frame is taken when
// exactly four bytes wait, and the main window's ten-second timer empties the
// buffer (vide_buffer) so a partial frame or a burst cannot keep it out of step.
class rs232 {
public:
    rs232(ProgramState &state, SerialComm &Comm1);

    // Configures port 1 as "2400,n,8,1", binary, DTR and RTS raised, and opens
    // it; an open port is left exactly as it is. From here on the serial source
    // is active: a port that could not be opened is retried by vide_buffer.
    void rs232_ouvre();
    // Takes value 1 from the third byte of a frame when exactly four bytes wait;
    // with any other count the bytes stay where they are.
    void rs232_lit();
    // Closes the port if it is open and ends the serial source: no more retries.
    void rs232_ferme();
    // The work of TimerVideBufferRS_Timer: discards every byte waiting and,
    // while the source is active, opens the port again if it is closed (failed
    // opening, adapter unplugged), so the device is picked up without a restart.
    void vide_buffer();

    bool portOpen() const;
    // Empty while the source is inactive or its port works; otherwise a French
    // sentence for the readout's tooltip, naming the device and the reason.
    QString problem() const;

private:
    void ouvre_port();

    ProgramState &m_state;
    SerialComm &Comm1;
    std::array<quint8, 4> trame_recue {};
    bool m_actif = false;
    // The device that went away while open, for as long as it stays away.
    QString m_portDebranche;
};

} // namespace orv
