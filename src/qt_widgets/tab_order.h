#pragma once

#include <vector>

class QWidget;

namespace vestrak {

// Chains the widgets' tab stops in the order they are read: top to bottom, and left to right
// among widgets beside one another, so that a strip down the right comes after all it stands
// beside. Hidden widgets are left where they are.
void chainTabStopsInReadingOrder(const std::vector<QWidget*>& widgets);

} // namespace vestrak
