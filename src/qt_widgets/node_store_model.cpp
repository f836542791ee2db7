#include "qt_widgets/node_store_model.h"

#include "qt_widgets/qt_colors.h"
#include "qt_widgets/qt_images.h"
#include "qt_widgets/qt_text.h"

#include <QApplication>
#include <QBrush>
#include <QStringList>
#include <QWidget>
#include <algorithm>

namespace vestrak {

NodeStoreModel::NodeStoreModel(const NodeStore& store, const QWidget& view)
    : m_Store(store)
    , m_View(view)
{
    for (std::int32_t image = 0; image <= imageCount(store.imageList()); ++image)
        m_Icons.push_back(imageListIcon(store.imageList(), image));
}

void NodeStoreModel::endStoreReset()
{
    m_Rows.clear();
    m_Store.forEachShownRow([this](const StoredNode& node) {
        m_Rows.push_back(NodeStore::numberOf(node));
        return true;
    });
    endResetModel();
}

// A node that left the store keeps its number until the store is cleared, and the rows are
// taken anew before then.
StoredNode* NodeStoreModel::nodeAt(const QModelIndex& index) const
{
    StoredNode* node
        = index.isValid() ? m_Store.nodeNumbered(static_cast<std::uint32_t>(index.internalId())) : nullptr;
    return node && node->exists() ? node : nullptr;
}

QModelIndex NodeStoreModel::indexOf(const StoredNode& node) const
{
    const auto found = std::find(m_Rows.begin(), m_Rows.end(), NodeStore::numberOf(node));
    return found == m_Rows.end() ? QModelIndex() : index(static_cast<int>(found - m_Rows.begin()), 0);
}

RowBranches NodeStoreModel::branchesOf(const QModelIndex& index) const
{
    RowBranches branches;
    const StoredNode* node = nodeAt(index);
    if (!node)
        return branches;
    branches.hasChildren = node->childCount() > 0;
    branches.open = node->isExpanded();
    for (const StoredNode* each = node; each; each = each->parentNode())
        branches.siblingsFollow.push_back(each->nextSibling() != nullptr);
    branches.level = static_cast<int>(branches.siblingsFollow.size()) - 1;
    return branches;
}

int NodeStoreModel::levelOf(const QModelIndex& index) const
{
    int level = 0;
    if (const StoredNode* node = nodeAt(index)) {
        for (const StoredNode* parent = node->parentNode(); parent; parent = parent->parentNode())
            ++level;
    }
    return level;
}

QString NodeStoreModel::pathOf(const StoredNode& node) const
{
    QStringList path;
    for (const std::u16string& above : m_Store.placeOf(node))
        path.append(toQString(above));
    path.append(toQString(m_Store.textOf(node)));
    return path.join(QStringLiteral(" / "));
}

QString NodeStoreModel::toolTipOf(const StoredNode& node) const
{
    const std::u16string meaning = node.imageMeaning();
    return meaning.empty() ? pathOf(node) : pathOf(node) + QLatin1Char('\n') + toQString(meaning);
}

QString NodeStoreModel::descriptionOf(const StoredNode& node) const
{
    const std::u16string meaning = node.imageMeaning();
    return meaning.empty() ? pathOf(node) : toQString(meaning) + QStringLiteral("; ") + pathOf(node);
}

void NodeStoreModel::looksChanged(int row)
{
    const QModelIndex changed = index(row, 0);
    emit dataChanged(changed, changed, { Qt::DecorationRole, Qt::BackgroundRole });
}

void NodeStoreModel::iconChanged(int row)
{
    const QModelIndex changed = index(row, 0);
    emit dataChanged(changed, changed, { Qt::DecorationRole });
}

bool NodeStoreModel::iconsTakeSameRoom(std::int32_t image, std::int32_t other, QSize iconSize) const
{
    const auto iconOf = [this](std::int32_t each) -> const QIcon* {
        return each >= 0 && static_cast<std::size_t>(each) < m_Icons.size()
            ? &m_Icons[static_cast<std::size_t>(each)]
            : nullptr;
    };
    const QIcon* icon = iconOf(image);
    const QIcon* otherIcon = iconOf(other);
    if (!icon || !otherIcon || icon->isNull() || otherIcon->isNull())
        return false;
    return icon->actualSize(iconSize) == otherIcon->actualSize(iconSize);
}

QModelIndex NodeStoreModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || column != 0 || row < 0 || static_cast<std::size_t>(row) >= m_Rows.size())
        return {};
    return createIndex(row, 0, quintptr { m_Rows[static_cast<std::size_t>(row)] });
}

QModelIndex NodeStoreModel::parent(const QModelIndex&) const
{
    return {};
}

int NodeStoreModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_Rows.size());
}

int NodeStoreModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool NodeStoreModel::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_Rows.empty();
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
    case Qt::ToolTipRole:
        return toolTipOf(*node);
    case Qt::AccessibleDescriptionRole:
        return descriptionOf(*node);
    case Qt::BackgroundRole:
        // The window background is what an unpainted row shows, and it follows the tree's colour.
        if (node->hasOwnBackColor())
            return QBrush(toQColor(m_Store.backColorOf(*node), m_View.palette()));
        return {};
    case Qt::ForegroundRole:
        // Text on a background of the page's own stays readable, dark or light.
        if (node->hasOwnBackColor())
            return QBrush(toQColor(m_Store.backColorOf(*node), m_View.palette()).lightness() < 128
                    ? Qt::white
                    : Qt::black);
        return {};
    default:
        return {};
    }
}

// Every row is a leaf to Qt: it then never looks for a row among open branches of its own.
Qt::ItemFlags NodeStoreModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

} // namespace vestrak
