#include "Application.h"

#include "sources/usb/K8055Board.h"
#include "sources/usb/LibusbTransport.h"
#include "sources/usb/USB.h"

namespace orv {

namespace {

// The board and the serial port as the main window drives them.
class RealSources final : public AcquisitionSources {
public:
    explicit RealSources(ProgramState &state) : m_board(makeLibusbTransport()), m_usb(state, m_board) {}

    void usb_ouvre() override { m_usb.usb_ouvre(); }
    void usb_lit() override { m_usb.usb_lit(); }
    QString usbProblem() const override { return m_usb.problem(); }
    void rs232_ouvre() override {}
    void rs232_lit() override {}
    void rs232_ferme() override {}
    bool serialPortOpen() const override { return false; }
    void serialEmptyBuffer() override {}
    QString serialProblem() const override { return {}; }

private:
    K8055Board m_board;
    USB m_usb;
};

} // namespace

std::unique_ptr<AcquisitionSources> makeRealSources(ProgramState &state)
{
    return std::make_unique<RealSources>(state);
}

} // namespace orv
