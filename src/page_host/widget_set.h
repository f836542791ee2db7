#pragma once

#include "ports/control_surface.h"
#include "ports/file_system.h"

#include <memory>

namespace vestrak {

// The widgets a container places its controls on: one surface per control, sized by the
// container in twips (outer size and a border on each side), whose picture box reads pictures
// from the files the control reads.
class WidgetSet {
public:
    virtual ~WidgetSet() = default;

    virtual std::unique_ptr<ControlSurface> createSurface(
        FileSystem& files, double outerWidth, double outerHeight, double border)
        = 0;
    // Sizes a surface this set created; the caller then runs the control's resize handling.
    virtual void resize(ControlSurface& surface, double outerWidth, double outerHeight, double border) = 0;
};

} // namespace vestrak
