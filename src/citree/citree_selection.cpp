#include "citree/citree_p.h"
#include "citree/settings_names.h"
#include "citree/tree_object_lines.h"
#include "ports/control_error.h"
#include "text/numeric.h"
#include "text/text.h"

#include <optional>

namespace vestrak {

namespace {

// Whether a line's code up to its first comma is wantedUpper, case ignored, told from the line's
// bytes where they settle it: a code that differs in plain ASCII before the end of the wanted one
// is not it. Nothing when a byte beyond ASCII comes first: only the decoded line can tell.
std::optional<bool> CodeHeadIs(std::string_view line, std::u16string_view wantedUpper)
{
    for (std::size_t at = 0; at < wantedUpper.size(); ++at) {
        if (at == line.size()) {
            return false;
        }
        const auto byte = static_cast<unsigned char>(line[at]);
        if (byte >= 0x80 || (at == 0 && byte == ' ')) {
            return std::nullopt;
        }
        if (byte == ',' || byte == '/' || byte == '=' || ToUpper(char16_t { byte }) != wantedUpper[at]) {
            return false;
        }
    }
    const std::size_t after = line.find_first_not_of(' ', wantedUpper.size());
    return after == std::string_view::npos || line[after] == ',' || line[after] == '/' || line[after] == '=';
}

} // namespace

bool CiTreePrivate::SelectLine(std::int64_t lineIndex)
{
    // A node or item left from an older build may name a line the current lines lack.
    if (!m_Lines || lineIndex < 0 || lineIndex >= static_cast<std::int64_t>(m_Lines->size())) {
        return false;
    }
    m_SelectedLine = static_cast<std::int32_t>(lineIndex);
    std::u16string room;
    const std::u16string_view line = m_Lines->line(static_cast<std::size_t>(lineIndex), room);
    const std::u16string_view object = FieldView(line, 0, u"=");
    m_SelectedObject = TrimSpaces(FieldView(object, 0, u"/"));
    m_SelectedObjectExtraInfo = TrimSpaces(FieldView(object, 1, u"/"));
    if (line.find(u'/') == std::u16string_view::npos) {
        m_SelectedObjectExtraInfo = m_SelectedObject;
    }
    return true;
}

void CiTreePrivate::TreeView_Objects_NodeClick(const NodeRef& node)
{
    if (m_Building) {
        return;
    }
    const auto lineIndex = RoundToInt32(LeadingNumber(GetField(node->key(), 1, u"/")));
    if (!lineIndex || !SelectLine(*lineIndex)) {
        return;
    }
    SaveSetting(SelectedSection, SelectedNodeKey, node->fullPath());
    NodeClick();
}

void CiTreePrivate::List_Objects_Click()
{
    const std::int32_t chosen = List_Objects.listIndex();
    if (chosen < 0 || !SelectLine(List_Objects.itemData(chosen))) {
        return;
    }
    NodeClick();
}

void CiTreePrivate::TreeView_Objects_Expand(const NodeRef& node)
{
    if (!m_FilterRebuild) {
        SaveSetting(OpenNodesSection, node->fullPath(), u"1");
    }
}

void CiTreePrivate::TreeView_Objects_Collapse(const NodeRef& node)
{
    m_Platform.settings.DeleteSetting(SettingsApplication, OpenNodesSection, node->fullPath());
}

void CiTreePrivate::TreeView_Objects_Click()
{
    m_CollapseCountdown = m_CollapseTime;
}

void CiTreePrivate::TreeView_Objects_MouseMove()
{
    m_CollapseCountdown = m_CollapseTime;
}

// An operator who walks or scrolls the tree with keys or the wheel is as active as one who clicks.
void CiTreePrivate::TreeView_Objects_KeyDown()
{
    m_CollapseCountdown = m_CollapseTime;
}

void CiTreePrivate::TreeView_Objects_Scroll()
{
    m_CollapseCountdown = m_CollapseTime;
}

void CiTreePrivate::TreeView_Objects_DblClick()
{
    m_CollapseCountdown = m_CollapseTime;
    NodeDoubleClick();
}

void CiTreePrivate::List_Objects_DblClick()
{
    NodeDoubleClick();
}

void CiTreePrivate::Command_Home_Click()
{
    Click();
}

void CiTreePrivate::Command_Up_Click()
{
    Command_Down.setVisible(true);
    Command_Up.setVisible(false);
    List_Objects.setVisible(false);
    TreeView_Objects.setVisible(false);
}

void CiTreePrivate::Command_Down_Click()
{
    Command_Down.setVisible(false);
    Command_Up.setVisible(true);
    if (HasStyle(StyleObjectList)) {
        List_Objects.setVisible(true);
        List_Objects.setFocus();
    } else if (HasStyle(StyleObjectTree)) {
        TreeView_Objects.setVisible(true);
        TreeView_Objects.setFocus();
    }
}

std::u16string CiTreePrivate::SelectedObjectExtraKey() const
{
    if (!m_Lines) {
        throw ControlError("SelectedObjectExtraKey: no object list has been built yet");
    }
    const std::u16string selectedHead = TrimSpaces(GetField(m_SelectedObject, 0, u","));
    const std::u16string wanted = ToUpper(selectedHead);
    std::u16string room;
    // Most lines are told apart on their bytes; a line is decoded when it may be the one.
    for (std::size_t index = 0; index < m_Lines->size(); ++index) {
        const std::optional<bool> settled = CodeHeadIs(m_Lines->bytes(index), wanted);
        if (settled == false) {
            continue;
        }
        const std::u16string_view object = FieldView(m_Lines->line(index, room), 0, u"=");
        const std::u16string_view code = FieldView(object, 0, u"/");
        if (!settled && ToUpper(SpaceTrimmed(FieldView(code, 0, u","))) != wanted) {
            continue;
        }
        std::u16string result = TrimSpaces(FieldView(object, 1, u"/"));
        if (result.empty() && object.find(u'/') == std::u16string_view::npos) {
            result = selectedHead;
        }
        return result;
    }
    return {};
}

} // namespace vestrak
