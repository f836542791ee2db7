#include "cistatus/cistatus_p.h"
#include "object_file/object_file.h"
#include "object_file/object_picture.h"

#include <string_view>

namespace vestrak {

namespace {

const std::u16string SettingsApplication = u"CiStatus";
constexpr std::int16_t RightMouseButton = 2;

// Each data line followed by a line break, the last one too.
std::u16string AsLines(const std::u16string& section)
{
    std::u16string text;
    text.reserve(section.size() * 2);
    for (const char16_t unit : section) {
        if (unit == u'\0') {
            text += u"\r\n";
        } else {
            text += unit;
        }
    }
    return text;
}

} // namespace

std::shared_ptr<cStatus> CiStatusPrivate::statusOfNode(const NodeRef& node) const
{
    const std::int32_t index = node ? node->index() : 0;
    if (index < 1 || index > static_cast<std::int32_t>(m_StatusObjects.size())) {
        return nullptr;
    }
    return m_StatusObjects.handle(static_cast<std::size_t>(index) - 1);
}

void CiStatusPrivate::TreeView_Status_NodeClick(const NodeRef& node)
{
    // The load selects the stored node from code; that is no operator's choice.
    if (m_Loading) {
        return;
    }
    m_SelectedStatus = statusOfNode(node);
    m_Platform.settings.SaveSetting(SettingsApplication, u"SelectedNode", u"FullPath", node->fullPath());
    if (m_SelectedStatus) {
        showInformationText();
        showPicture();
    }
    NodeClick();
}

void CiStatusPrivate::showInformationText()
{
    Text_Info.setText(AsLines(ReadIniSection(
        StatusTexts::Decoded(m_SelectedStatus->m_Texts.section()), m_ObjectFile, m_Platform.files)));
}

void CiStatusPrivate::showPicture()
{
    const std::optional<ObjectPicture> picture = FindObjectPicture(
        m_Platform.files, m_ObjectFile, StatusTexts::Decoded(m_SelectedStatus->m_Texts.section()));
    if (picture) {
        // A file the loader cannot read leaves the former picture, shown all the same.
        Picture_Object.loadPicture(picture->path);
    }
    Picture_Object.setVisible(picture.has_value());
}

void CiStatusPrivate::TreeView_Status_DblClick()
{
    if (m_Loading) {
        return;
    }
    const NodeRef selected = TreeView_Status.selectedNode();
    if (!selected) {
        return;
    }
    m_SelectedStatus = statusOfNode(selected);
    NodeDblClick();
}

void CiStatusPrivate::TreeView_Status_MouseDown(std::int16_t button, std::int16_t, double x, double y)
{
    m_LastMouseButton = button;
    m_RightClickedNode = button == RightMouseButton ? TreeView_Status.hitTest(x, y) : nullptr;
    // A menu command applies to the selected object: the pointed node is selected first, as a
    // left click would, so that the command never lands on another object.
    if (m_RightClickedNode && !m_Loading) {
        m_RightClickedNode->setSelected(true);
        TreeView_Status_NodeClick(m_RightClickedNode);
    }
}

void CiStatusPrivate::TreeView_Status_Expand(const NodeRef& node)
{
    if (!m_Loading) {
        m_Platform.settings.SaveSetting(SettingsApplication, u"ExpandedNodes", node->fullPath(), u"1");
    }
}

void CiStatusPrivate::TreeView_Status_Collapse(const NodeRef& node)
{
    if (!m_Loading) {
        m_Platform.settings.DeleteSetting(SettingsApplication, u"ExpandedNodes", node->fullPath());
    }
}

std::u16string CiStatusPrivate::SelectedNode() const
{
    return m_SelectedStatus ? StatusTexts::Decoded(m_SelectedStatus->m_Texts.text()) : std::u16string();
}

std::u16string CiStatusPrivate::SelectedNodeCode() const
{
    // The code the node's key starts with, before "/" and the line index.
    return m_SelectedStatus ? StatusTexts::Decoded(m_SelectedStatus->m_Texts.code()) : std::u16string();
}

std::u16string CiStatusPrivate::SelectedNodeTagName() const
{
    return m_SelectedStatus ? StatusTexts::Decoded(m_SelectedStatus->m_Texts.tagName()) : std::u16string();
}

} // namespace vestrak
