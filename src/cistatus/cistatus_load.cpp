#include "cistatus/cistatus_p.h"
#include "cistatus/status_icon.h"
#include "cistatus/status_inheritance.h"
#include "cistatus/status_line.h"
#include "containers/path_set.h"
#include "containers/vector_state.h"
#include "object_file/code_chain.h"
#include "object_file/object_file.h"
#include "object_file/object_file_names.h"
#include "text/encoding.h"
#include "text/text.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace vestrak {

namespace {

const std::u16string SettingsApplication = u"CiStatus";

} // namespace

// The nodes of the record added last and its ancestors, top first, with their codes: a new
// object's parent is found along them. It serves one load only, which compares the lines' UTF-8
// bytes.
struct CiStatusPrivate::LoadChain {
    // The indexes of the nodes from the top down to the node added last.
    std::vector<std::int32_t> nodes;
    Utf8CodeChain codes;
};

void CiStatusPrivate::setObjectFile(const std::u16string& value)
{
    m_ObjectFile = value;
    m_Loading = true;
    TreeView_Status.setVisible(false);

    TreeView_Status.clear();
    // The query cursor is left alone: the host may be half-way through a pass and goes on at
    // the same position in the new tree.
    m_StatusObjects.clear();
    m_StatusesChanged = true;
    m_SelectedStatus = nullptr;
    ClearUpperVectorHalves();

    // The stored branches are read before the tree grows: the settings' entries, all read at
    // once, then come and go while the memory the tree will take is still free.
    const StoredTreeState stored = readStoredTreeState();
    loadStatusObjects();
    restoreExpandedAndSelectedNodes(stored);

    UserControl_Resize();
    TreeView_Status.setVisible(true);

    // The first status request comes at the next update tick.
    m_UpdateElapsed = m_UpdateInterval;
    Timer_Update->setEnabled(true);
    m_Loading = false;
}

// The lines of the section, each parsed and its texts kept on the reading thread; the calling
// thread makes the records and their nodes.
class CiStatusPrivate::StatusLineBatches final : public SectionLineBatches {
public:
    StatusLineBatches(CiStatusPrivate& control, LoadChain& chain)
        : m_Control(control)
        , m_Chain(chain)
        , m_RootObject(ToUtf8(control.m_RootObject))
    {
    }

    [[nodiscard]] std::size_t count() const override { return m_Batches.size(); }

    void prepare(std::size_t batch, std::string_view line, std::uint32_t lineIndex) override
    {
        const Utf8StatusLine parsed = ParseStatusLine(line);
        if (!m_RootObject.empty() && !IsInPrefixList(m_RootObject, parsed.code)) {
            return;
        }
        Batch& filled = m_Batches[batch];
        const StatusTexts texts = m_Keeper.keep(parsed, filled.chunks);
        filled.lines.push_back({ .texts = texts,
            .chunk = static_cast<std::uint32_t>(filled.chunks.size() - 1),
            .lineIndex = lineIndex,
            .status = parsed.status });
    }

    void take(std::size_t batch) override
    {
        Batch& taken = m_Batches[batch];
        for (const PreparedLine& line : taken.lines) {
            m_Control.addStatusObject(
                line.texts, taken.chunks[line.chunk], line.lineIndex, line.status, m_Chain);
        }
        taken.lines.clear();
        taken.chunks.clear();
    }

    void forget() override
    {
        m_Control.TreeView_Status.clear();
        m_Control.m_StatusObjects.clear();
        m_Chain.nodes.clear();
        m_Chain.codes.clear();
    }

private:
    struct PreparedLine {
        StatusTexts texts;
        std::uint32_t chunk = 0;
        std::uint32_t lineIndex = 0;
        std::int32_t status = 0;
    };
    struct Batch {
        std::vector<PreparedLine> lines;
        // The chunks the lines' texts lie in.
        std::vector<StatusRecords::Chunk> chunks;
    };

    // The calling thread's.
    CiStatusPrivate& m_Control;
    LoadChain& m_Chain;
    // The reading thread's.
    const std::string m_RootObject;
    StatusRecords::TextKeeper m_Keeper;
    // Each filled on the reading thread, then taken on the calling thread.
    std::array<Batch, 8> m_Batches;
};

void CiStatusPrivate::loadStatusObjects()
{
    // The records keep what they need of their lines, so the lines are read one piece at a time,
    // and kept as the bytes read.
    LoadChain chain;
    StatusLineBatches batches(*this, chain);
    VisitSectionUtf8LinesAside(std::u16string(TreeObjectsSection), m_ObjectFile, m_Platform.files, batches,
        WorkThreadToRead(m_Platform.files.changeStamp(m_ObjectFile)));
}

