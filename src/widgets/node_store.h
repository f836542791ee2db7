#pragma once

#include "containers/key_index.h"
#include "containers/node_blocks.h"
#include "ports/tree.h"
#include "text/text_arena.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vestrak {

class NodeStore;

// Told of what code changes on a node through its handle, so that a widget set shows it.
class NodeStoreObserver {
public:
    virtual ~NodeStoreObserver() = default;
    // Image or back colour.
    virtual void nodeLooksChanged(const class StoredNode& node) = 0;
    // Every blinking node shows its other image.
    virtual void blinkPhaseChanged() = 0;
    virtual void nodeExpandedChanged(const StoredNode& node) = 0;
    virtual void selectionChanged() = 0;
    // Every ancestor of the node is open; the rows should scroll to show it.
    virtual void scrollIntoView(const StoredNode& node) = 0;
};

// A node of a node store and its handle at once. It holds only its links, counts and flags; its
// store and its number come from the block it lies in, and its key and text from the store.
class StoredNode final : public TreeNode {
public:
    StoredNode(std::uint32_t parent, std::uint8_t image);

    [[nodiscard]] bool exists() const override { return m_InStore; }
    [[nodiscard]] std::u16string key() const override;
    [[nodiscard]] std::u16string text() const override;
    [[nodiscard]] std::u16string fullPath() const override;
    [[nodiscard]] NodeRef parent() const override;
    [[nodiscard]] std::int32_t children() const override;
    [[nodiscard]] std::int32_t index() const override;
    [[nodiscard]] std::int32_t image() const override;
    bool setImage(std::int32_t image) override;
    void setBlinkImages(std::int32_t phaseOffImage, std::int32_t phaseOnImage) override;
    [[nodiscard]] std::u16string imageMeaning() const override;
    void setImageMeaning(std::u16string_view words) override;
    [[nodiscard]] std::uint32_t backColor() const override;
    void setBackColor(std::uint32_t color) override;
    [[nodiscard]] bool expanded() const override;
    void setExpanded(bool expanded) override;
    [[nodiscard]] bool selected() const override;
    void setSelected(bool selected) override;
    void ensureVisible() override;

    // What a view reads while the node is in its store; a node out of it has no relatives.
    [[nodiscard]] const StoredNode* parentNode() const;
    [[nodiscard]] const StoredNode* firstChild() const;
    [[nodiscard]] const StoredNode* nextSibling() const;
    [[nodiscard]] std::int32_t childCount() const;
    // Position among its siblings, from 0.
    [[nodiscard]] std::int32_t row() const
    {
        return m_FirstSibling ? 0 : static_cast<std::int32_t>(m_RowOrLastSibling);
    }
    [[nodiscard]] bool isExpanded() const { return m_Expanded; }
    // The image of the store's blink phase.
    [[nodiscard]] std::uint8_t imageIndex() const;
    [[nodiscard]] bool hasOwnBackColor() const { return m_HasBackColor; }

private:
    friend class NodeStore;

    // The number of a node in its store's blocks stands for it in the links: half a pointer.
    static constexpr std::uint32_t NoNode = UINT32_MAX;

    // Only while the node is in its store.
    [[nodiscard]] NodeStore& store() const;
    // Whether the node shows these images, which the store's image list holds (the same two for
    // a steady node).
    [[nodiscard]] bool showsImages(std::uint8_t phaseOffImage, std::uint8_t phaseOnImage) const
    {
        const bool blinking = phaseOffImage != phaseOnImage;
        // A steady node keeps no image for the blink phase on.
        return m_Image == phaseOffImage && m_Blinking == blinking
            && m_PhaseOnImage == (blinking ? phaseOnImage : 0);
    }
    void showHeldImages(std::uint8_t phaseOffImage, std::uint8_t phaseOnImage);

