#include "Application.h"

#include "sources/usb/K8055Board.h"
#include "sources/usb/LibusbTransport.h"
#include "sources/usb/USB.h"
#include "sources/serial/QtSerialComm.h"
#include "sources/serial/rs232.h"

namespace orv {

namespace {

// The board and the serial port as the main window drives them.
class RealSources final : public AcquisitionSources {
public:
    explicit RealSources(ProgramState &state)
        : m_board(makeLibusbTransport()), m_usb(state, m_board), m_rs232(state, m_comm) {}

    void usb_ouvre() override { m_usb.usb_ouvre(); }
    void usb_lit() override { m_usb.usb_lit(); }
    QString usbProblem() const override { return m_usb.problem(); }
    void rs232_ouvre() override { m_rs232.rs232_ouvre(); }
    void rs232_lit() override { m_rs232.rs232_lit(); }
    void rs232_ferme() override { m_rs232.rs232_ferme(); }
    bool serialPortOpen() const override { return m_rs232.portOpen(); }
    void serialEmptyBuffer() override { m_rs232.vide_buffer(); }
    QString serialProblem() const override { return m_rs232.problem(); }

private:
    K8055Board m_board;
    USB m_usb;
    QtSerialComm m_comm; // before the module that uses it
    rs232 m_rs232;
};

} // namespace

std::unique_ptr<AcquisitionSources> makeRealSources(ProgramState &state)
{
    return std::make_unique<RealSources>(state);
}

} // namespace orv
