#include "qt_widgets/tree_accessible.h"

#include "qt_widgets/qt_text.h"
#include "qt_widgets/qt_tree_view.h"

#include <QWidget>
#include <QWindow>
#include <limits>

namespace vestrak {

namespace {

// The key of the top nodes among the lists of shown children.
constexpr std::uint32_t TopNodes = std::numeric_limits<std::uint32_t>::max();

// One shown row: a tree item whose children are the rows of its open branch.
class TreeItemAccessible final : public QAccessibleInterface {
public:
    TreeItemAccessible(const TreeViewAccessible& tree, std::uint32_t number)
        : m_Tree(tree)
        , m_Number(number)
    {
    }

    [[nodiscard]] bool isValid() const override { return node() != nullptr; }
    // An item has no object of its own, as the cells of Qt's item views.
    [[nodiscard]] QObject* object() const override { return nullptr; }
    [[nodiscard]] QWindow* window() const override { return m_Tree.window(); }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::TreeItem; }

    [[nodiscard]] QAccessibleInterface* parent() const override
    {
        const StoredNode* shown = node();
        if (shown && shown->parentNode())
            return m_Tree.itemOf(*shown->parentNode());
        return const_cast<TreeViewAccessible*>(&m_Tree);
    }

    [[nodiscard]] int childCount() const override
    {
        const StoredNode* shown = node();
        return shown ? static_cast<int>(m_Tree.shownChildrenOf(shown).size()) : 0;
    }

    [[nodiscard]] QAccessibleInterface* child(int index) const override
    {
        const StoredNode* shown = node();
        if (!shown)
            return nullptr;
        const std::vector<std::uint32_t>& children = m_Tree.shownChildrenOf(shown);
        if (index < 0 || static_cast<std::size_t>(index) >= children.size())
            return nullptr;
        const StoredNode* child = m_Tree.nodeNumbered(children[static_cast<std::size_t>(index)]);
        return child ? m_Tree.itemOf(*child) : nullptr;
    }

    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* item = dynamic_cast<const TreeItemAccessible*>(child);
        const StoredNode* childNode = item ? item->node() : nullptr;
        return childNode && childNode->parentNode() == node() && node() ? childNode->row() : -1;
    }

    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override
    {
        const StoredNode* shown = node();
        return shown ? m_Tree.itemAt(QPoint(x, y), shown) : nullptr;
    }

    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        const StoredNode* shown = node();
        if (!shown || !m_Tree.rows())
            return {};
        switch (kind) {
        case QAccessible::Name:
            return toQString(m_Tree.rows()->store().textOf(*shown));
        case QAccessible::Description:
            return m_Tree.rows()->descriptionOf(*shown);
        default:
            return {};
        }
    }

    void setText(QAccessible::Text, const QString&) override { }

    [[nodiscard]] QRect rect() const override
    {
        const StoredNode* shown = node();
        const int row = shown ? m_Tree.shownRowOf(*shown) : -1;
        if (row < 0)
            return {};
        const QtTreeView& view = m_Tree.view();
        const QRect inViewport = view.visualRect(view.model()->index(row, 0));
        return { view.viewport()->mapToGlobal(inViewport.topLeft()), inViewport.size() };
    }

    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State state;
        const StoredNode* shown = node();
        if (!shown) {
            state.invalid = true;
            return state;
        }
        const QtTreeView& view = m_Tree.view();
        state.selectable = true;
        state.focusable = true;
        state.selected = m_Tree.rows()->store().selected() == shown;
        state.focused = view.hasFocus() && m_Tree.rows()->nodeAt(view.currentIndex()) == shown;
        state.expandable = shown->childCount() > 0;
        state.expanded = state.expandable && shown->isExpanded();
        state.collapsed = state.expandable && !shown->isExpanded();
        const QRect shownPart = rect();
        state.invisible = shownPart.isNull();
        state.offscreen = !shownPart.intersects(
            QRect(view.viewport()->mapToGlobal(QPoint(0, 0)), view.viewport()->size()));
        return state;
    }

    [[nodiscard]] const StoredNode* node() const { return m_Tree.nodeNumbered(m_Number); }

private:
    const TreeViewAccessible& m_Tree;
    std::uint32_t m_Number;
};

QAccessibleInterface* treeViewAccessibleFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String(QtTreeView::staticMetaObject.className()))
        return nullptr;
    auto* view = qobject_cast<QtTreeView*>(object);
    // Qt's accessibility cache takes ownership.
    return view ? new TreeViewAccessible(*view) : nullptr;
}

TreeViewAccessible* accessibleTreeOf(QtTreeView& view)
{
    return QAccessible::isActive()
        ? dynamic_cast<TreeViewAccessible*>(QAccessible::queryAccessibleInterface(&view))
        : nullptr;
}

} // namespace

void treeRowsTakenAnew(QtTreeView& view)
{
    if (TreeViewAccessible* tree = accessibleTreeOf(view))
        tree->forgetRows();
}

