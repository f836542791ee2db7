#include "qt/node_store_model.h"

#include "qt/qt_colors.h"
#include "qt/qt_images.h"
#include "qt/qt_text.h"

#include <QApplication>
#include <QBrush>
#include <QWidget>

namespace vestrak {

NodeStoreModel::NodeStoreModel(const NodeStore& store, const QWidget& view)
    : m_Store(store)
    , m_View(view)
{
    for (std::int32_t image = 0; image <= imageCount(store.imageList()); ++image)
        m_Icons.push_back(imageListIcon(store.imageList(), image));
}

StoredNode* NodeStoreModel::nodeAt(const QModelIndex& index) const
{
    return index.isValid() ? m_Store.nodeNumbered(static_cast<std::uint32_t>(index.internalId())) : nullptr;
}

QModelIndex NodeStoreModel::indexOf(const StoredNode& node) const
{
    return createIndex(node.row(), 0, quintptr { NodeStore::numberOf(node) });
}

void NodeStoreModel::looksChanged(const StoredNode& node)
{
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index, { Qt::DecorationRole, Qt::BackgroundRole });
}

QModelIndex NodeStoreModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0)
        return {};
    const StoredNode* child = m_Store.childAt(nodeAt(parent), row);
    return child ? indexOf(*child) : QModelIndex();
}

QModelIndex NodeStoreModel::parent(const QModelIndex& child) const
{
    const StoredNode* node = nodeAt(child);
    const StoredNode* parentNode = node ? node->parentNode() : nullptr;
    return parentNode ? indexOf(*parentNode) : QModelIndex();
}

int NodeStoreModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const StoredNode* node = nodeAt(parent);
    return node ? node->childCount() : m_Store.topCount();
}

int NodeStoreModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool NodeStoreModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant NodeStoreModel::data(const QModelIndex& index, int role) const
{
    const StoredNode* node = nodeAt(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return toQString(m_Store.textOf(*node));
    case Qt::DecorationRole:
        return m_Icons[node->imageIndex()];
    case Qt::BackgroundRole:
        // The window background is what an unpainted row shows, and it follows the tree's colour.
        if (node->hasOwnBackColor())
            return QBrush(toQColor(m_Store.backColorOf(*node), m_View.palette()));
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags NodeStoreModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace vestrak
