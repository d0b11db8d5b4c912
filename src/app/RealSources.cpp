#include "Application.h"

namespace orv {

namespace {
// Stands in until the board and serial modules are wired.
class PendingSources final : public AcquisitionSources {
public:
    void usb_ouvre() override {}
    void usb_lit() override {}
    QString usbProblem() const override { return {}; }
    void rs232_ouvre() override {}
    void rs232_lit() override {}
    void rs232_ferme() override {}
    bool serialPortOpen() const override { return false; }
    void serialEmptyBuffer() override {}
    QString serialProblem() const override { return {}; }
};
} // namespace

std::unique_ptr<AcquisitionSources> makeRealSources(ProgramState &)
{
    return std::make_unique<PendingSources>();
}

} // namespace orv
