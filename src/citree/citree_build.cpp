#include "citree/citree_p.h"
#include "citree/settings_names.h"
#include "citree/tree_line.h"
#include "citree/tree_object_lines.h"
#include "containers/vector_state.h"
#include "object_file/code_chain.h"
#include "object_file/object_file.h"
#include "object_file/object_file_names.h"
#include "text/encoding.h"
#include "text/numeric.h"
#include "text/text.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace vestrak {

namespace {

// An object is wanted when SelectedObject is set at all: its first comma field may be empty and
// then matches the codes whose first comma field is empty.
constexpr std::u16string_view FilterLeftNothingText = u"No objects match the filter.";

bool Preselects(const std::optional<std::u16string>& wantedObject, const std::u16string& wantedExtraInfo,
    const TreeLine& line)
{
    if (wantedObject && *wantedObject == FieldView(line.code, 0, u",")) {
        return true;
    }
    return !wantedExtraInfo.empty() && wantedExtraInfo == ToUpper(line.extraInfo);
}

// The same for a code of plain ASCII bytes as written, when no extra info is wanted.
bool PreselectsAsciiCode(const std::optional<std::u16string>& wantedObject, std::string_view code)
{
    if (!wantedObject) {
        return false;
    }
    const std::string_view head = code.substr(0, code.find(','));
    return wantedObject->size() == head.size()
        && std::equal(head.begin(), head.end(), wantedObject->begin(),
            [](char byte, char16_t wanted) { return ToUpper(static_cast<char16_t>(byte)) == wanted; });
}

// Whether a code, as UTF-8, starts with an item of the root list. A list that UTF-8 cannot hold
// as it stands (a lone surrogate) is compared with the decoded code.
class RootFilter {
public:
    explicit RootFilter(const std::u16string& rootObject)
        : m_List(rootObject)
        , m_Bytes(ToUtf8(rootObject))
        , m_BytesHoldList(FromUtf8(m_Bytes) == rootObject)
    {
    }

    [[nodiscard]] bool keeps(std::string_view code) const
    {
        if (m_List.empty()) {
            return true;
        }
        return m_BytesHoldList ? IsInPrefixList(m_Bytes, code) : IsInPrefixList(m_List, FromUtf8(code));
    }

private:
    std::u16string_view m_List;
    std::string m_Bytes;
    bool m_BytesHoldList = true;
};

} // namespace

void CiTreePrivate::setStyle(std::int32_t value)
{
    WriteMarker(u"CiTree Property Let Style A");
    if (!m_FirstSizeTaken) {
        m_FirstSizeTaken = true;
        m_FirstWidth = RoundToInt32(m_Surface.outerWidth()).value_or(m_FirstWidth);
        m_FirstHeight = RoundToInt32(m_Surface.outerHeight()).value_or(m_FirstHeight);
    }
    m_Style = value;
    m_Building = true;
    if (!HasStyle(StyleShowObjects)) {
        List_Objects.setVisible(false);
        TreeView_Objects.setVisible(false);
        Command_Home.setVisible(false);
        Command_Up.setVisible(false);
        Command_Down.setVisible(false);
    }
    PlaceNavigationButtons();
    if (!HasStyle(StyleKeepOpenNodes)) {
        m_Platform.settings.DeleteSetting(SettingsApplication, OpenNodesSection);
    }
    WriteMarker(u"CiTree Property Let Style B");
    if (HasStyle(StyleObjectList)) {
        BuildObjectList();
    }
    WriteMarker(u"CiTree Property Let Style C");
    if (HasStyle(StyleObjectTree) && !HasStyle(StyleObjectList)) {
        FinishTree(BuildTree());
    }
    RestoreScrollPosition();
    WriteMarker(u"CiTree Property Let Style F");
    if (HasStyle(StyleExpandAll)) {
        ExpandAllNodes();
    }
    WriteMarker(u"CiTree Property Let Style G");
    if (m_FocusFilterText) {
        Text_Filter.setFocus();
        m_FocusFilterText = false;
    }
    m_Building = false;
}