void CiStatusPrivate::addStatusObject(StatusTexts texts, const StatusRecords::Chunk& chunk,
    std::uint32_t lineIndex, std::int32_t status, LoadChain& chain)
{
    const std::string_view code = texts.code();
    // The parent is the nearest object on the chain from the object added last up to its top
    // whose code, as a prefix list, starts the new code. The chain is cut back only once the node
    // is added.
    const std::size_t linksKept = chain.codes.linksKeptFor(code);
    const std::int32_t parent = linksKept == 0 ? 0 : chain.nodes[linksKept - 1];
    // The node reads its key and text from the record.
    const std::size_t position = m_StatusObjects.size();
    cStatus& record = m_StatusObjects.add(texts, chunk, lineIndex);
    const std::int32_t node = TreeView_Status.addLentBelow(
        parent, m_StatusObjects.nodeTexts(), static_cast<std::uint32_t>(position), status & StatusImageMask);
    if (node == 0) {
        m_StatusObjects.removeLast();
        return;
    }
    // A new node has the window's back colour already.
    if (m_BackColor != WindowBackgroundColor) {
        TreeView_Status.node(node)->setBackColor(m_BackColor);
    }
    record.m_Status = status;
    chain.nodes.resize(linksKept);
    chain.codes.cutTo(linksKept);
    chain.nodes.push_back(node);
    chain.codes.add(code);
}

CiStatusPrivate::StoredTreeState CiStatusPrivate::readStoredTreeState() const
{
    auto& settings = m_Platform.settings;
    StoredTreeState stored;
    stored.selectedPath = settings.GetSetting(SettingsApplication, u"SelectedNode", u"FullPath");
    // The stored branches in one read instead of one per node; the load changes none of them.
    const SettingsEntries entries = settings.entries(SettingsApplication);
    stored.expandedPaths.reserve(entries.size());
    stored.expandedPaths.insertAll([&entries](const auto& put) {
        for (const SettingsEntryView entry : entries) {
            if (entry.section == u"ExpandedNodes" && entry.value == u"1") {
                put(entry.key);
            }
        }
    });
    return stored;
}

void CiStatusPrivate::restoreExpandedAndSelectedNodes(const StoredTreeState& stored)
{
    const PathSet& expandedPaths = stored.expandedPaths;
    const std::u16string& selectedPath = stored.selectedPath;
    if (expandedPaths.empty() && selectedPath.empty()) {
        return;
    }
    // Records come in node order, so a record's parent is on the chain from the record before up
    // to its top. The full path of the record last visited and its hash are kept and cut back
    // along the chain.
    struct ChainLink {
        std::int32_t position = 0;
        std::size_t pathLength = 0;
        std::uint64_t pathHash = 0;
    };
    std::vector<ChainLink> chain;
    std::u16string path;
    std::u16string text;
    // Nodes whose paths may be stored open. Answered before a node is made visible, which reads
    // the open branches above it.
    PathSetQueries<NodeRef> mayBeOpen(expandedPaths, [](const NodeRef& node) { node->setExpanded(true); });
    // The parents are read from the tree a run at a time.
    std::array<std::int32_t, 4096> parents {};
    for (std::size_t position = 0; position < m_StatusObjects.size(); ++position) {
        const std::size_t inRun = position % parents.size();
        if (inRun == 0) {
            readParentPositions(position,
                std::span(parents).first(std::min(parents.size(), m_StatusObjects.size() - position)));
        }
        const NodeRef node = TreeView_Status.node(static_cast<std::int32_t>(position) + 1);
        const std::int32_t parent = parents[inRun];
        while (!chain.empty() && chain.back().position != parent) {
            chain.pop_back();
        }
        m_StatusObjects.nodeText(position, text);
        path.resize(chain.empty() ? 0 : chain.back().pathLength);
        if (!chain.empty()) {
            path += u'\\';
        }
        path += text;
        const std::uint64_t pathHash = chain.empty() ? PathSet::TopPathHash(text)
                                                     : PathSet::ChildPathHash(chain.back().pathHash, text);
        chain.push_back({ static_cast<std::int32_t>(position), path.size(), pathHash });
        if (expandedPaths.mayContain(pathHash)) {
            mayBeOpen.add(pathHash, path, node);
        }
        // No stop at the first match: of several nodes with that path the last stays selected.
        // Lengths first: comparing the texts of a deep chain costs its whole depth at each level.
        if (path.size() == selectedPath.size() && !selectedPath.empty() && path == selectedPath) {
            mayBeOpen.answer();
            node->setExpanded(true);
            node->ensureVisible();
            node->setSelected(true);
        }
    }
    mayBeOpen.answer();
}

} // namespace vestrak
