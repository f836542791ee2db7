#pragma once

#include "procs/node_store.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QPalette>
#include <vector>

namespace vestrak {

// The rows of a node store as Qt sees them: one column, text and icon made when the view asks.
// An index holds its node's number in the store, whose row among its siblings the store keeps:
// Qt files the indexes it keeps (one per open branch) by a hash that adds the number to the row,
// and numbers one after another spread over its table where nodes' addresses, which lie in large
// aligned blocks, would crowd into few places.
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

    [[nodiscard]] QModelIndex indexOf(const StoredNode& node) const;
    [[nodiscard]] StoredNode* nodeAt(const QModelIndex& index) const;

    // The node's icon or colour changed.
    void looksChanged(const StoredNode& node);
    // The store changed more than rows can tell: the view forgets what it knew.
    void beginStoreReset() { beginResetModel(); }
    void endStoreReset() { endResetModel(); }

private:
    const NodeStore& m_Store;
    const QWidget& m_View;
    // One icon per image of the list, made once.
    std::vector<QIcon> m_Icons;
};

} // namespace vestrak