void CiTreePrivate::PlaceNavigationButtons()
{
    if (HasStyle(StyleHomeButton)) {
        Command_Home.setVisible(true);
        Command_Down.setLeft(Command_Home.width());
        Command_Up.setLeft(Command_Home.width());
    } else {
        Command_Home.setVisible(false);
        Command_Down.setLeft(0);
        Command_Up.setLeft(0);
    }
    if (HasStyle(StyleUpDownButtons)) {
        Command_Up.setVisible(false);
        Command_Down.setVisible(true);
    } else {
        Command_Up.setVisible(false);
        Command_Down.setVisible(false);
    }
}

void CiTreePrivate::ShowUpButtonBesideObjects()
{
    if (HasStyle(StyleUpDownButtons) && HasStyle(StyleShowObjects)) {
        Command_Up.setVisible(true);
        Command_Down.setVisible(false);
    }
}

// Each build starts here, after the widget calls it makes first. A rebuild of the same section
// of a file whose stamp has not changed (a filter, a group button, a Style) keeps the lines.
void CiTreePrivate::ReadLines()
{
    ClearUpperVectorHalves();
    const std::optional<FileStamp> stamp = m_Platform.files.changeStamp(m_ObjectFile);
    if (m_Lines && stamp && stamp == m_LinesStamp && m_LinesFile == m_ObjectFile
        && m_LinesSection == m_ObjectFileSection)
        return;
    // Once nothing lends from the lines of the build before, the new lines are read into their
    // room: a large section then neither takes fresh pages nor is held twice for a moment.
    SectionBytes room = m_Lines && m_Lines.use_count() == 1 ? m_Lines->takeLines() : SectionBytes();
    m_Lines = std::make_shared<TreeObjectLines>(
        ReadSectionBytes(m_ObjectFileSection, m_ObjectFile, m_Platform.files, std::move(room)));
    m_LinesStamp = stamp;
    m_LinesFile = m_ObjectFile;
    m_LinesSection = m_ObjectFileSection;
}

void CiTreePrivate::BuildObjectList()
{
    if (!m_SectionSet) {
        m_ObjectFileSection = std::u16string(m_RootObject.empty() ? ListObjectsSection : TreeObjectsSection);
    }
    List_Objects.setVisible(false);
    List_Objects.clear();
    ReadLines();
    bool rootSeen = false;
    std::u16string room;
    for (std::size_t index = 0; index < m_Lines->size(); ++index) {
        const std::u16string_view line = m_Lines->line(index, room);
        std::u16string text;
        if (m_RootObject.empty()) {
            text = TrimSpaces(FieldView(line, 1, u"="));
        } else {
            if (!IsInPrefixList(m_RootObject, TrimSpaces(FieldView(line, 0, u"=")))) {
                continue;
            }
            if (!rootSeen) {
                rootSeen = true;
                continue;
            }
            text = ValueText(SpaceTrimmed(FieldView(line, 1, u"=")));
        }
        List_Objects.addItem(text);
        List_Objects.setItemData(List_Objects.newIndex(), static_cast<std::int32_t>(index));
    }
    PlaceObjectList();
    ShowUpButtonBesideObjects();
    List_Objects.setVisible(HasStyle(StyleShowObjects));
}

void CiTreePrivate::PlaceObjectList()
{
    if (Command_Home.visible()) {
        List_Objects.setTop(Command_Home.height());
        List_Objects.setHeight(m_Surface.innerHeight() - Command_Home.height());
    } else {
        List_Objects.setTop(0);
        List_Objects.setHeight(m_Surface.innerHeight());
    }
    List_Objects.setWidth(m_Surface.innerWidth());
    List_Objects.setLeft(0);
}

