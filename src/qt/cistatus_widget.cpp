#include "qt/cistatus_widget.h"

#include "cistatus/cistatus.h"
#include "cistatus/cistatus_property_table.h"
#include "qt/application_platform.h"
#include "qt/control_property_values.h"
#include "qt_widgets/qt_colors.h"
#include "qt_widgets/qt_surface.h"
#include "qt_widgets/qt_text.h"

namespace vestrak {

namespace {

std::u16string TextOf(CiStatus& control, std::u16string_view name)
{
    return TextProperty(CiStatusProperties(), control, name);
}

std::int32_t NumberOf(CiStatus& control, std::u16string_view name)
{
    return NumberProperty(CiStatusProperties(), control, name);
}

} // namespace

CiStatusWidget::CiStatusWidget(QWidget* parent)
    : CiStatusWidget(applicationPlatform(), parent)
{
}

CiStatusWidget::CiStatusWidget(const Platform& platform, QWidget* parent)
    : ControlWidgetHost(platform.files, parent)
    , m_Control(std::make_unique<CiStatus>(surface(), platform))
{
    m_Connections += m_Control->GetStatus.connect([this] { emit GetStatus(); });
    m_Connections += m_Control->NodeClick.connect([this] {
        announceChangedProperties();
        emit NodeClick();
    });
    m_Connections += m_Control->NodeDblClick.connect([this] { emit NodeDblClick(); });
    m_Connections += m_Control->PopupMenuItemClick.connect([this] {
        announceChangedProperties();
        emit PopupMenuItemClick();
    });
    runLayoutWith([this] { m_Control->UserControl_Resize(); });
    rebuildWith([this] { m_Control->setObjectFile(m_Control->ObjectFile()); });
    announceChangedProperties();
}

// The control ends while its surface and widgets still exist.
CiStatusWidget::~CiStatusWidget()
{
    m_Control.reset();
}

template<typename Value> void CiStatusWidget::apply(std::u16string_view name, Value value)
{
    const ControlProperty<CiStatus>& property = FindProperty(CiStatusProperties(), name);
    property.set(*m_Control, PropertyValue(std::move(value)));
    if (property.timing == PropertyTiming::Builds)
        buildRan();
    else if (property.timing == PropertyTiming::NextBuild)
        buildInputChanged();
    if (property.timing == PropertyTiming::Builds || property.changes == PropertyChanges::ByOperator)
        announceChangedProperties();
}

QString CiStatusWidget::ObjectFile() const
{
    return toQString(TextOf(*m_Control, u"ObjectFile"));
}

void CiStatusWidget::setObjectFile(const QString& value)
{
    apply(u"ObjectFile", fromQString(value));
}

QString CiStatusWidget::RootObject() const
{
    return toQString(TextOf(*m_Control, u"RootObject"));
}

void CiStatusWidget::setRootObject(const QString& value)
{
    apply(u"RootObject", fromQString(value));
}

QString CiStatusWidget::ObjectTagName()
{
    return toQString(TextOf(*m_Control, u"ObjectTagName"));
}

int CiStatusWidget::ObjectStatus() const
{
    return NumberOf(*m_Control, u"ObjectStatus");
}

void CiStatusWidget::setObjectStatus(int value)
{
    apply(u"ObjectStatus", std::int32_t { value });
}

int CiStatusWidget::UpdateInterval() const
{
    return NumberOf(*m_Control, u"UpdateInterval");
}

void CiStatusWidget::setUpdateInterval(int value)
{
    apply(u"UpdateInterval", std::int32_t { value });
}

CiStatusWidget::Behaviours CiStatusWidget::Behaviour() const
{
    return Behaviours::fromInt(NumberOf(*m_Control, u"Behaviour"));
}

void CiStatusWidget::setBehaviour(Behaviours value)
{
    apply(u"Behaviour", static_cast<std::int32_t>(value.toInt()));
}

QString CiStatusWidget::SelectedNode() const
{
    return toQString(TextOf(*m_Control, u"SelectedNode"));
}

QString CiStatusWidget::SelectedNodeCode() const
{
    return toQString(TextOf(*m_Control, u"SelectedNodeCode"));
}

QString CiStatusWidget::SelectedNodeTagName() const
{
    return toQString(TextOf(*m_Control, u"SelectedNodeTagName"));
}

QString CiStatusWidget::SelectedPopupMenuItem() const
{
    return toQString(TextOf(*m_Control, u"SelectedPopupMenuItem"));
}

QColor CiStatusWidget::BackColor() const
{
    return toQColor(static_cast<std::uint32_t>(NumberOf(*m_Control, u"BackColor")), palette());
}

void CiStatusWidget::setBackColor(const QColor& value)
{
    setBackColor(hostColorOf(value));
}

void CiStatusWidget::setBackColor(int hostColor)
{
    apply(u"BackColor", std::int32_t { hostColor });
}

bool CiStatusWidget::PictureVisible() const
{
    return NumberOf(*m_Control, u"PictureVisible") != 0;
}

void CiStatusWidget::setPictureVisible(bool visible)
{
    apply(u"PictureVisible", HostYesNo(visible));
}

int CiStatusWidget::PictureWidth() const
{
    return NumberOf(*m_Control, u"PictureWidth");
}

void CiStatusWidget::setPictureWidth(int value)
{
    apply(u"PictureWidth", std::int32_t { value });
}

int CiStatusWidget::TextHeight() const
{
    return NumberOf(*m_Control, u"TextHeight");
}

void CiStatusWidget::setTextHeight(int value)
{
    apply(u"TextHeight", std::int32_t { value });
}

void CiStatusWidget::setPopupMenuItem(const QString& nameAndCaption)
{
    apply(u"PopupMenuItem", fromQString(nameAndCaption));
    if (nameAndCaption.isEmpty())
        m_PopupMenuItems.clear();
    else
        m_PopupMenuItems.append(nameAndCaption);
}

void CiStatusWidget::setPopupMenuItem(const QStringList& namesAndCaptions)
{
    setPopupMenuItem(QString());
    for (const QString& nameAndCaption : namesAndCaptions) {
        if (!nameAndCaption.isEmpty())
            setPopupMenuItem(nameAndCaption);
    }
}

} // namespace vestrak
