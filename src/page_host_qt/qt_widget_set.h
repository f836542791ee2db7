#pragma once

#include "page_host/widget_set.h"

namespace vestrak {

// The Qt widgets for a page container: one top-level QtSurface per control, at the container's
// fixed 15 twips per pixel so that sizes and transcripts match the in-memory set.
class QtWidgetSet final : public WidgetSet {
public:
    static constexpr double TwipsPerPixel = 15;

    std::unique_ptr<ControlSurface> createSurface(
        FileSystem& files, double outerWidth, double outerHeight, double border) override;
    void resize(ControlSurface& surface, double outerWidth, double outerHeight, double border) override;
};

} // namespace vestrak
