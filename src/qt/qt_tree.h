#pragma once

#include "ports/tree.h"
#include "procs/key_index.h"
#include "procs/node_blocks.h"
#include "procs/text_arena.h"
#include "qt/qt_widget.h"

#include <QList>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

class QTreeWidgetItem;

namespace vestrak {

class QtTree;
class QtTreeView;

// A node handle over a tree widget item. The item shows text and image; the node keeps key and
// index, the flags Qt cannot hold for an item without children (expanded) and the numbers the
// control set, so that the item carries no data the view would be told about.
class QtNode final : public TreeNode {
public:
    QtNode(
        QtTree& tree, QTreeWidgetItem& item, std::u16string_view key, std::int32_t index, std::int32_t image);

    [[nodiscard]] bool exists() const override { return m_Item != nullptr; }
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

    [[nodiscard]] QTreeWidgetItem* item() const { return m_Item; }

private:
    friend class QtTree;

    QtTree* m_Tree;
    QTreeWidgetItem* m_Item;
    // Kept in the tree's arena, and read only while the node is in the tree.
    std::u16string_view m_Key;
    std::int32_t m_Index;
    std::int32_t m_Image;
    std::uint32_t m_BackColor = WindowBackgroundColor;
    bool m_Expanded = false;
};

// The tree port on a QTreeWidget. Node order, selection and scroll position are the port's:
// Qt shows them, and what the operator does on the widget comes back through one set of
// handlers that the operator actions use too.
//
// New top nodes wait with their subtrees outside the view: Qt tells the view of every item added
// below an item in it, and of none below one outside. They join the view in one insertion before
// anything shows, reads or acts on it, and at the next turn of the event loop.
class QtTree final : public QtWidget<Tree> {
public:
    QtTree(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host, QtTreeView& view,
        ImageList images);
    ~QtTree() override;

    void setVisible(bool visible) override;
    [[nodiscard]] ImageList imageList() const override { return m_Images; }
    NodeRef add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
        std::u16string_view text, std::int32_t image) override;
    bool remove(const NodeRef& node) override;
    void clear() override;
    [[nodiscard]] std::int32_t count() const override;
    [[nodiscard]] NodeRef node(std::int32_t index) const override;
    [[nodiscard]] NodeRef find(const std::u16string& key) const override;
    [[nodiscard]] NodeRef selectedNode() const override { return m_Selected; }
    [[nodiscard]] NodeRef hitTest(double x, double y) const override;
    [[nodiscard]] std::uint32_t backColor() const override { return m_BackColor; }
    void setBackColor(std::uint32_t color) override;
    [[nodiscard]] std::int32_t scrollPosition() const override;
    void setScrollPosition(std::int32_t position) override;
    [[nodiscard]] std::u16string placeholderText() const override;
    void setPlaceholderText(const std::u16string& text) override;

    bool operatorClick(const std::u16string& key) override;
    bool operatorRightClick(const std::u16string& key) override;
    bool operatorDoubleClick(const std::u16string& key) override;
    bool operatorExpand(const std::u16string& key) override;
    bool operatorCollapse(const std::u16string& key) override;
    bool operatorMouseMove() override;
    bool operatorScroll(std::int32_t position) override;

    [[nodiscard]] QtTreeView& view() const { return m_View; }

private:
    friend class QtNode;

    [[nodiscard]] QtNode* nodeOf(const QTreeWidgetItem* item) const;
    // The tree's handle of one of its nodes.
    [[nodiscard]] const std::shared_ptr<QtNode>& handleOf(const QtNode& node) const;
    [[nodiscard]] QtNode* findByKey(std::u16string_view key) const;
    void indexKeys();
    void addTopItem(QTreeWidgetItem* item);
    void attachWaitingItems();
    void showOpenBranchesFrom(int firstRow);
    void select(QtNode* node);
    void showExpanded(QtNode& node);
    void showScrollPosition();
    void scrollIntoView(const QtNode& node);
    void detach(QtNode& node);
    // Takes the item out of its parent, the view or the items waiting to join it.
    [[nodiscard]] QTreeWidgetItem* take(QTreeWidgetItem& item);
    void renumber();
    template<typename Visit> void forEachShownRow(Visit visit) const;
    [[nodiscard]] QtNode* operatorTarget(const std::u16string& key);
    [[nodiscard]] std::int32_t rowsPerPage() const;
    [[nodiscard]] std::int32_t shownRowCount() const;
    [[nodiscard]] std::int32_t rowOf(const QtNode& node) const;
    [[nodiscard]] std::int32_t clampedScroll(std::int32_t position) const;
    [[nodiscard]] double rowTop(const QtNode& node) const;

    void pressed(QtNode* node, std::int16_t button, std::int16_t shift, double x, double y);
    void keyboardMovedTo(QtNode& node);
    void menuRequestedByKeyboard();
    void expandedByOperator(QtNode& node, bool expanded);
    void connectView();

    QtTreeView& m_View;
    ImageList m_Images;
    NodeBlocks<QtNode> m_Blocks;
    std::vector<std::shared_ptr<QtNode>> m_Nodes;
    // Positions in m_Nodes by the nodes' own keys.
    KeyIndex m_NodesByKey;
    TextArena m_Keys;
    // Top items that have not joined the view yet, with their subtrees; the tree owns them.
    QList<QTreeWidgetItem*> m_WaitingItems;
    std::shared_ptr<QtNode> m_Selected;
    std::uint32_t m_BackColor = WindowBackgroundColor;
    mutable std::int32_t m_ScrollPosition = 0;
    bool m_ShowingScroll = false;
};

} // namespace vestrak
