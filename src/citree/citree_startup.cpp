#include "citree/citree_p.h"
#include "citree/settings_names.h"
#include "citree/tree_line.h"

namespace vestrak {

namespace {

constexpr std::size_t ConfigurationBufferSize = 255;
constexpr const char16_t* VendorNotice = u"VestrakControls - operator navigation for SCADA pages";

bool EndsInFolderSeparator(const std::u16string& path)
{
    return path.ends_with(u'/') || path.ends_with(u'\\');
}

} // namespace

void CiTreePrivate::UserControl_Initialize()
{
    WriteMarker(u"CiTree UserControl_Initialize A");
    const std::u16string configurationFile = m_Platform.profile.userProfileString(
        u"CITECT.HELP", u"LASTINI", u"Citect.INI", ConfigurationBufferSize);
    std::u16string runFolder = m_Platform.profile.privateProfileString(
        u"CTEDIT", u"RUN", u"", configurationFile, ConfigurationBufferSize);
    if (!EndsInFolderSeparator(runFolder)) {
        runFolder += u'/';
    }
    m_ObjectFile = runFolder + u"CiTree.ini";
    Command_Up.setLeft(Command_Down.left());
    m_BackColor = WindowBackgroundColor;
    m_Surface.addToolTip(Command_Collapse, std::u16string(u"Collapse Navigation Tree\r\n") + VendorNotice);
    m_Surface.addToolTip(Command_Expand, std::u16string(u"Expand Navigation Tree\r\n") + VendorNotice);
    WriteMarker(u"CiTree UserControl_Initialize B");
}

void CiTreePrivate::UserControl_Terminate()
{
    if (HasStyle(StyleKeepScrollPosition)) {
        SaveSetting(SettingsSection, ScrollPositionKey, DecimalText(GetScrollPosition()));
    }
    WriteMarker(u"CiTree Terminate");
}

} // namespace vestrak
