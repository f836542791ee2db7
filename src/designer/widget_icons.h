#pragma once

#include <QIcon>

namespace vestrak {

// The widget box icons, drawn: a tree of pages, and a tree of coloured status lights.
QIcon navigationTreeIcon();
QIcon statusTreeIcon();

} // namespace vestrak
