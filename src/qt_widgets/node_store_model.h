#pragma once

#include "widgets/node_store.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QPalette>
#include <cstdint>
#include <vector>

namespace vestrak {

// How a shown row's branch column and the columns of its ancestors are drawn.
struct RowBranches {
    // 0 for a top node.
    int level = 0;
    bool hasChildren = false;
    bool open = false;
    // For the node and each ancestor, innermost first: whether a sibling follows it, so that the
    // branch line of that level goes on below the row.
    std::vector<bool> siblingsFollow;
};

// The rows that open branches let be seen, as one flat list: text and icon made when the view
// asks. Qt lays out each row of a tree it is given by walking it, and keeps a persistent index
// for each branch it is told is open; a plant has a hundred thousand of them. Given the rows
// flat, Qt keeps none, and the store alone says which branches are open and how deep a row lies.
class NodeStoreModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    NodeStoreModel(const NodeStore& store, const QWidget& view);

    [[nodiscard]] QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    [[nodiscard]] QModelIndex parent(const QModelIndex& child) const override;
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] bool hasChildren(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The row showing the node; invalid while a closed branch hides it.
    [[nodiscard]] QModelIndex indexOf(const StoredNode& node) const;
    // The node of a row while it is in the store.
    [[nodiscard]] StoredNode* nodeAt(const QModelIndex& index) const;
    [[nodiscard]] RowBranches branchesOf(const QModelIndex& index) const;
    // The row's level alone: 0 for a top node.
    [[nodiscard]] int levelOf(const QModelIndex& index) const;
    [[nodiscard]] const NodeStore& store() const { return m_Store; }
    // The node's texts from the top node down, so that a name cut short shows whole and rows of
    // one name tell apart, then what its image stands for.
    [[nodiscard]] QString toolTipOf(const StoredNode& node) const;
    // For screen readers: what the image stands for first, then where the node lies.
    [[nodiscard]] QString descriptionOf(const StoredNode& node) const;

    // The row's icon or colour changed.
    void looksChanged(int row);
    // The row's icon alone changed, for one that takes the same room.
    void iconChanged(int row);
    // Whether the images' icons take the same room in a row of icons of that size, so that one
    // replaces the other without moving the row's text.
    [[nodiscard]] bool iconsTakeSameRoom(std::int32_t image, std::int32_t other, QSize iconSize) const;
    // The view forgets the rows it knew until endStoreReset, which takes the store's shown rows.
    void beginStoreReset() { beginResetModel(); }
    void endStoreReset();

private:
    [[nodiscard]] QString pathOf(const StoredNode& node) const;

    const NodeStore& m_Store;
    const QWidget& m_View;
    // One icon per image of the list, made once.
    std::vector<QIcon> m_Icons;
    // The number of each shown row's node, top to bottom.
    std::vector<std::uint32_t> m_Rows;
};

} // namespace vestrak