void treeCurrentRowMoved(QtTreeView& view, const QModelIndex& current)
{
    TreeViewAccessible* tree = accessibleTreeOf(view);
    const StoredNode* node = tree && tree->rows() ? tree->rows()->nodeAt(current) : nullptr;
    if (!node)
        return;
    QAccessibleInterface* item = tree->itemOf(*node);
    QAccessibleEvent selected(item, QAccessible::Selection);
    QAccessible::updateAccessibility(&selected);
    if (view.hasFocus()) {
        QAccessibleEvent focused(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
    }
}

void installTreeAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(treeViewAccessibleFactory);
        return true;
    }();
    (void)installed;
}

TreeViewAccessible::TreeViewAccessible(QtTreeView& view)
    : QAccessibleWidget(&view, QAccessible::Tree)
{
}

TreeViewAccessible::~TreeViewAccessible()
{
    forgetRows();
}

QtTreeView& TreeViewAccessible::view() const
{
    return static_cast<QtTreeView&>(*widget());
}

const NodeStoreModel* TreeViewAccessible::rows() const
{
    return qobject_cast<const NodeStoreModel*>(view().model());
}

const StoredNode* TreeViewAccessible::nodeNumbered(std::uint32_t number) const
{
    const NodeStoreModel* model = rows();
    const StoredNode* node = model ? model->store().nodeNumbered(number) : nullptr;
    return node && node->exists() ? node : nullptr;
}

void TreeViewAccessible::forgetRows()
{
    for (const auto& [number, id] : m_ItemIds)
        QAccessible::deleteAccessibleInterface(id);
    m_ItemIds.clear();
    m_ShownChildren.clear();
    m_ShownRows.clear();
    m_RowsLearned = false;
}

// One pass over the view's rows tells each row's place and each open branch's children.
void TreeViewAccessible::learnShownRows() const
{
    if (std::exchange(m_RowsLearned, true))
        return;
    const NodeStoreModel* model = rows();
    if (!model)
        return;
    for (int row = 0; row < model->rowCount(); ++row) {
        const StoredNode* node = model->nodeAt(model->index(row, 0));
        if (!node)
            continue;
        const std::uint32_t number = NodeStore::numberOf(*node);
        m_ShownRows[number] = row;
        const StoredNode* parent = node->parentNode();
        m_ShownChildren[parent ? NodeStore::numberOf(*parent) : TopNodes].push_back(number);
    }
}

const std::vector<std::uint32_t>& TreeViewAccessible::shownChildrenOf(const StoredNode* parent) const
{
    static const std::vector<std::uint32_t> none;
    learnShownRows();
    const auto found = m_ShownChildren.find(parent ? NodeStore::numberOf(*parent) : TopNodes);
    return found == m_ShownChildren.end() ? none : found->second;
}

int TreeViewAccessible::shownRowOf(const StoredNode& node) const
{
    learnShownRows();
    const auto found = m_ShownRows.find(NodeStore::numberOf(node));
    return found == m_ShownRows.end() ? -1 : found->second;
}

QAccessibleInterface* TreeViewAccessible::itemOf(const StoredNode& node) const
{
    const std::uint32_t number = NodeStore::numberOf(node);
    if (const auto found = m_ItemIds.find(number); found != m_ItemIds.end())
        return QAccessible::accessibleInterface(found->second);
    auto* item = new TreeItemAccessible(*this, number);
    m_ItemIds.emplace(number, QAccessible::registerAccessibleInterface(item));
    return item;
}

QAccessibleInterface* TreeViewAccessible::itemAt(QPoint screenPoint, const StoredNode* parent) const
{
    const NodeStoreModel* model = rows();
    if (!model)
        return nullptr;
    const QtTreeView& shown = view();
    const StoredNode* node = model->nodeAt(shown.indexAt(shown.viewport()->mapFromGlobal(screenPoint)));
    while (node && node->parentNode() != parent)
        node = node->parentNode();
    return node ? itemOf(*node) : nullptr;
}

int TreeViewAccessible::childCount() const
{
    return static_cast<int>(shownChildrenOf(nullptr).size());
}

QAccessibleInterface* TreeViewAccessible::child(int index) const
{
    const std::vector<std::uint32_t>& tops = shownChildrenOf(nullptr);
    if (index < 0 || static_cast<std::size_t>(index) >= tops.size() || !rows())
        return nullptr;
    const StoredNode* node = rows()->store().nodeNumbered(tops[static_cast<std::size_t>(index)]);
    return node ? itemOf(*node) : nullptr;
}

int TreeViewAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* item = dynamic_cast<const TreeItemAccessible*>(child);
    const StoredNode* node = item ? item->node() : nullptr;
    return node && !node->parentNode() ? node->row() : -1;
}

QAccessibleInterface* TreeViewAccessible::childAt(int x, int y) const
{
    return itemAt(QPoint(x, y), nullptr);
}

QAccessibleInterface* TreeViewAccessible::focusChild() const
{
    const NodeStoreModel* model = rows();
    const StoredNode* current = model ? model->nodeAt(view().currentIndex()) : nullptr;
    return current && view().hasFocus() ? itemOf(*current) : nullptr;
}

} // namespace vestrak
