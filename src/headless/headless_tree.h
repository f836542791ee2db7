#pragma once

#include "headless/headless_widget.h"
#include "ports/tree.h"
#include "procs/key_index.h"
#include "procs/node_blocks.h"
#include "procs/text_arena.h"

#include <memory>
#include <vector>

namespace vestrak {

class HeadlessTree;

class HeadlessNode final : public TreeNode {
public:
    HeadlessNode(HeadlessTree& tree, HeadlessNode* parent, std::u16string_view key, std::u16string_view text,
        std::int32_t image);

    [[nodiscard]] bool exists() const override { return m_Tree != nullptr; }
    [[nodiscard]] std::u16string key() const override;
    [[nodiscard]] std::u16string text() const override;
    [[nodiscard]] std::u16string fullPath() const override;
    [[nodiscard]] NodeRef parent() const override;
    [[nodiscard]] std::int32_t children() const override;
    [[nodiscard]] std::int32_t index() const override;
    [[nodiscard]] std::int32_t image() const override;
    bool setImage(std::int32_t image) override;
    [[nodiscard]] std::uint32_t backColor() const override;
    void setBackColor(std::uint32_t color) override;
    [[nodiscard]] bool expanded() const override;
    void setExpanded(bool expanded) override;
    [[nodiscard]] bool selected() const override;
    void setSelected(bool selected) override;
    void ensureVisible() override;

private:
    friend class HeadlessTree;

    HeadlessTree* m_Tree = nullptr;
    HeadlessNode* m_Parent = nullptr;
    // Children and siblings are linked, so that neither adding nor letting go of a node
    // allocates.
    HeadlessNode* m_FirstChild = nullptr;
    HeadlessNode* m_LastChild = nullptr;
    HeadlessNode* m_PreviousSibling = nullptr;
    HeadlessNode* m_NextSibling = nullptr;
    std::int32_t m_ChildCount = 0;
    // Kept in the tree's arena, and read only while the node is in the tree.
    std::u16string_view m_Key;
    std::u16string_view m_Text;
    std::int32_t m_Image = 0;
    std::uint32_t m_BackColor = WindowBackgroundColor;
    bool m_Expanded = false;
    std::int32_t m_Index = 0;
};

// An in-memory tree view with rows of 18 pixels that scrolls by rows.
class HeadlessTree final : public HeadlessWidget<Tree> {
public:
    HeadlessTree(std::u16string name, const Geometry& design, bool visible, FocusTracker& focus,
        ImageList images, double twipsPerPixelY);
    ~HeadlessTree() override;

    [[nodiscard]] ImageList imageList() const override { return m_Images; }
    NodeRef add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
        std::u16string_view text, std::int32_t image) override;
    bool remove(const NodeRef& node) override;
    void clear() override;
    [[nodiscard]] std::int32_t count() const override;
    [[nodiscard]] NodeRef node(std::int32_t index) const override;
    [[nodiscard]] NodeRef find(const std::u16string& key) const override;
    [[nodiscard]] NodeRef selectedNode() const override;
    [[nodiscard]] NodeRef hitTest(double x, double y) const override;
    [[nodiscard]] std::uint32_t backColor() const override { return m_BackColor; }
    void setBackColor(std::uint32_t color) override { m_BackColor = color; }
    [[nodiscard]] std::int32_t scrollPosition() const override;
    void setScrollPosition(std::int32_t position) override;
    [[nodiscard]] std::u16string placeholderText() const override { return m_PlaceholderText; }
    void setPlaceholderText(const std::u16string& text) override { m_PlaceholderText = text; }

    bool operatorClick(const std::u16string& key) override;
    bool operatorRightClick(const std::u16string& key) override;
    bool operatorDoubleClick(const std::u16string& key) override;
    bool operatorExpand(const std::u16string& key) override;
    bool operatorCollapse(const std::u16string& key) override;
    bool operatorMouseMove() override;
    bool operatorScroll(std::int32_t position) override;

private:
    friend class HeadlessNode;

    // The tree's handle of one of its nodes.
    [[nodiscard]] const std::shared_ptr<HeadlessNode>& handleOf(const HeadlessNode& node) const;
    [[nodiscard]] HeadlessNode* findByKey(std::u16string_view key) const;
    void indexKeys();
    void select(HeadlessNode* node);
    void scrollIntoView(const HeadlessNode& node);
    void link(HeadlessNode& node);
    void unlink(HeadlessNode& node);
    void leaveSubtree(HeadlessNode& top);
    [[nodiscard]] HeadlessNode* operatorTarget(const std::u16string& key) const;
    template<typename Visit> void forEachShownRow(Visit visit) const;
    [[nodiscard]] auto shownRows() const;
    [[nodiscard]] std::int32_t rowsPerPage() const;
    [[nodiscard]] std::int32_t visibleRowCount() const;
    [[nodiscard]] std::int32_t rowOf(const HeadlessNode& node) const;
    [[nodiscard]] std::int32_t clampedScroll(std::int32_t position) const;
    [[nodiscard]] double rowTop(const HeadlessNode& node) const;

    ImageList m_Images;
    double m_TwipsPerPixelY;
    NodeBlocks<HeadlessNode> m_Blocks;
    std::vector<std::shared_ptr<HeadlessNode>> m_Nodes;
    HeadlessNode* m_FirstTop = nullptr;
    HeadlessNode* m_LastTop = nullptr;
    // Positions in m_Nodes by the nodes' own keys.
    KeyIndex m_NodesByKey;
    // Keys and texts of the nodes.
    TextArena m_Texts;
    std::shared_ptr<HeadlessNode> m_Selected;
    std::uint32_t m_BackColor = WindowBackgroundColor;
    mutable std::int32_t m_ScrollPosition = 0;
    std::u16string m_PlaceholderText;
};

} // namespace vestrak