CiTreePrivate::BuiltTree CiTreePrivate::BuildTree()
{
    if (!m_SectionSet) {
        m_ObjectFileSection = TreeObjectsSection;
    }
    if (!m_FilterRebuild) {
        PrepareFilter();
    }
    FilterState filter = TakeFilterState();
    TreeView_Objects.setPlaceholderText(
        filter.textOn || filter.groupOn ? std::u16string(FilterLeftNothingText) : std::u16string());
    TreeView_Objects.setVisible(false);
    TreeView_Objects.clear();
    ReadLines();

    const std::optional<std::u16string> wantedObject = m_SelectedObject.empty()
        ? std::nullopt
        : std::optional(ToUpper(GetField(m_SelectedObject, 0, u",")));
    const std::u16string wantedExtraInfo = ToUpper(m_SelectedObjectExtraInfo);
    const bool keepOpen = HasStyle(StyleKeepOpenNodes);
    const PathSet storedOpen = keepOpen ? StoredOpenNodes() : PathSet();
    BuiltTree built { filter.groupOn, nullptr };
    const std::u16string lastClicked
        = keepOpen && !filter.groupOn ? Setting(SelectedSection, SelectedNodeKey, u"") : u"";
    // The node added last and its ancestors, top first: the parent search walks up their codes.
    // Their texts, each ended by "\", follow one another in one text, cut back as the chain
    // shortens. A node's full path is known by its hash, extended from its parent's; the path
    // itself is put together only when a stored path has that hash.
    struct ChainLink {
        NodeRef node;
        std::size_t pathStart = 0;
        std::uint64_t pathHash = 0;
    };
    std::vector<ChainLink> chain;
    // The codes as UTF-8, which a line of plain ASCII gives as it stands: neither widened nor
    // upper-cased, as the prefix test ignores case.
    Utf8CodeChain chainCodes;
    std::string decodedCode;
    const RootFilter rootFilter(m_RootObject);
    std::u16string chainPath;
    std::u16string path;
    const auto pathOf = [&chainPath, &path](std::u16string_view text) -> const std::u16string& {
        path.assign(chainPath);
        path += text;
        return path;
    };
    const std::uint64_t lastClickedHash = PathSet::TopPathHash(lastClicked);
    const NodeRef noParent;
    TreeLine line;
    std::u16string room;
    std::int64_t linesVisited = 0;
    // Nodes whose paths may be stored open. Answered before a node is made visible, which reads
    // the open branches above it.
    PathSetQueries<NodeRef> mayBeOpen(storedOpen, [](const NodeRef& node) { node->setExpanded(true); });
    // A line of plain ASCII is read from its bytes: a filter, which leaves most lines out, judges
    // it before anything is decoded, and a node needs only its code and image unless texts are
    // compared or paths hashed below. Other lines are decoded and taken apart whole.
    const bool filtering = filter.groupOn || !filter.patterns.empty();
    const bool textsAsked = keepOpen || !wantedExtraInfo.empty();
    // Filter words alone read the texts a build before noted, and most lines go no further.
    const bool wordsOnly = !filter.groupOn && !filter.patterns.empty();
    for (std::size_t index = 0; index < m_Lines->size(); ++index) {
        ++linesVisited;
        if (const std::optional<std::string_view> knownText
            = wordsOnly ? m_Lines->knownAsciiText(index) : std::nullopt;
            knownText && !KeepsAsciiLine(filter, 0, *knownText)) {
            continue;
        }
        const std::string_view bytes = m_Lines->bytes(index);
        const std::optional<AsciiTreeLine> ascii
            = filtering || !textsAsked ? ReadAsciiTreeLine(bytes) : std::nullopt;
        if (ascii) {
            m_Lines->noteAsciiText(index, bytes, ascii->text);
        }
        if (ascii && filtering && !KeepsAsciiLine(filter, ascii->image, ascii->text)) {
            continue;
        }
        const bool readOnBytes = ascii && !textsAsked;
        if (readOnBytes) {
            // Nothing below reads the text or extra info of such a line.
            line.image = ascii->image;
            line.extraInfo = {};
            line.text = {};
        } else {
            ReadTreeLine(m_Lines->line(index, room), line);
            if (!ascii) {
                decodedCode.clear();
                AppendAsUtf8(decodedCode, line.code);
            }
        }
        const std::string_view code = ascii ? ascii->code : std::string_view(decodedCode);
        if (!rootFilter.keeps(code)) {
            continue;
        }
        if (!ascii && !KeepsLine(filter, line.image, line.text)) {
            continue;
        }
        if (const std::size_t kept = chainCodes.linksKeptFor(code); kept < chain.size()) {
            chainCodes.cutTo(kept);
            chainPath.resize(chain[kept].pathStart);
            chain.resize(kept);
        }
        std::uint64_t pathHash = 0;
        bool mayBeStoredOpen = false;
        if (keepOpen) {
            pathHash = chain.empty() ? PathSet::TopPathHash(line.text)
                                     : PathSet::ChildPathHash(chain.back().pathHash, line.text);
            // Asked before the node is added, so that the set's slot is on its way meanwhile.
            mayBeStoredOpen = storedOpen.mayContain(pathHash);
        }
        const bool preselected = readOnBytes ? PreselectsAsciiCode(wantedObject, code)
                                             : Preselects(wantedObject, wantedExtraInfo, line);
        const NodeRef& parent = chain.empty() ? noParent : chain.back().node;
        NodeRef node
            = TreeView_Objects.addLent(parent, parent ? NodeRelationship::Child : NodeRelationship::Last,
                m_Lines, static_cast<std::uint32_t>(index), line.image);
        if (!node) {
            continue;
        }
        if (preselected) {
            mayBeOpen.answer();
            node->setExpanded(true);
            node->ensureVisible();
            node->setSelected(true);
        }
        if (keepOpen) {
            if (mayBeStoredOpen) {
                mayBeOpen.add(pathHash, pathOf(line.text), node);
            }
            if (!built.lastClicked && pathHash == lastClickedHash && pathOf(line.text) == lastClicked) {
                built.lastClicked = node;
            }
        }
        node->setBackColor(m_BackColor);
        chain.push_back({ std::move(node), chainPath.size(), pathHash });
        chainCodes.add(code);
        if (keepOpen) {
            chainPath += line.text;
            chainPath += u'\\';
        }
    }
    mayBeOpen.answer();
    WriteMarker(u"CiTree Property Let Style D - iLoops: " + DecimalText(linesVisited));
    return built;
}

