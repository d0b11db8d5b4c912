#pragma once

#include <QString>

namespace orv {

// The two hardware sources as the main window drives them.
class AcquisitionSources {
public:
    virtual ~AcquisitionSources() = default;

    virtual void usb_ouvre() = 0;
    virtual void usb_lit() = 0;
    // French explanation when the board did not answer; empty when it did.
    virtual QString usbProblem() const = 0;

    virtual void rs232_ouvre() = 0;
    virtual void rs232_lit() = 0;
    virtual void rs232_ferme() = 0;
    virtual bool serialPortOpen() const = 0;
    // The ten-second tick: discard waiting bytes, reopen a port that is not open.
    virtual void serialEmptyBuffer() = 0;
    virtual QString serialProblem() const = 0;
};

} // namespace orv
