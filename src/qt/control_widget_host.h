#pragma once

#include "../export.h"
#include "../ports/control_surface.h"
#include "../ports/file_system.h"

#include <QVariant>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

namespace vestrak {

class QtSurface;

/// What CiTreeWidget and CiStatusWidget share: a surface filling the widget, sized with it, and
/// the control's layout run after each size the widget's container gives it. A size the control
/// takes itself (collapsing) becomes the widget's size hint and raises no layout.
///
/// While a page is being set up (until the widget is first shown or control first returns to
/// the event loop), a value the control's build reads that changes after a build has run makes
/// the build run again once set-up ends, so the page shows the same tree whatever order its
/// properties came in.
class VESTRAK_QTWIDGETS_EXPORT ControlWidgetHost : public QWidget {
    Q_OBJECT
public:
    /// An empty host whose picture boxes read the files of the application's platform
    /// (applicationPlatform()); the derived widget creates its control on surface().
    explicit ControlWidgetHost(QWidget* parent);
    /// An empty host whose picture boxes read pictures from these files, which outlive it: those
    /// of the platform the control is given.
    ControlWidgetHost(FileSystem& files, QWidget* parent);

    /// The surface the control's widgets live on; its widgets are found by their names.
    [[nodiscard]] ControlSurface& surface() const;
    /// The size the control took itself (collapsed or expanded), else the widget's own hint.
    [[nodiscard]] QSize sizeHint() const override;

protected:
    /// The control's layout entry point, set once the control exists.
    void runLayoutWith(std::function<void()> layout) { m_Layout = std::move(layout); }
    /// The control's build (or load) with its stored values, run again when set-up ends if a value
    /// it reads changed after it ran.
    void rebuildWith(std::function<void()> build) { m_Build = std::move(build); }
    /// A property that builds at once was set.
    void buildRan();
    /// A property that the next build reads was set.
    void buildInputChanged();
    /// Emits the notify signal of each of the derived widget's properties whose value changed
    /// since the last call.
    void announceChangedProperties();
    /// A property whose notify signal gets its first listener is read.
    void connectNotify(const QMetaMethod& signal) override;
    /// Sizes the surface with the widget and runs the control's layout.
    void resizeEvent(QResizeEvent* event) override;
    /// Ends set-up before the first paint.
    void showEvent(QShowEvent* event) override;

private:
    void finishSetUp();

    enum class SetUp { Applying, BuiltWhileApplying, BuildOutOfDate, Done };

    QtSurface* m_Surface;
    std::function<void()> m_Layout;
    std::function<void()> m_Build;
    SetUp m_SetUp = SetUp::Applying;
    // Per property of the derived widget, its value at the last call; none while nobody listens.
    std::vector<std::optional<QVariant>> m_AnnouncedValues;
};

} // namespace vestrak
