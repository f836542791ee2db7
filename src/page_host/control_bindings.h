#pragma once

#include "page_host/hosted_control.h"
#include "ports/platform.h"

#include <memory>

namespace vestrak {

// One per control type: the control on the given surface, bound to its host-facing names.
std::unique_ptr<HostedControl> CreateCiTree(
    std::unique_ptr<ControlSurface> surface, const Platform& platform);
std::unique_ptr<HostedControl> CreateCiStatus(
    std::unique_ptr<ControlSurface> surface, const Platform& platform);

} // namespace vestrak
