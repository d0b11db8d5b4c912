// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/BoardTransport.h"

#include <memory>

namespace orv {

// The real board transport on libusb-1.0. If libusb cannot start (no USB
// subsystem, a container), every open simply fails as if no board were there.
std::unique_ptr<BoardTransport> makeLibusbTransport();

} // namespace orv
