#pragma once

#include <QAccessibleWidget>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vestrak {

class NodeStoreModel;
class QtTreeView;
class StoredNode;

// Gives every QtTreeView the accessible tree below; installed once, at the first view.
void installTreeAccessibility();
// What the view tells screen readers: its rows were taken anew, or the current row moved.
void treeRowsTakenAnew(QtTreeView& view);
void treeCurrentRowMoved(QtTreeView& view, const QModelIndex& current);

// A QtTreeView as screen readers read it: its shown rows as tree items nested by level, each with
// whether it has children and is open, its whole name and, as its description, what its image
// stands for and where it lies. Qt's own interface would list the view's flat rows as table cells.
class TreeViewAccessible final : public QAccessibleWidget {
public:
    explicit TreeViewAccessible(QtTreeView& view);
    ~TreeViewAccessible() override;
    TreeViewAccessible(const TreeViewAccessible&) = delete;
    TreeViewAccessible& operator=(const TreeViewAccessible&) = delete;

    [[nodiscard]] int childCount() const override;
    [[nodiscard]] QAccessibleInterface* child(int index) const override;
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override;
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override;
    [[nodiscard]] QAccessibleInterface* focusChild() const override;

    [[nodiscard]] QtTreeView& view() const;
    [[nodiscard]] const NodeStoreModel* rows() const;
    // The node a row interface stands for while it is in the store.
    [[nodiscard]] const StoredNode* nodeNumbered(std::uint32_t number) const;
    // A node's item, made once and kept until the view's rows are taken anew.
    [[nodiscard]] QAccessibleInterface* itemOf(const StoredNode& node) const;
    // The shown children of a node, or the top nodes for null, and a node's row in the view.
    [[nodiscard]] const std::vector<std::uint32_t>& shownChildrenOf(const StoredNode* parent) const;
    [[nodiscard]] int shownRowOf(const StoredNode& node) const;
    // The item under a point of the screen among the shown children of parent (null: top nodes).
    [[nodiscard]] QAccessibleInterface* itemAt(QPoint screenPoint, const StoredNode* parent) const;
    // The view's rows changed: the items made so far go.
    void forgetRows();

private:
    void learnShownRows() const;

    mutable std::unordered_map<std::uint32_t, QAccessible::Id> m_ItemIds;
    mutable std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> m_ShownChildren;
    mutable std::unordered_map<std::uint32_t, int> m_ShownRows;
    mutable bool m_RowsLearned = false;
};

} // namespace vestrak
