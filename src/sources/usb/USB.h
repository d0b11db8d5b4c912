#pragma once

#include "core/ProgramState.h"
#include "sources/usb/K8055Board.h"

#include <QString>

namespace orv {

// Module USB: the board source. Each readout tick with the board chosen calls
// usb_ouvre then usb_lit; start-up calls usb_ouvre once more on its own.
class USB {
public:
    static constexpr int kCardAddress = 3;

    USB(ProgramState &state, K8055Board &board);

    // OpenDevice(3); the result is not needed, usb_lit finds out.
    void usb_ouvre();
    // ReadAllAnalog into the latest readings, then CloseDevice. Without a report
    // both readings are marked missing and keep their old, now meaningless, values.
    void usb_lit();

    // Tooltip text for the readout while the board does not answer: empty until
    // a read fails and again after the next successful one.
    QString problem() const;

private:
    ProgramState &m_state;
    K8055Board &m_board;
    bool m_answered = true;
};

} // namespace orv