    std::uint32_t m_Parent = NoNode;
    // Children and siblings are linked, so that neither adding nor letting go of a node
    // allocates.
    std::uint32_t m_FirstChild = NoNode;
    std::uint32_t m_NextSibling = NoNode;
    // Lent texts: the lender's reference. Own texts: their number in the store's table.
    std::uint32_t m_Texts = 0;
    // The first of the siblings, whose row is 0, keeps the number of the last in its place: a
    // parent finds both ends, and its children's count in the last one's row, without fields of
    // its own.
    std::uint32_t m_RowOrLastSibling = 0;
    std::uint8_t m_Image = 0;
    // What a blinking node shows while the blink phase is on.
    std::uint8_t m_PhaseOnImage = 0;
    // Its place in the store's table of image meanings; 0 for none.
    std::uint8_t m_ImageMeaning = 0;
    bool m_InStore : 1 = true;
    bool m_Expanded : 1 = false;
    // The colour itself is kept by the store, for the few nodes that have one.
    bool m_HasBackColor : 1 = false;
    bool m_OwnTexts : 1 = false;
    bool m_Blinking : 1 = false;
    bool m_FirstSibling : 1 = false;
};

// The nodes of a tree view, whatever widget set shows them: links, keys and texts in shared
// blocks, flags, the key index, the selected node and the rows that open branches let be seen.
class NodeStore {
public:
    NodeStore(ImageList images, NodeStoreObserver& observer);
    ~NodeStore();
    NodeStore(const NodeStore&) = delete;
    NodeStore& operator=(const NodeStore&) = delete;

    [[nodiscard]] ImageList imageList() const { return m_Images; }
    NodeRef add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
        std::u16string_view text, std::int32_t image);
    // A node whose key and text texts gives when they are needed. Nodes of one lender added in
    // the order of their references, with no node of own texts before them, are known to have
    // new keys: the key index is filled for them only when a key is looked up.
    NodeRef addLent(const NodeRef& relative, NodeRelationship relationship,
        const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference, std::int32_t image);
    // As Tree::addLentBelow.
    std::int32_t addLentBelow(std::int32_t parentIndex, const std::shared_ptr<const LentNodeTexts>& texts,
        std::uint32_t reference, std::int32_t image);
    bool remove(const NodeRef& node);
    void clear();
    [[nodiscard]] std::int32_t count() const { return m_Count; }
    [[nodiscard]] NodeRef node(std::int32_t index) const;
    [[nodiscard]] NodeRef find(std::u16string_view key) const;
    // As Tree::parentIndexes and Tree::setNodeLooks.
    void parentIndexes(std::int32_t first, std::span<std::int32_t> parents) const;
    void setNodeLooks(
        std::int32_t first, std::span<const NodeLooks> looks, std::span<const std::uint16_t> chosen);
    [[nodiscard]] StoredNode* findByKey(std::u16string_view key) const;
    [[nodiscard]] NodeRef selectedNode() const { return m_Selected; }
    [[nodiscard]] StoredNode* selected() const { return m_Selected.get(); }
    void select(StoredNode* node);
    // A node's number, its own while it is in the store; a view may keep it instead of the node's
    // address, which says less about the node to a hash.
    [[nodiscard]] static std::uint32_t numberOf(const StoredNode& node) { return Blocks::idOf(node); }
    // The node with a number numberOf gave; null when the store no longer has blocks that far.
    [[nodiscard]] StoredNode* nodeNumbered(std::uint32_t number) const
    {
        return m_Blocks.holds(number) ? at(number) : nullptr;
    }
    // A handle of one of the store's nodes.
    [[nodiscard]] std::shared_ptr<StoredNode> handleOf(const StoredNode& node) const;
    // The key and text of one of the store's nodes, written into the rooms given.
    void textsOf(const StoredNode& node, std::u16string& key, std::u16string& text) const;
    [[nodiscard]] std::u16string textOf(const StoredNode& node) const;
    // The texts of the branches the node's object lies under, from the top: those its lender
    // tells, else those of the tree above it.
    [[nodiscard]] std::vector<std::u16string> placeOf(const StoredNode& node) const;
    // The node behind a handle when it is one of this store's.
    [[nodiscard]] StoredNode* ownNode(const NodeRef& handle) const;
    // Opens or closes a branch for the operator: true when that changed it.
    bool setExpandedByOperator(StoredNode& node, bool expanded);
    [[nodiscard]] std::uint32_t backColorOf(const StoredNode& node) const;
    // A tick costs no walk over the blinking nodes: each resolves the phase when it is read.
    void setBlinkPhase(BlinkPhase phase);
    [[nodiscard]] BlinkPhase blinkPhase() const { return m_BlinkPhase; }

    // Calls visit(node) for every node in order of addition.
    template<typename Visit> void forEachNode(Visit visit) const
    {
        for (std::size_t position = 0; position < static_cast<std::size_t>(m_Count); ++position)
            visit(std::as_const(nodeAt(position)));
    }

    // Calls visit(node) for every row that open branches let be seen, top to bottom, until it
    // returns false.
    template<typename Visit> void forEachShownRow(Visit visit) const
    {
        const StoredNode* node = m_FirstTop;
        while (node) {
            if (!visit(*node))
                return;
            if (node->m_Expanded && node->m_FirstChild != StoredNode::NoNode) {
                node = at(node->m_FirstChild);
                continue;
            }
            while (node && node->m_NextSibling == StoredNode::NoNode)
                node = at(node->m_Parent);
            if (node)
                node = at(node->m_NextSibling);
        }
    }
    [[nodiscard]] std::int32_t shownRowCount() const;
    // The row of a node among the shown rows, from 0; -1 when a closed branch hides it.
    [[nodiscard]] std::int32_t rowOf(const StoredNode& node) const;
    // The node shown in a row, from 0 among the shown rows; null outside them.
    [[nodiscard]] const StoredNode* nodeInRow(std::int32_t row) const;

