#include "qt_widgets/controls_log.h"

namespace vestrak {

Q_LOGGING_CATEGORY(vestrakControls, "vestrak.controls")

} // namespace vestrak
