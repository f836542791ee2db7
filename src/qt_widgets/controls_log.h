#pragma once

#include <QLoggingCategory>

namespace vestrak {

// What the Qt controls tell the application's log and nobody else: the host sees no error from
// them, but whoever runs the page learns why a control stays empty.
Q_DECLARE_LOGGING_CATEGORY(vestrakControls)

} // namespace vestrak
