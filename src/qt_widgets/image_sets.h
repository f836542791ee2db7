#pragma once

#include <QIcon>
#include <vector>

namespace vestrak {

// The drawn images of each image list, in the order of their numbers from 1.
std::vector<QIcon> systemIcons();
std::vector<QIcon> filterToolbarIcons();
std::vector<QIcon> statusIcons();

} // namespace vestrak
