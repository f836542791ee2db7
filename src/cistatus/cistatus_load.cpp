#include "cistatus/cistatus.h"
#include "cistatus/status_icon.h"
#include "cistatus/status_inheritance.h"
#include "cistatus/status_line.h"
#include "procs/object_file.h"
#include "procs/section_lines.h"
#include "procs/text.h"

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace vestrak {

namespace {

const std::u16string SettingsApplication = u"CiStatus";
const std::u16string ObjectSection = u"TreeObjects";

} // namespace

void CiStatus::setObjectFile(const std::u16string& value)
{
    m_ObjectFile = value;
    m_Loading = true;
    TreeView_Status.setVisible(false);

    TreeView_Status.clear();
    // The query cursor is left alone: the host may be half-way through a pass and goes on at
    // the same position in the new tree.
    m_StatusObjects.clear();
    m_ParentPositions.clear();
    m_LoadChain.clear();
    m_SelectedStatus = nullptr;

    loadStatusObjects();
    restoreExpandedAndSelectedNodes();

    UserControl_Resize();
    TreeView_Status.setVisible(true);

    // The first status request comes at the next update tick.
    m_UpdateElapsed = m_UpdateInterval;
    Timer_Update->setEnabled(true);
    m_Loading = false;
}

void CiStatus::loadStatusObjects()
{
    // The records keep what they need of their lines, so the section's text goes after the load.
    const SectionLines lines = ReadSectionLines(ObjectSection, m_ObjectFile, m_Platform.files);
    for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
        addStatusObject(lines[lineIndex], static_cast<std::int32_t>(lineIndex));
    }
    m_LoadChain.clear();
}

void CiStatus::addStatusObject(std::u16string_view line, std::int32_t lineIndex)
{
    StatusLine parsed = ParseStatusLine(line);
    if (!m_RootObject.empty() && !IsInPrefixList(m_RootObject, parsed.code)) {
        return;
    }
    std::int32_t parentPosition = NoParentPosition;
    NodeRef node
        = addStatusNode(parsed.code, lineIndex, parsed.text, parsed.status & StatusImageMask, parentPosition);
    if (!node) {
        return;
    }
    node->setBackColor(m_BackColor);

    auto record = std::make_shared<cStatus>();
    record->m_Node = std::move(node);
    record->m_Section = std::move(parsed.section);
    record->m_Status = parsed.status;
    record->m_TagName = std::move(parsed.tagName);
    m_StatusObjects.push_back(std::move(record));
    m_ParentPositions.push_back(parentPosition);
    while (!m_LoadChain.empty() && m_LoadChain.back().position != parentPosition) {
        m_LoadChain.pop_back();
    }
    m_LoadChain.push_back({ static_cast<std::int32_t>(m_StatusObjects.size()) - 1, std::move(parsed.code) });
}

NodeRef CiStatus::addStatusNode(const std::u16string& code, std::int32_t lineIndex,
    const std::u16string& text, std::int32_t image, std::int32_t& parentPosition)
{
    // The parent is the nearest object on the chain from the object added last up to its top
    // whose code, as a prefix list, starts the new code.
    // The chain is cut back only once the node is added.
    std::size_t link = m_LoadChain.size();
    while (link > 0 && !IsInPrefixList(m_LoadChain[link - 1].code, code)) {
        --link;
    }
    parentPosition = link == 0 ? NoParentPosition : m_LoadChain[link - 1].position;

    const std::string digits = std::to_string(lineIndex);
    std::u16string key = code + u"/" + std::u16string(digits.begin(), digits.end());
    if (parentPosition == NoParentPosition) {
        return TreeView_Status.add(nullptr, NodeRelationship::Last, std::move(key), text, image);
    }
    return TreeView_Status.add(
        m_StatusObjects[parentPosition]->m_Node, NodeRelationship::Child, std::move(key), text, image);
}

void CiStatus::restoreExpandedAndSelectedNodes()
{
    auto& settings = m_Platform.settings;
    const std::u16string selectedPath
        = settings.GetSetting(SettingsApplication, u"SelectedNode", u"FullPath");
    // The stored branches in one read instead of one per node; the load changes none of them.
    std::unordered_set<std::u16string> expandedPaths;
    for (SettingsEntry& entry : settings.entries(SettingsApplication)) {
        if (entry.section == u"ExpandedNodes" && entry.value == u"1") {
            expandedPaths.insert(std::move(entry.key));
        }
    }
    if (expandedPaths.empty() && selectedPath.empty()) {
        return;
    }
    // Records come in node order, so a record's parent is on the chain from the record before up
    // to its top. The full path of the record last visited is kept and cut back along the chain.
    std::vector<std::pair<std::int32_t, std::size_t>> chain;
    std::u16string path;
    for (std::size_t position = 0; position < m_StatusObjects.size(); ++position) {
        const NodeRef& node = m_StatusObjects[position]->m_Node;
        const std::int32_t parent = m_ParentPositions[position];
        while (!chain.empty() && chain.back().first != parent) {
            chain.pop_back();
        }
        path.resize(chain.empty() ? 0 : chain.back().second);
        if (!chain.empty()) {
            path += u'\\';
        }
        path += node->text();
        chain.emplace_back(static_cast<std::int32_t>(position), path.size());
        if (expandedPaths.contains(path)) {
            node->setExpanded(true);
        }
        // No stop at the first match: of several nodes with that path the last stays selected.
        if (!selectedPath.empty() && path == selectedPath) {
            node->setExpanded(true);
            node->ensureVisible();
            node->setSelected(true);
        }
    }
}

} // namespace vestrak
