#include "qt_widgets/accessible_names.h"

#include "qt_widgets/qt_text.h"

#include <algorithm>
#include <iterator>

namespace vestrak {

namespace {

struct SpokenName {
    std::u16string_view widget;
    const char* spoken;
};

constexpr SpokenName SpokenNames[] {
    { u"TreeView_Objects", "Object tree" },
    { u"List_Objects", "Object list" },
    { u"Command_Home", "Home" },
    { u"Command_Up", "Hide the object tree" },
    { u"Command_Down", "Show the object tree" },
    { u"Command_Collapse", "Collapse" },
    { u"Command_Expand", "Expand" },
    { u"Text_Filter", "Filter text" },
    { u"Toolbar_Filter", "Text filter" },
    { u"Toolbar_SystemFilter", "Filter groups" },
    { u"TreeView_Status", "Status tree" },
    { u"Text_Info", "Object information" },
    { u"Picture_Object", "Object picture" },
    { u"Menu_Popup", "Object menu" },
};

} // namespace

QString accessibleNameOf(std::u16string_view widgetName)
{
    const auto* found = std::find_if(std::begin(SpokenNames), std::end(SpokenNames),
        [widgetName](const SpokenName& each) { return each.widget == widgetName; });
    if (found != std::end(SpokenNames))
        return QString::fromLatin1(found->spoken);
    return toQString(widgetName).replace(QLatin1Char('_'), QLatin1Char(' '));
}

} // namespace vestrak