private:
    friend class StoredNode;

    // The parent a node added beside relative gets; false when relative is no node of the store.
    [[nodiscard]] bool parentFor(
        const NodeRef& relative, NodeRelationship relationship, StoredNode*& parent) const;
    // The node added last, without a handle: a handle for each node of a large build would count
    // its block's users up and down with the processor's locked additions.
    StoredNode& place(StoredNode* parent, std::int32_t image);
    // What the adds do once the parent is known (null for a top node): the node added, or null
    // when none was (its key in the store already, no texts).
    StoredNode* placeOwn(
        StoredNode* parent, std::u16string_view key, std::u16string_view text, std::int32_t image);
    StoredNode* placeLent(StoredNode* parent, const std::shared_ptr<const LentNodeTexts>& texts,
        std::uint32_t reference, std::int32_t image);
    // The node at a position in order of addition, from 0.
    [[nodiscard]] StoredNode& nodeAt(std::size_t position) const
    {
        // Both branches are references to stored nodes; no temporary is made.
        // cppcheck-suppress returnTempReference
        return m_Listed ? *m_Nodes[position] : m_Blocks.at(static_cast<std::uint32_t>(position));
    }
    [[nodiscard]] std::int32_t indexOf(const StoredNode& node) const
    {
        return m_Listed ? m_IndexById[numberOf(node)] : static_cast<std::int32_t>(numberOf(node)) + 1;
    }
    // Calls visit(node) for the nodes at positions start up to end in order of addition.
    template<typename Visit> void forEachNodeAt(std::size_t start, std::size_t end, Visit visit) const
    {
        if (m_Listed) {
            for (std::size_t position = start; position < end; ++position)
                visit(*m_Nodes[position]);
            return;
        }
        m_Blocks.forEachFrom(static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end), visit);
    }
    // The first of a parent's children (of the top nodes for null).
    [[nodiscard]] StoredNode* firstChildOf(const StoredNode* parent) const
    {
        return parent ? at(parent->m_FirstChild) : m_FirstTop;
    }
    // The node with that number; null for NoNode.
    [[nodiscard]] StoredNode* at(std::uint32_t id) const
    {
        return id == StoredNode::NoNode ? nullptr : &m_Blocks.at(id);
    }
    void link(StoredNode& node, std::uint32_t id, StoredNode* parent);
    void unlink(StoredNode& node);
    void leaveSubtree(StoredNode& top);
    void letGoOfNodes();
    [[nodiscard]] std::u16string_view keyOf(const StoredNode& node, std::u16string& room) const;
    // Files the keys of the nodes the index lacks.
    void indexAllKeys() const;
    // The place of the words in the table of image meanings, which gains them when they are new;
    // nullopt when it is full.
    [[nodiscard]] std::optional<std::uint8_t> placeOfImageMeaning(std::u16string_view words);
    // The node lent for reference when its key is key.
    [[nodiscard]] StoredNode* lentNodeWithKey(std::uint32_t reference, std::u16string_view key) const;

    using Blocks = NodeBlocks<StoredNode, NodeStore>;

    // Key and text side by side in the store's arena.
    struct OwnTexts {
        const char16_t* keyAndText = nullptr;
        std::uint32_t keyLength = 0;
        std::uint32_t textLength = 0;
    };

    ImageList m_Images;
    NodeStoreObserver& m_Observer;
    Blocks m_Blocks { *this };
    // Until a node leaves, a node's number is its position in order of addition; from then on
    // the nodes are listed in that order, and their indexes kept by number.
    std::vector<StoredNode*> m_Nodes;
    std::vector<std::int32_t> m_IndexById;
    bool m_Listed = false;
    std::int32_t m_Count = 0;
    StoredNode* m_FirstTop = nullptr;
    // Positions in order of addition by the nodes' keys, for the first m_IndexedNodes nodes.
    mutable KeyIndex m_NodesByKey;
    mutable std::size_t m_IndexedNodes = 0;
    TextArena m_Texts;
    std::vector<OwnTexts> m_OwnTexts;
    // Gives the texts of every node added with lent texts.
    std::shared_ptr<const LentNodeTexts> m_Lender;
    // The highest reference of the nodes lent, and whether a node of own texts came.
    std::int64_t m_HighestLentReference = -1;
    // Every node was lent after the nodes of lower references.
    bool m_LentInOrder = true;
    bool m_OwnKeys = false;
    // What a lender writes besides the key looked for.
    mutable std::u16string m_SpareText;
    std::unordered_map<const StoredNode*, std::uint32_t> m_BackColors;
    // The few distinct meanings the nodes' images have been given, the empty one first.
    std::vector<std::u16string> m_ImageMeanings { std::u16string() };
    // The meaning given last, looked at before the table.
    std::uint8_t m_LastImageMeaning = 0;
    std::shared_ptr<StoredNode> m_Selected;
    BlinkPhase m_BlinkPhase = BlinkPhase::Off;
};

inline NodeStore& StoredNode::store() const
{
    return NodeStore::Blocks::ownerOf(*this);
}

inline std::uint8_t StoredNode::imageIndex() const
{
    return m_Blinking && store().m_BlinkPhase == BlinkPhase::On ? m_PhaseOnImage : m_Image;
}

inline const StoredNode* StoredNode::parentNode() const
{
    return m_InStore ? store().at(m_Parent) : nullptr;
}

inline const StoredNode* StoredNode::firstChild() const
{
    return m_InStore ? store().at(m_FirstChild) : nullptr;
}

inline std::int32_t StoredNode::childCount() const
{
    const StoredNode* first = firstChild();
    return first ? store().at(first->m_RowOrLastSibling)->row() + 1 : 0;
}

inline const StoredNode* StoredNode::nextSibling() const
{
    return m_InStore ? store().at(m_NextSibling) : nullptr;
}

} // namespace vestrak
