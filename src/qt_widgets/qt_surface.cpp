#include "qt_widgets/qt_surface.h"

#include "qt_widgets/qt_list_box.h"
#include "qt_widgets/qt_popup_menu.h"
#include "qt_widgets/qt_simple_widgets.h"
#include "qt_widgets/qt_text.h"
#include "qt_widgets/qt_text_box.h"
#include "qt_widgets/qt_toolbar.h"
#include "qt_widgets/qt_tooltip.h"
#include "qt_widgets/qt_tree.h"
#include "qt_widgets/qt_tree_view.h"
#include "qt_widgets/tab_order.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <cmath>

namespace vestrak {

namespace {

int toPixels(double twips, double twipsPerPixel)
{
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

} // namespace

double QtSurface::screenTwipsPerPixel(const QWidget& widget)
{
    const QScreen* screen = widget.screen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

QtSurface::QtSurface(FileSystem& files, double outerWidth, double outerHeight, double border, QWidget* parent,
    std::optional<double> twipsPerPixel)
    : QWidget(parent)
    , SurfaceState(outerWidth, outerHeight, border, twipsPerPixel.value_or(screenTwipsPerPixel(*this)))
    , m_Files(files)
    , m_Area(new QWidget(this))
{
    placeArea();
    if (qApp)
        connect(
            qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { followFocus(now); });
}

// Qt deletes the widgets after this destructor and tells of the focus they lose on the way; the
// adapters are gone by then and must not hear of it.
QtSurface::~QtSurface()
{
    if (qApp)
        disconnect(qApp, nullptr, this, nullptr);
    removeWidgets();
}

void QtSurface::placeArea()
{
    const int borderPixels = toPixels(border(), twipsPerPixelX());
    QWidget::resize(toPixels(outerWidth(), twipsPerPixelX()), toPixels(outerHeight(), twipsPerPixelY()));
    m_Area->setGeometry(borderPixels, borderPixels, toPixels(innerWidth(), twipsPerPixelX()),
        toPixels(innerHeight(), twipsPerPixelY()));
}

void QtSurface::chainTabStops()
{
    std::vector<QWidget*> shown;
    for (Widget* each : widgets())
        shown.push_back(dynamic_cast<QtWidgetBase&>(*each).qtWidget());
    chainTabStopsInReadingOrder(shown);
}

bool QtSurface::focusNextPrevChild(bool next)
{
    chainTabStops();
    return QWidget::focusNextPrevChild(next);
}

void QtSurface::resized(ResizedBy by)
{
    placeArea();
    chainTabStops();
    if (by == ResizedBy::Control)
        emit resizedByControl();
}

void QtSurface::resizeToPixels(QSize size)
{
    resize(size.width() * twipsPerPixelX(), size.height() * twipsPerPixelY(), border());
}

void QtSurface::toolTipChanged(Widget& widget, const std::u16string& text)
{
    if (auto* qtBacked = dynamic_cast<QtWidgetBase*>(&widget); qtBacked && qtBacked->qtWidget())
        setToolTipAndDescription(*qtBacked->qtWidget(), text);
}

// Focus that leaves the window (a menu opens, another window is activated) stays the control's:
// Qt gives it back to the same widget.
void QtSurface::followFocus(QWidget* now)
{
    if (!now)
        return;
    for (Widget* each : widgets()) {
        QWidget* shown = dynamic_cast<QtWidgetBase&>(*each).qtWidget();
        if (shown && (shown == now || shown->isAncestorOf(now))) {
            focusMovedTo(*each);
            return;
        }
    }
    focusLeftTheControl();
}

// The Qt widgets below belong to the inner area, which deletes them after their adapters.

Tree& QtSurface::addTree(const std::u16string& name, Geometry design, ImageList images, bool visible)
{
    return keep(
        std::make_unique<QtTree>(name, design, visible, widgetHost(), *new QtTreeView(m_Area), images));
}

Toolbar& QtSurface::addToolbar(const std::u16string& name, Geometry design, ImageList images, bool visible)
{
    return keep(
        std::make_unique<QtToolbar>(name, design, visible, widgetHost(), *new QWidget(m_Area), images));
}

ListBox& QtSurface::addListBox(const std::u16string& name, Geometry design, bool visible)
{
    return keep(std::make_unique<QtListBox>(name, design, visible, widgetHost(), *new QListWidget(m_Area)));
}

TextBox& QtSurface::addTextBox(const std::u16string& name, Geometry design, TextBoxLines lines, bool visible)
{
    if (lines == TextBoxLines::Single)
        return keep(std::make_unique<QtTextBox>(name, design, visible, widgetHost(), *new QLineEdit(m_Area)));
    return keep(
        std::make_unique<QtTextBox>(name, design, visible, widgetHost(), *new QPlainTextEdit(m_Area)));
}

PictureBox& QtSurface::addPictureBox(const std::u16string& name, Geometry design, bool visible)
{
    return keep(
        std::make_unique<QtPictureBox>(name, design, visible, widgetHost(), *new QLabel(m_Area), m_Files));
}

CommandButton& QtSurface::addCommandButton(
    const std::u16string& name, Geometry design, ButtonPicture picture, bool visible)
{
    return keep(std::make_unique<QtCommandButton>(
        name, design, visible, widgetHost(), *new QToolButton(m_Area), picture));
}

PopupMenu& QtSurface::addPopupMenu(const std::u16string& name, const std::u16string& firstItemCaption)
{
    return keep(std::make_unique<QtPopupMenu>(name, widgetHost(), *new QMenu(m_Area), firstItemCaption));
}

} // namespace vestrak
