#pragma once

#include "page_host/widget_set.h"

namespace vestrak {

// In-memory widgets at 15 twips per pixel: nothing is drawn, everything can be read back.
class HeadlessWidgetSet final : public WidgetSet {
public:
    std::unique_ptr<ControlSurface> createSurface(
        FileSystem& files, double outerWidth, double outerHeight, double border) override;
    void resize(ControlSurface& surface, double outerWidth, double outerHeight, double border) override;
};

} // namespace vestrak
