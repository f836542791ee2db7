#include "qt/citree_widget.h"

#include "citree/citree.h"
#include "citree/citree_property_table.h"
#include "ports/control_error.h"
#include "qt/application_platform.h"
#include "qt/control_property_values.h"
#include "qt_widgets/qt_colors.h"
#include "qt_widgets/qt_surface.h"
#include "qt_widgets/qt_text.h"

namespace vestrak {

namespace {

std::u16string TextOf(CiTree& control, std::u16string_view name)
{
    return TextProperty(CiTreeProperties(), control, name);
}

std::int32_t NumberOf(CiTree& control, std::u16string_view name)
{
    return NumberProperty(CiTreeProperties(), control, name);
}

} // namespace

CiTreeWidget::CiTreeWidget(QWidget* parent)
    : CiTreeWidget(applicationPlatform(), parent)
{
}

CiTreeWidget::CiTreeWidget(const Platform& platform, QWidget* parent)
    : ControlWidgetHost(platform.files, parent)
    , m_Control(std::make_unique<CiTree>(surface(), platform))
{
    m_Connections += m_Control->Click.connect([this] { emit Click(); });
    m_Connections += m_Control->NodeClick.connect([this] {
        announceChangedProperties();
        emit NodeClick();
    });
    m_Connections += m_Control->NodeDoubleClick.connect([this] { emit NodeDoubleClick(); });
    runLayoutWith([this] { m_Control->UserControl_Resize(); });
    rebuildWith([this] { m_Control->setStyle(m_Control->Style()); });
    announceChangedProperties();
}

// The control ends while its surface and widgets still exist.
CiTreeWidget::~CiTreeWidget()
{
    m_Control.reset();
}

template<typename Value> void CiTreeWidget::apply(std::u16string_view name, Value value)
{
    const ControlProperty<CiTree>& property = FindProperty(CiTreeProperties(), name);
    property.set(*m_Control, PropertyValue(std::move(value)));
    if (property.timing == PropertyTiming::Builds)
        buildRan();
    else if (property.timing == PropertyTiming::NextBuild)
        buildInputChanged();
    if (property.timing == PropertyTiming::Builds || property.changes == PropertyChanges::ByOperator)
        announceChangedProperties();
}

QString CiTreeWidget::ObjectFile() const
{
    return toQString(TextOf(*m_Control, u"ObjectFile"));
}

void CiTreeWidget::setObjectFile(const QString& value)
{
    apply(u"ObjectFile", fromQString(value));
}

QString CiTreeWidget::ObjectFileSection() const
{
    return toQString(TextOf(*m_Control, u"ObjectFileSection"));
}

void CiTreeWidget::setObjectFileSection(const QString& value)
{
    apply(u"ObjectFileSection", fromQString(value));
}

QString CiTreeWidget::RootObject() const
{
    return toQString(TextOf(*m_Control, u"RootObject"));
}

void CiTreeWidget::setRootObject(const QString& value)
{
    apply(u"RootObject", fromQString(value));
}

CiTreeWidget::Styles CiTreeWidget::Style() const
{
    return Styles::fromInt(NumberOf(*m_Control, u"Style"));
}

void CiTreeWidget::setStyle(Styles value)
{
    apply(u"Style", static_cast<std::int32_t>(value.toInt()));
}

QColor CiTreeWidget::BackColor() const
{
    return toQColor(static_cast<std::uint32_t>(NumberOf(*m_Control, u"BackColor")), palette());
}

void CiTreeWidget::setBackColor(const QColor& value)
{
    setBackColor(hostColorOf(value));
}

void CiTreeWidget::setBackColor(int hostColor)
{
    apply(u"BackColor", std::int32_t { hostColor });
}

QString CiTreeWidget::SelectedObject() const
{
    return toQString(TextOf(*m_Control, u"SelectedObject"));
}

void CiTreeWidget::setSelectedObject(const QString& value)
{
    apply(u"SelectedObject", fromQString(value));
}

QString CiTreeWidget::SelectedObjectExtraInfo() const
{
    return toQString(TextOf(*m_Control, u"SelectedObjectExtraInfo"));
}

void CiTreeWidget::setSelectedObjectExtraInfo(const QString& value)
{
    apply(u"SelectedObjectExtraInfo", fromQString(value));
}

QString CiTreeWidget::SelectedObjectExtraKey() const
{
    try {
        return toQString(TextOf(*m_Control, u"SelectedObjectExtraKey"));
    } catch (const ControlError&) {
        return {};
    }
}

int CiTreeWidget::CollapseTime() const
{
    return NumberOf(*m_Control, u"CollapseTime");
}

void CiTreeWidget::setCollapseTime(int value)
{
    apply(u"CollapseTime", std::int32_t { value });
}

void CiTreeWidget::setExpandedWidth(int pixels)
{
    apply(u"ExpandedWidth", std::int32_t { pixels });
    m_ExpandedWidth = pixels;
}

void CiTreeWidget::setExpandedHeight(int pixels)
{
    apply(u"ExpandedHeight", std::int32_t { pixels });
    m_ExpandedHeight = pixels;
}

void CiTreeWidget::setControlVisible(bool visible)
{
    apply(u"Visible", HostYesNo(visible));
    m_ControlVisible = visible;
}

} // namespace vestrak
