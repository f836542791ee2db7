#pragma once

#include "../export.h"

#include <stdexcept>
#include <string>

namespace vestrak {

/// The one failure a control reports to its host: thrown by the few property accessors that do
/// not ignore errors. Hosts catch it and show the message; nothing else in a control throws.
class VESTRAK_CONTROLS_EXPORT ControlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vestrak
