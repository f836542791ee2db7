#pragma once

#include "../export.h"
#include "../ports/control_surface.h"

#include <QWidget>
#include <functional>

namespace vestrak {

class QtSurface;

/// What CiTreeWidget and CiStatusWidget share: a surface filling the widget, sized with it, and
/// the control's layout run after each size the widget's container gives it. A size the control
/// takes itself (collapsing) becomes the widget's size hint and raises no layout.
class VESTRAK_QTWIDGETS_EXPORT ControlWidgetHost : public QWidget {
    Q_OBJECT
public:
    /// An empty host; the derived widget creates its control on surface().
    explicit ControlWidgetHost(QWidget* parent);

    /// The surface the control's widgets live on; its widgets are found by their names.
    [[nodiscard]] ControlSurface& surface() const;
    /// The size the control took itself (collapsed or expanded), else the widget's own hint.
    [[nodiscard]] QSize sizeHint() const override;

protected:
    /// The control's layout entry point, set once the control exists.
    void runLayoutWith(std::function<void()> layout) { m_Layout = std::move(layout); }
    /// Sizes the surface with the widget and runs the control's layout.
    void resizeEvent(QResizeEvent* event) override;

private:
    QtSurface* m_Surface;
    std::function<void()> m_Layout;
};

} // namespace vestrak
