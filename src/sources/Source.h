// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Choices.h"
#include "core/Readings.h"

#include <QString>

#include <functional>
#include <memory>

namespace orv {

// Where the two values come from. The window, or the headless logger, holds one source and
// never asks which: it opens it, polls it (twice a second for the window's readout, or
// right before each sample without a window), records what it last gave at each sample,
// runs its maintenance when asked, and closes it.
class Source {
public:
    virtual ~Source() = default;

    // Starts using the device; a device that cannot be used yet is a problem(), not an error.
    virtual void open() = 0;
    // The readout tick: asks the device, returns what it gives now.
    virtual Readings poll() = 0;
    // What a sample records now, without touching the device: the last poll's readings
    // (the test value as it stands, for the keyboard source of test mode).
    virtual Readings latest() const = 0;
    virtual void close() = 0;
    // Why the values are missing, in French, for the readout's tooltip; empty when all is well.
    virtual QString problem() const = 0;

    // A source that needs regular care (the serial port: discard stray bytes, reopen a lost
    // port) says how often, in ms; 0 for none.
    virtual int maintenanceIntervalMs() const { return 0; }
    virtual void maintain() {}

    // Without a readout to poll it, a device that speaks on its own (the serial device) is
    // read as its bytes arrive; `changed` is then called, on this thread, whenever what
    // latest() or problem() say may have changed. The others never call it.
    virtual void follow(std::function<void()> /*changed*/) {}
    // While followed: the device is missing and maintain() must look for it again.
    virtual bool needsCare() const { return false; }
};

// Makes the source of each device, the board or the serial device (nothing for the keyboard,
// which is no device); the real one drives the devices, tests hand fakes.
class SourceFactory {
public:
    virtual ~SourceFactory() = default;
    virtual std::unique_ptr<Source> make(SourceKind device) = 0;
};

} // namespace orv
