#pragma once

#include "../export.h"

#include <QWidget>
#include <functional>

namespace vestrak {

class QtSurface;

// What CiTreeWidget and CiStatusWidget share: a surface filling the widget, sized with it, and
// the control's layout run after each size the widget's container gives it. A size the control
// takes itself (collapsing) becomes the widget's size hint and raises no layout.
class VESTRAK_QTWIDGETS_EXPORT ControlWidgetHost : public QWidget {
    Q_OBJECT
public:
    explicit ControlWidgetHost(QWidget* parent);

    [[nodiscard]] QtSurface& surface() const { return *m_Surface; }
    [[nodiscard]] QSize sizeHint() const override;

protected:
    // The control's layout entry point, set once the control exists.
    void runLayoutWith(std::function<void()> layout) { m_Layout = std::move(layout); }
    void resizeEvent(QResizeEvent* event) override;

private:
    QtSurface* m_Surface;
    std::function<void()> m_Layout;
};

} // namespace vestrak
