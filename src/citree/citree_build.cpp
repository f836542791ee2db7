#include "citree/citree_p.h"
#include "citree/settings_names.h"
#include "citree/tree_line.h"
#include "citree/tree_object_lines.h"
#include "containers/vector_state.h"
#include "object_file/code_chain.h"
#include "object_file/object_file.h"
#include "object_file/object_file_names.h"
#include "text/ascii_units.h"
#include "text/encoding.h"
#include "text/numeric.h"
#include "text/text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// A rebuild of the same section of a file whose stamp has not changed (a filter, a group button,
// a Style) keeps the lines.
bool CiTreePrivate::LinesKept(const std::optional<FileStamp>& stamp) const
{
    return m_Lines && stamp && stamp == m_LinesStamp && m_LinesFile == m_ObjectFile
        && m_LinesSection == m_ObjectFileSection;
}

// Once nothing lends from the lines of the build before, the new lines are read into their room:
// a large section then neither takes fresh pages nor is held twice for a moment.
SectionBytes CiTreePrivate::RoomForLines()
{
    return m_Lines && m_Lines.use_count() == 1 ? m_Lines->takeLines() : SectionBytes();
}

void CiTreePrivate::NoteLinesRead(const std::optional<FileStamp>& stamp)
{
    m_LinesStamp = stamp;
    m_LinesFile = m_ObjectFile;
    m_LinesSection = m_ObjectFileSection;
}

