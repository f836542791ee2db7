#pragma once

#include "ports/command_button.h"
#include "ports/image_lists.h"

#include <QColor>
#include <QIcon>
#include <QSize>
#include <cstdint>

class QPainter;

namespace vestrak {

// The drawn images of an image list, by number from 1; a blank icon of the same size for 0 or a
// number the list lacks.
QIcon imageListIcon(ImageList list, std::int32_t image);

// The picture of a command button, and the size it is designed at.
QIcon buttonPictureIcon(ButtonPicture picture);
QSize buttonPictureSize(ButtonPicture picture);

// The colour of each group flag, images 4 to 11 of the system icons.
QColor flagColor(std::int32_t image);

// A house in colour on a 16 x 16 grid: the structure node and the Home button share it.
void drawHouse(QPainter& painter);

} // namespace vestrak
