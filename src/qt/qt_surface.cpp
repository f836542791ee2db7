#include "qt/qt_surface.h"

#include "qt/qt_list_box.h"
#include "qt/qt_popup_menu.h"
#include "qt/qt_simple_widgets.h"
#include "qt/qt_text.h"
#include "qt/qt_text_box.h"
#include "qt/qt_toolbar.h"
#include "qt/qt_tooltip.h"
#include "qt/qt_tree.h"
#include "qt/qt_tree_view.h"

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

QtSurface::QtSurface(double outerWidth, double outerHeight, double border, QWidget* parent,
    std::optional<double> twipsPerPixel)
    : QWidget(parent)
    , m_OuterWidth(outerWidth)
    , m_OuterHeight(outerHeight)
    , m_Border(border)
    , m_TwipsPerPixel(twipsPerPixel.value_or(screenTwipsPerPixel(*this)))
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
    m_Widgets.clear();
}

void QtSurface::placeArea()
{
    const int borderPixels = toPixels(m_Border, m_TwipsPerPixel);
    QWidget::resize(toPixels(m_OuterWidth, m_TwipsPerPixel), toPixels(m_OuterHeight, m_TwipsPerPixel));
    m_Area->setGeometry(borderPixels, borderPixels, toPixels(innerWidth(), m_TwipsPerPixel),
        toPixels(innerHeight(), m_TwipsPerPixel));
}

void QtSurface::resize(double outerWidth, double outerHeight, double border)
{
    m_OuterWidth = outerWidth;
    m_OuterHeight = outerHeight;
    m_Border = border;
    placeArea();
}

void QtSurface::resizeToPixels(QSize size)
{
    resize(size.width() * m_TwipsPerPixel, size.height() * m_TwipsPerPixel, m_Border);
}

bool QtSurface::setOuterWidth(double twips)
{
    if (twips < 2 * m_Border)
        return false;
    m_OuterWidth = twips;
    placeArea();
    emit resizedByControl();
    return true;
}

bool QtSurface::setOuterHeight(double twips)
{
    if (twips < 2 * m_Border)
        return false;
    m_OuterHeight = twips;
    placeArea();
    emit resizedByControl();
    return true;
}

void QtSurface::setSizeInPixels(std::int32_t width, std::int32_t height)
{
    setOuterWidth(width * m_TwipsPerPixel);
    setOuterHeight(height * m_TwipsPerPixel);
}

void QtSurface::addToolTip(Widget& widget, const std::u16string& text)
{
    m_ToolTips[&widget] = text;
    if (auto* qtBacked = dynamic_cast<QtWidgetBase*>(&widget); qtBacked && qtBacked->qtWidget())
        qtBacked->qtWidget()->setToolTip(toolTipHtml(text, *qtBacked->qtWidget()));
}

std::u16string QtSurface::toolTip(const Widget& widget) const
{
    auto found = m_ToolTips.find(&widget);
    return found == m_ToolTips.end() ? std::u16string() : found->second;
}

void QtSurface::followFocus(QWidget* now)
{
    for (const auto& each : m_Widgets) {
        QWidget* shown = dynamic_cast<QtWidgetBase&>(*each).qtWidget();
        if (now && shown && (shown == now || shown->isAncestorOf(now)))
            m_Focused = each.get();
    }
}

template<typename Concrete> Concrete& QtSurface::keep(std::unique_ptr<Concrete> widget)
{
    m_Widgets.push_back(std::move(widget));
    return static_cast<Concrete&>(*m_Widgets.back());
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
    return keep(std::make_unique<QtPictureBox>(name, design, visible, widgetHost(), *new QLabel(m_Area)));
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

Widget* QtSurface::widget(std::u16string_view name) const
{
    for (const auto& each : m_Widgets) {
        if (each->name() == name)
            return each.get();
    }
    return nullptr;
}

std::vector<Widget*> QtSurface::widgets() const
{
    std::vector<Widget*> all;
    all.reserve(m_Widgets.size());
    for (const auto& each : m_Widgets)
        all.push_back(each.get());
    return all;
}

} // namespace vestrak