// Each list build starts here, after the widget calls it makes first.
void CiTreePrivate::ReadLines()
{
    ClearUpperVectorHalves();
    const std::optional<FileStamp> stamp = m_Platform.files.changeStamp(m_ObjectFile);
    if (LinesKept(stamp))
        return;
    m_Lines = std::make_shared<TreeObjectLines>(
        ReadSectionBytes(m_ObjectFileSection, m_ObjectFile, m_Platform.files, RoomForLines()));
    NoteLinesRead(stamp);
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

// What a build makes of a line from the line alone.
struct CiTreePrivate::JudgedLine {
    // The filters and the root list keep it.
    bool kept = false;
    // Plain ASCII, taken apart on its bytes: its image and code are read.
    bool readOnBytes = false;
    // Where its plain ASCII text starts, for the lines' notes; 0 for none.
    std::uint8_t asciiTextStart = 0;
    std::int32_t image = 0;
    // As UTF-8, which a line of plain ASCII gives as it stands: neither widened nor upper-cased,
    // as the prefix test ignores case. Valid until the next line is judged.
    std::string_view code;
};

// The part of a build that needs each line alone: the line taken apart and judged by the filters
// and the root list. It runs on the reading thread while a file is read, beside the nodes being
// added.
class CiTreePrivate::TreeLineJudge {
public:
    TreeLineJudge(FilterState filter, const std::u16string& rootObject, bool textsAsked)
        : m_Filter(std::move(filter))
        , m_RootFilter(rootObject)
        , m_Filtering(m_Filter.groupOn || !m_Filter.patterns.empty())
        , m_TextsAsked(textsAsked)
        , m_WordsOnly(!m_Filter.groupOn && !m_Filter.patterns.empty())
    {
    }

    // Filter words alone read the texts a build before noted, and most lines go no further.
    [[nodiscard]] bool readsKnownTexts() const { return m_WordsOnly; }

    // The line's bytes in that encoding, with the text a build before noted, if any, judged into
    // a line not judged before.
    void judge(std::string_view bytes, std::optional<std::string_view> knownText,
        ObjectFileText::Encoding encoding, JudgedLine& judged)
    {
        if (knownText && !KeepsAsciiLine(m_Filter, 0, *knownText)) {
            return;
        }
        // A line of plain ASCII is judged on its bytes: a filter, which leaves most lines out,
        // judges it before anything is decoded, and a node needs only its code and image unless
        // texts are compared or paths hashed, for which the calling thread decodes it. Other
        // lines are decoded and taken apart whole.
        const std::optional<AsciiTreeLine> ascii = ReadAsciiTreeLine(bytes);
        if (ascii) {
            judged.asciiTextStart = TreeObjectLines::AsciiTextStart(bytes, ascii->text);
            judged.image = ascii->image;
            judged.readOnBytes = !m_TextsAsked;
        }
        if (ascii && m_Filtering && !KeepsAsciiLine(m_Filter, ascii->image, ascii->text)) {
            return;
        }
        if (!ascii) {
            ReadTreeLine(SectionBytes::DecodedLine(bytes, encoding, m_Room), m_Line);
            m_DecodedCode.clear();
            AppendAsUtf8(m_DecodedCode, m_Line.code);
        }
        judged.code = ascii ? ascii->code : std::string_view(m_DecodedCode);
        if (!m_RootFilter.keeps(judged.code)) {
            return;
        }
        judged.kept = ascii || KeepsLine(m_Filter, m_Line.image, m_Line.text);
    }

private:
    FilterState m_Filter;
    RootFilter m_RootFilter;
    bool m_Filtering = false;
    bool m_TextsAsked = false;
    bool m_WordsOnly = false;
    TreeLine m_Line;
    std::u16string m_Room;
    std::string m_DecodedCode;
};

// What a build keeps from line to line on the calling thread. The node added last and its
// ancestors, top first: the parent search walks up their codes. Their texts, each ended by "\",
// follow one another in one text, cut back as the chain shortens. A node's full path is known by its hash,
// extended from its parent's; the path itself is put together only when a stored path has that hash.
struct CiTreePrivate::TreeBuild {
    TreeBuild(CiTreePrivate& tree, FilterState filter)
        : wantedObject(tree.m_SelectedObject.empty()
                ? std::nullopt
                : std::optional(ToUpper(GetField(tree.m_SelectedObject, 0, u","))))
        , wantedExtraInfo(ToUpper(tree.m_SelectedObjectExtraInfo))
        , keepOpen(tree.HasStyle(StyleKeepOpenNodes))
        , textsAsked(keepOpen || !wantedExtraInfo.empty())
        , storedOpen(keepOpen ? tree.StoredOpenNodes() : PathSet())
        , built { filter.groupOn, nullptr }
        , lastClicked(keepOpen && !filter.groupOn ? tree.Setting(SelectedSection, SelectedNodeKey, u"") : u"")
        , lastClickedHash(PathSet::TopPathHash(lastClicked))
        , judge(std::move(filter), tree.m_RootObject, textsAsked)
        , mayBeOpen(storedOpen, [](const NodeRef& node) { node->setExpanded(true); })
        , lender(tree.m_Lines)
    {
    }

    struct ChainLink {
        // Its index in the tree.
        std::int32_t node = 0;
        std::size_t pathStart = 0;
        std::uint64_t pathHash = 0;
    };

    [[nodiscard]] const std::u16string& pathOf(std::u16string_view text)
    {
        path.assign(chainPath);
        path += text;
        return path;
    }

    const std::optional<std::u16string> wantedObject;
    const std::u16string wantedExtraInfo;
    const bool keepOpen;
    const bool textsAsked;
    const PathSet storedOpen;
    BuiltTree built;
    const std::u16string lastClicked;
    const std::uint64_t lastClickedHash;
    // Judges the lines of a build on the calling thread, when they were kept from a build before.
    TreeLineJudge judge;
    std::vector<ChainLink> chain;
    // The codes of the chain's nodes, as the judge gives them.
    Utf8CodeChain chainCodes;
    std::u16string chainPath;
    std::u16string path;
    TreeLine line;
    std::u16string room;
    // Nodes whose paths may be stored open. Answered before a node is made visible, which reads
    // the open branches above it.
    PathSetQueries<NodeRef> mayBeOpen;
    // The lines the nodes lend their texts from, as the tree takes them: made once, not a
    // conversion (and two counts of its users) per node.
    const std::shared_ptr<const LentNodeTexts> lender;
};

// The lines of the section read on a thread of their own into the lines the control keeps, and
// judged there, while the calling thread finds the parents and adds the nodes of the lines judged
// before: the build then costs about the larger of the two instead of both.
class CiTreePrivate::TreeLineBatches final : public SectionLineBatches {
public:
    TreeLineBatches(
        CiTreePrivate& tree, std::optional<TreeBuild>& build, SectionBytes room, std::size_t fileBytes)
        : m_Tree(tree)
        , m_Build(build)
        , m_FreshJudge(build->judge)
        , m_Judge(build->judge)
        , m_Read(std::move(room))
        , m_FileBytes(fileBytes)
    {
    }

    [[nodiscard]] std::size_t count() const override { return m_Batches.size(); }

    void prepare(std::size_t batch, std::string_view line, std::uint32_t lineIndex) override
    {
        // The lines come again from the first when the file was read in the wrong encoding.
        if (lineIndex == 0) {
            m_Read.restart(ObjectFileText::Encoding::Utf8);
            m_Read.reserveBytes(m_FileBytes);
            m_Judge = m_FreshJudge;
        }
        m_Read.add(line);
        Batch& filled = m_Batches[batch];
        auto& [bytes, judged] = filled.lines.emplace_back(line, JudgedLine());
        m_Judge.judge(line, std::nullopt, ObjectFileText::Encoding::Utf8, judged);
        // The calling thread reads no more of most lines than their code and image: only the
        // others are kept whole for it.
        if (judged.kept) {
            bytes = judged.readOnBytes ? std::string_view() : filled.keep(line);
            judged.code = filled.keep(judged.code);
        } else {
            bytes = {};
        }
        filled.firstIndex = lineIndex + 1 - filled.lines.size();
    }

    void take(std::size_t batch) override
    {
        Batch& taken = m_Batches[batch];
        for (std::size_t line = 0; line < taken.lines.size(); ++line) {
            const auto& [bytes, judged] = taken.lines[line];
            const std::size_t index = taken.firstIndex + line;
            m_Tree.m_Lines->noteAsciiTextStart(index, judged.asciiTextStart);
            if (judged.kept) {
                m_Tree.AddTreeLine(*m_Build, index, bytes, judged);
            }
        }
        taken.clear();
    }

    void forget() override
    {
        m_Tree.TreeView_Objects.clear();
        m_Tree.m_Lines = std::make_shared<TreeObjectLines>(SectionBytes());
        m_Build.reset();
        m_Build.emplace(m_Tree, m_Tree.TakeFilterState());
    }

    // The lines read, once the reading has ended.
    [[nodiscard]] SectionBytes takeLines(bool found)
    {
        if (!found || m_Read.empty()) {
            return {};
        }
        m_Read.fitToSize();
        return std::move(m_Read);
    }

private:
    // Copies of the lines of a piece with what the judge made of them, in blocks that never move.
    struct Batch {
        static constexpr std::size_t BlockBytes = std::size_t { 64 } * 1024;

        std::string_view keep(std::string_view line)
        {
            if (blocks.empty() || blocks.back().capacity() - blocks.back().size() < line.size()) {
                blocks.emplace_back().reserve(std::max(BlockBytes, line.size()));
            }
            std::string& block = blocks.back();
            const std::size_t start = block.size();
            block += line;
            return std::string_view(block).substr(start);
        }
        void clear()
        {
            lines.clear();
            blocks.resize(std::min<std::size_t>(blocks.size(), 1));
            if (!blocks.empty()) {
                blocks.front().clear();
            }
        }

        std::vector<std::string> blocks;
        std::vector<std::pair<std::string_view, JudgedLine>> lines;
        std::size_t firstIndex = 0;
    };

    // The calling thread's.
    CiTreePrivate& m_Tree;
    std::optional<TreeBuild>& m_Build;
    // The reading thread's, until the reading has ended.
    const TreeLineJudge m_FreshJudge;
    TreeLineJudge m_Judge;
    SectionBytes m_Read;
    const std::size_t m_FileBytes;
    // Each filled on the reading thread, then taken on the calling thread.
    std::array<Batch, 8> m_Batches;
};

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

    ClearUpperVectorHalves();
    const std::optional<FileStamp> stamp = m_Platform.files.changeStamp(m_ObjectFile);
    std::optional<TreeBuild> build;
    if (LinesKept(stamp)) {
        build.emplace(*this, std::move(filter));
        const bool readsKnownTexts = build->judge.readsKnownTexts();
        const ObjectFileText::Encoding encoding = m_Lines->encoding();
        m_Lines->visitLines([&](std::size_t index, std::string_view bytes) {
            JudgedLine judged;
            build->judge.judge(bytes, readsKnownTexts ? m_Lines->knownAsciiText(index, bytes) : std::nullopt,
                encoding, judged);
            m_Lines->noteAsciiTextStart(index, judged.asciiTextStart);
            // Most lines of a filter rebuild go no further.
            if (judged.kept) {
                AddTreeLine(*build, index, bytes, judged);
            }
        });
    } else {
        // The nodes lend their texts from the lines while they are read: nothing reads them
        // before the build ends.
        SectionBytes room = RoomForLines();
        m_Lines = std::make_shared<TreeObjectLines>(SectionBytes());
        build.emplace(*this, std::move(filter));
        TreeLineBatches batches(
            *this, build, std::move(room), stamp ? static_cast<std::size_t>(stamp->size) : 0);
        const bool found = VisitSectionUtf8LinesAside(
            m_ObjectFileSection, m_ObjectFile, m_Platform.files, batches, WorkThreadToRead(stamp));
        m_Lines->putLines(batches.takeLines(found));
        NoteLinesRead(stamp);
    }
    build->mayBeOpen.answer();
    WriteMarker(
        u"CiTree Property Let Style D - iLoops: " + DecimalText(static_cast<std::int64_t>(m_Lines->size())));
    return build->built;
}