PathSet CiTreePrivate::StoredOpenNodes()
{
    // One read of the store for the whole build instead of one per node; the build changes no
    // stored branch, so every node sees what it would have read on its own.
    PathSet open;
    const SettingsEntries entries = m_Platform.settings.entries(SettingsApplication);
    open.reserve(entries.size());
    open.insertAll([&entries](const auto& put) {
        for (const SettingsEntryView entry : entries) {
            if (entry.section == OpenNodesSection && LeadingNumber(entry.value) != 0) {
                put(entry.key);
            }
        }
    });
    return open;
}

void CiTreePrivate::FinishTree(const BuiltTree& built)
{
    if (built.groupOn) {
        TidyUpGroupFilter();
    } else if (built.lastClicked) {
        built.lastClicked->setExpanded(true);
    }
    WriteMarker(u"CiTree Property Let Style E");
    TreeView_Objects.setWidth(m_Surface.innerWidth());
    TreeView_Objects.setLeft(0);
    ShowUpButtonBesideObjects();
    if (m_BackColor != WindowBackgroundColor) {
        SetTreeBackColor(m_BackColor);
    }
    m_Collapsed = HasStyle(StyleStartCollapsed);
    if (!HasStyle(StyleShowObjects)) {
        TreeView_Objects.setVisible(false);
    } else if (HasStyle(StyleStartCollapsed)) {
        Command_Collapse_Click();
    } else {
        if (HasStyle(StyleStartExpanded)) {
            Command_Expand_Click();
        }
        TreeView_Objects.setVisible(true);
        // A filter change leaves the keyboard where the operator had it (the rebuild gives it back
        // to a tree that had it).
        if (!m_FilterRebuild) {
            TreeView_Objects.setFocus();
        }
    }
}

void CiTreePrivate::RestoreScrollPosition()
{
    if (!HasStyle(StyleKeepScrollPosition)) {
        return;
    }
    if (const auto position
        = RoundToInt32(LeadingNumber(Setting(SettingsSection, ScrollPositionKey, u"0")))) {
        SetScrollPosition(*position);
    }
}

void CiTreePrivate::ExpandAllNodes()
{
    const bool wasVisible = TreeView_Objects.visible();
    TreeView_Objects.setVisible(false);
    for (std::int32_t index = 1; index <= TreeView_Objects.count(); ++index) {
        if (const NodeRef node = TreeView_Objects.node(index)) {
            node->setExpanded(true);
        }
    }
    TreeView_Objects.setVisible(wasVisible);
}

} // namespace vestrak
