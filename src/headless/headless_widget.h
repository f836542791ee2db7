#pragma once

#include "widgets/widget_state.h"

namespace vestrak {

// An in-memory widget is its state: nothing is drawn, and the surface notes the focus.
template<typename Port> class HeadlessWidget : public WidgetState<Port> {
public:
    using WidgetState<Port>::WidgetState;
};

} // namespace vestrak