void CiTreePrivate::AddTreeLine(
    TreeBuild& build, std::size_t index, std::string_view bytes, const JudgedLine& judged)
{
    TreeLine& line = build.line;
    const bool readOnBytes = judged.readOnBytes;
    // A line of plain ASCII whose text is the rest of it has its text widened, when no extra info
    // is wanted: nothing else of it is decoded or taken apart again.
    const bool textOnBytes = !readOnBytes && judged.asciiTextStart != 0 && build.wantedExtraInfo.empty();
    if (readOnBytes || textOnBytes) {
        // Nothing below reads the extra info of such a line.
        line.image = judged.image;
        line.extraInfo = {};
        line.text = {};
        if (textOnBytes) {
            build.room.clear();
            AppendAsciiPrefix(build.room, TreeObjectLines::AsciiTextAt(bytes, judged.asciiTextStart));
            line.text = build.room;
        }
    } else {
        ReadTreeLine(m_Lines->decoded(bytes, build.room), line);
    }
    std::vector<TreeBuild::ChainLink>& chain = build.chain;
    if (const std::size_t kept = build.chainCodes.linksKeptFor(judged.code); kept < chain.size()) {
        build.chainCodes.cutTo(kept);
        build.chainPath.resize(chain[kept].pathStart);
        chain.resize(kept);
    }
    std::uint64_t pathHash = 0;
    bool mayBeStoredOpen = false;
    if (build.keepOpen) {
        pathHash = chain.empty() ? PathSet::TopPathHash(line.text)
                                 : PathSet::ChildPathHash(chain.back().pathHash, line.text);
        // Asked before the node is added, so that the set's slot is on its way meanwhile.
        mayBeStoredOpen = build.storedOpen.mayContain(pathHash);
    }
    const bool preselected = readOnBytes || textOnBytes
        ? PreselectsAsciiCode(build.wantedObject, judged.code)
        : Preselects(build.wantedObject, build.wantedExtraInfo, line);
    const std::int32_t parent = chain.empty() ? 0 : chain.back().node;
    const std::int32_t node
        = TreeView_Objects.addLentBelow(parent, build.lender, static_cast<std::uint32_t>(index), line.image);
    if (node == 0) {
        return;
    }
    if (preselected) {
        build.mayBeOpen.answer();
        const NodeRef selected = TreeView_Objects.node(node);
        selected->setExpanded(true);
        selected->ensureVisible();
        selected->setSelected(true);
    }
    if (build.keepOpen) {
        if (mayBeStoredOpen) {
            build.mayBeOpen.add(pathHash, build.pathOf(line.text), TreeView_Objects.node(node));
        }
        if (!build.built.lastClicked && pathHash == build.lastClickedHash
            && build.pathOf(line.text) == build.lastClicked) {
            build.built.lastClicked = TreeView_Objects.node(node);
        }
    }
    // A new node shows the window background already.
    if (m_BackColor != WindowBackgroundColor) {
        TreeView_Objects.node(node)->setBackColor(m_BackColor);
    }
    chain.push_back({ node, build.chainPath.size(), pathHash });
    build.chainCodes.add(judged.code);
    if (build.keepOpen) {
        build.chainPath += line.text;
        build.chainPath += u'\\';
    }
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
