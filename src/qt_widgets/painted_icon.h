#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>
#include <functional>

class QPainter;

namespace vestrak {

// Draws a picture in its design pixels: (0, 0) to the design size.
using PictureDrawing = std::function<void(QPainter&)>;

// An icon that draws itself at every size it is asked for, so it stays crisp on screens with
// more device pixels than design pixels.
QIcon paintedIcon(QSize designSize, PictureDrawing drawing);

// The picture drawn on a transparent image of the design size times the device pixel ratio.
QImage paintedImage(QSize designSize, qreal devicePixelRatio, const PictureDrawing& drawing);

} // namespace vestrak
