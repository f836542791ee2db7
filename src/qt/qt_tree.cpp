#include "qt/qt_tree.h"

#include "ports/tree_rows.h"
#include "qt/qt_colors.h"
#include "qt/qt_images.h"
#include "qt/qt_text.h"
#include "qt/qt_tree_view.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>
#include <utility>

namespace vestrak {

namespace {

// The tree's own items know their node, so that what the view reports needs no lookup.
class NodeItem final : public QTreeWidgetItem {
public:
    static constexpr int ItemType = QTreeWidgetItem::UserType;

    NodeItem()
        : QTreeWidgetItem(ItemType)
    {
    }

    QtNode* node = nullptr;
};

std::int16_t buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

std::int16_t shiftState(Qt::KeyboardModifiers modifiers)
{
    return static_cast<std::int16_t>((modifiers & Qt::ShiftModifier ? 1 : 0)
        | (modifiers & Qt::ControlModifier ? 2 : 0) | (modifiers & Qt::AltModifier ? 4 : 0));
}

} // namespace

QtNode::QtNode(
    QtTree& tree, QTreeWidgetItem& item, std::u16string_view key, std::int32_t index, std::int32_t image)
    : m_Tree(&tree)
    , m_Item(&item)
    , m_Key(key)
    , m_Index(index)
    , m_Image(image)
{
}

std::u16string QtNode::key() const
{
    return exists() ? std::u16string(m_Key) : std::u16string();
}

std::u16string QtNode::text() const
{
    return exists() ? fromQString(m_Item->text(0)) : std::u16string();
}

std::u16string QtNode::fullPath() const
{
    if (!exists())
        return {};
    QStringList texts;
    for (const QTreeWidgetItem* item = m_Item; item; item = item->parent())
        texts.prepend(item->text(0));
    return fromQString(texts.join(u'\\'));
}

NodeRef QtNode::parent() const
{
    QtNode* parentNode = exists() ? m_Tree->nodeOf(m_Item->parent()) : nullptr;
    return parentNode ? m_Tree->handleOf(*parentNode) : nullptr;
}

std::int32_t QtNode::children() const
{
    return exists() ? m_Item->childCount() : 0;
}

std::int32_t QtNode::index() const
{
    return exists() ? m_Index : 0;
}

std::int32_t QtNode::image() const
{
    return exists() ? m_Image : 0;
}

bool QtNode::setImage(std::int32_t image)
{
    if (!exists() || !holdsImage(m_Tree->imageList(), image))
        return false;
    m_Image = image;
    m_Item->setIcon(0, imageListIcon(m_Tree->imageList(), image));
    return true;
}

std::uint32_t QtNode::backColor() const
{
    return exists() ? m_BackColor : WindowBackgroundColor;
}

void QtNode::setBackColor(std::uint32_t color)
{
    // An item without a brush shows the window background already.
    if (!exists() || (color == WindowBackgroundColor && m_BackColor == WindowBackgroundColor))
        return;
    m_BackColor = color;
    // The window background is what an unpainted row shows, and it follows the tree's colour.
    m_Item->setBackground(
        0, color == WindowBackgroundColor ? QBrush() : QBrush(toQColor(color, m_Tree->view().palette())));
}

bool QtNode::expanded() const
{
    return exists() && m_Expanded;
}

void QtNode::setExpanded(bool expanded)
{
    if (!exists())
        return;
    m_Expanded = expanded;
    m_Tree->showExpanded(*this);
}

bool QtNode::selected() const
{
    return exists() && m_Tree->m_Selected.get() == this;
}

void QtNode::setSelected(bool selected)
{
    if (!exists())
        return;
    if (selected)
        m_Tree->select(this);
    else if (this->selected())
        m_Tree->select(nullptr);
}

void QtNode::ensureVisible()
{
    if (!exists())
        return;
    for (QtNode* ancestor = m_Tree->nodeOf(m_Item->parent()); ancestor;
         ancestor = m_Tree->nodeOf(ancestor->m_Item->parent())) {
        ancestor->m_Expanded = true;
        m_Tree->showExpanded(*ancestor);
    }
    m_Tree->scrollIntoView(*this);
}

QtTree::QtTree(std::u16string name, const Geometry& design, bool visible, QtWidgetHost& host,
    QtTreeView& view, ImageList images)
    : QtWidget(std::move(name), design, visible, host, view)
    , m_View(view)
    , m_Images(images)
{
    connectView();
}

QtTree::~QtTree()
{
    for (auto& node : m_Nodes)
        detach(*node);
    qDeleteAll(m_WaitingItems);
}

void QtTree::connectView()
{
    QObject::connect(&m_View, &QtTreeView::pressed, &context(),
        [this](QTreeWidgetItem* item, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
            const std::int16_t code = buttonCode(button);
            if (code != 0)
                pressed(nodeOf(item), code, shiftState(modifiers), at.x() * host().twipsPerPixelX(),
                    at.y() * host().twipsPerPixelY());
        });
    QObject::connect(&m_View, &QtTreeView::doubleClicked, &context(), [this] { DblClick(); });
    QObject::connect(&m_View, &QtTreeView::mouseMoved, &context(), [this] { MouseMove(); });
    QObject::connect(&m_View, &QtTreeView::menuRequested, &context(), [this] { menuRequestedByKeyboard(); });
    QObject::connect(&m_View, &QtTreeView::keyboardMovedTo, &context(), [this](QTreeWidgetItem* item) {
        if (QtNode* node = nodeOf(item))
            keyboardMovedTo(*node);
    });
    QObject::connect(&m_View, &QTreeWidget::itemExpanded, &context(), [this](QTreeWidgetItem* item) {
        if (QtNode* node = nodeOf(item))
            expandedByOperator(*node, true);
    });
    QObject::connect(&m_View, &QTreeWidget::itemCollapsed, &context(), [this](QTreeWidgetItem* item) {
        if (QtNode* node = nodeOf(item))
            expandedByOperator(*node, false);
    });
    QObject::connect(&m_View, &QtTreeView::geometriesUpdated, &context(), [this] { showScrollPosition(); });
    QScrollBar* scrollBar = m_View.verticalScrollBar();
    QObject::connect(scrollBar, &QAbstractSlider::actionTriggered, &context(), [this, scrollBar](int) {
        if (!m_ShowingScroll)
            m_ScrollPosition = clampedScroll(scrollBar->sliderPosition());
    });
}

QtNode* QtTree::nodeOf(const QTreeWidgetItem* item) const
{
    if (!item || item->type() != NodeItem::ItemType)
        return nullptr;
    return static_cast<const NodeItem*>(item)->node;
}

NodeRef QtTree::add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
    std::u16string_view text, std::int32_t image)
{
    QtNode* parent = nullptr;
    if (relative && relationship == NodeRelationship::Child) {
        auto* relativeNode = dynamic_cast<QtNode*>(relative.get());
        if (!relativeNode || relativeNode->m_Tree != this || !relativeNode->exists())
            return nullptr;
        parent = relativeNode;
    }
    // One look into the index both tells a key already there and files the new one.
    if (!m_NodesByKey.insert(key, m_Nodes.size(),
            [this](std::size_t position) -> std::u16string_view { return m_Nodes[position]->m_Key; }))
        return nullptr;
    // Text and icon are set before the item joins the view, which is then told once.
    auto item = std::make_unique<NodeItem>();
    item->setText(0, toQString(text));
    const std::int32_t shownImage = holdsImage(m_Images, image) ? image : 0;
    item->setIcon(0, imageListIcon(m_Images, shownImage));
    auto node = m_Blocks.emplace(*this, *item, m_Keys.keep(key), count() + 1, shownImage);
    item->node = node.get();
    m_Nodes.push_back(std::move(node));
    // The parent item owns the item from here on; a top item the tree, until the view takes it.
    if (parent)
        parent->m_Item->addChild(item.release());
    else
        addTopItem(item.release());
    // A branch opened before it had children opens when the first arrives.
    if (parent && parent->m_Expanded && parent->m_Item->childCount() == 1)
        showExpanded(*parent);
    return m_Nodes.back();
}

void QtTree::addTopItem(QTreeWidgetItem* item)
{
    if (m_WaitingItems.isEmpty())
        QMetaObject::invokeMethod(
            &context(), [this] { attachWaitingItems(); }, Qt::QueuedConnection);
    m_WaitingItems.append(item);
}

void QtTree::attachWaitingItems()
{
    if (m_WaitingItems.isEmpty())
        return;
    const int firstRow = m_View.topLevelItemCount();
    const QSignalBlocker quiet(&m_View);
    m_View.addTopLevelItems(std::exchange(m_WaitingItems, {}));
    showOpenBranchesFrom(firstRow);
}

// Qt keeps which branches are open in the view, so it learns them for the top items from that row
// on and their subtrees. Each index is made from its parent's: from the item alone Qt would look
// for it among its siblings.
void QtTree::showOpenBranchesFrom(int firstRow)
{
    const QAbstractItemModel& model = *m_View.model();
    std::vector<std::pair<const QTreeWidgetItem*, QModelIndex>> below;
    for (int row = firstRow; row < m_View.topLevelItemCount(); ++row)
        below.emplace_back(m_View.topLevelItem(row), model.index(row, 0));
    while (!below.empty()) {
        const auto [item, index] = below.back();
        below.pop_back();
        if (nodeOf(item)->m_Expanded)
            m_View.expand(index);
        for (int child = 0; child < item->childCount(); ++child)
            below.emplace_back(item->child(child), model.index(child, 0, index));
    }
}

void QtTree::setVisible(bool visible)
{
    attachWaitingItems();
    QtWidget::setVisible(visible);
}

void QtTree::detach(QtNode& node)
{
    static_cast<NodeItem*>(node.m_Item)->node = nullptr;
    if (m_Selected.get() == &node)
        m_Selected.reset();
    node.m_Tree = nullptr;
    node.m_Item = nullptr;
}

void QtTree::renumber()
{
    for (std::size_t i = 0; i < m_Nodes.size(); ++i)
        m_Nodes[i]->m_Index = static_cast<std::int32_t>(i) + 1;
}

QTreeWidgetItem* QtTree::take(QTreeWidgetItem& item)
{
    if (QTreeWidgetItem* parent = item.parent())
        return parent->takeChild(parent->indexOfChild(&item));
    if (m_WaitingItems.removeOne(&item))
        return &item;
    return m_View.takeTopLevelItem(m_View.indexOfTopLevelItem(&item));
}

bool QtTree::remove(const NodeRef& node)
{
    auto* target = dynamic_cast<QtNode*>(node.get());
    if (!target || target->m_Tree != this)
        return false;
    QTreeWidgetItem* item = target->m_Item;
    std::vector<QTreeWidgetItem*> subtree { item };
    for (std::size_t i = 0; i < subtree.size(); ++i) {
        for (int child = 0; child < subtree[i]->childCount(); ++child)
            subtree.push_back(subtree[i]->child(child));
    }
    for (QTreeWidgetItem* each : subtree)
        detach(*nodeOf(each));
    std::erase_if(m_Nodes, [](const std::shared_ptr<QtNode>& each) { return !each->exists(); });
    indexKeys();
    {
        const QSignalBlocker quiet(&m_View);
        const std::unique_ptr<QTreeWidgetItem> taken(take(*item));
    }
    renumber();
    select(m_Selected.get());
    return true;
}

void QtTree::clear()
{
    for (auto& node : m_Nodes) {
        node->m_Tree = nullptr;
        node->m_Item = nullptr;
    }
    m_NodesByKey.clear();
    m_Nodes.clear();
    m_Blocks.clear();
    m_Keys.clear();
    m_Selected.reset();
    m_ScrollPosition = 0;
    qDeleteAll(std::exchange(m_WaitingItems, {}));
    const QSignalBlocker quiet(&m_View);
    m_View.clear();
}

std::int32_t QtTree::count() const
{
    return static_cast<std::int32_t>(m_Nodes.size());
}

NodeRef QtTree::node(std::int32_t index) const
{
    if (index < 1 || index > count())
        return nullptr;
    return m_Nodes[static_cast<std::size_t>(index) - 1];
}

NodeRef QtTree::find(const std::u16string& key) const
{
    QtNode* found = findByKey(key);
    return found ? handleOf(*found) : nullptr;
}

const std::shared_ptr<QtNode>& QtTree::handleOf(const QtNode& node) const
{
    return m_Nodes[static_cast<std::size_t>(node.m_Index) - 1];
}

QtNode* QtTree::findByKey(std::u16string_view key) const
{
    const auto position = m_NodesByKey.find(
        key, [this](std::size_t each) -> std::u16string_view { return m_Nodes[each]->m_Key; });
    return position ? m_Nodes[*position].get() : nullptr;
}

// Positions move when nodes leave, so the index is filled again.
void QtTree::indexKeys()
{
    m_NodesByKey.clear();
    for (std::size_t position = 0; position < m_Nodes.size(); ++position)
        m_NodesByKey.insert(m_Nodes[position]->m_Key, position,
            [this](std::size_t each) -> std::u16string_view { return m_Nodes[each]->m_Key; });
}

void QtTree::setBackColor(std::uint32_t color)
{
    m_BackColor = color;
    QPalette palette = m_View.palette();
    palette.setColor(QPalette::Base, toQColor(color, QApplication::palette(&m_View)));
    m_View.setPalette(palette);
}

void QtTree::select(QtNode* node)
{
    attachWaitingItems();
    m_Selected = node ? handleOf(*node) : nullptr;
    const QSignalBlocker quiet(&m_View);
    m_View.setCurrentItem(node ? node->m_Item : nullptr);
    if (!node)
        m_View.clearSelection();
}

void QtTree::showExpanded(QtNode& node)
{
    // An item waiting to join the view is shown open when it joins.
    if (!node.m_Item->treeWidget())
        return;
    const QSignalBlocker quiet(&m_View);
    node.m_Item->setExpanded(node.m_Expanded);
}

template<typename Visit> void QtTree::forEachShownRow(Visit visit) const
{
    // Rows still to visit, the next on top. The top items waiting to join the view come after
    // those in it.
    std::vector<const QTreeWidgetItem*> rows(m_WaitingItems.crbegin(), m_WaitingItems.crend());
    for (int top = m_View.topLevelItemCount(); top-- > 0;)
        rows.push_back(m_View.topLevelItem(top));
    while (!rows.empty()) {
        const QtNode& node = *nodeOf(rows.back());
        rows.pop_back();
        if (!visit(node))
            return;
        if (node.m_Expanded) {
            for (int child = node.m_Item->childCount(); child-- > 0;)
                rows.push_back(node.m_Item->child(child));
        }
    }
}

std::int32_t QtTree::rowsPerPage() const
{
    return TreeRows::RowsPerPage(height(), host().twipsPerPixelY());
}

std::int32_t QtTree::shownRowCount() const
{
    return TreeRows::ShownRowCount([this](auto visit) { forEachShownRow(visit); });
}

std::int32_t QtTree::rowOf(const QtNode& target) const
{
    return TreeRows::RowOf([this](auto visit) { forEachShownRow(visit); }, target);
}

std::int32_t QtTree::clampedScroll(std::int32_t position) const
{
    // The first row is in every range, so no rows need counting for it.
    if (position <= 0)
        return 0;
    return TreeRows::ClampedScroll(position, shownRowCount(), rowsPerPage());
}

std::int32_t QtTree::scrollPosition() const
{
    // The range shrinks when branches close or the tree gets taller; the position follows it.
    m_ScrollPosition = clampedScroll(m_ScrollPosition);
    return m_ScrollPosition;
}

void QtTree::setScrollPosition(std::int32_t position)
{
    attachWaitingItems();
    m_ScrollPosition = clampedScroll(position);
    showScrollPosition();
}

void QtTree::showScrollPosition()
{
    m_ShowingScroll = true;
    m_View.verticalScrollBar()->setValue(scrollPosition());
    m_ShowingScroll = false;
}

void QtTree::scrollIntoView(const QtNode& node)
{
    attachWaitingItems();
    const std::int32_t row = rowOf(node);
    if (row < 0)
        return;
    m_ScrollPosition = TreeRows::ScrollShowingRow(row, scrollPosition(), shownRowCount(), rowsPerPage());
    showScrollPosition();
}

double QtTree::rowTop(const QtNode& node) const
{
    return (rowOf(node) - scrollPosition()) * QtTreeView::RowHeight * host().twipsPerPixelY();
}

NodeRef QtTree::hitTest(double, double y) const
{
    const QtNode* node = TreeRows::NodeInRow<QtNode>([this](auto visit) { forEachShownRow(visit); },
        TreeRows::RowAt(y, host().twipsPerPixelY(), scrollPosition()));
    return node ? NodeRef(handleOf(*node)) : nullptr;
}

std::u16string QtTree::placeholderText() const
{
    return fromQString(m_View.placeholderText());
}

void QtTree::setPlaceholderText(const std::u16string& text)
{
    m_View.setPlaceholderText(toQString(text));
}

QtNode* QtTree::operatorTarget(const std::u16string& key)
{
    if (!visible())
        return nullptr;
    attachWaitingItems();
    return findByKey(key);
}

void QtTree::pressed(QtNode* node, std::int16_t button, std::int16_t shift, double x, double y)
{
    const NodeRef handle = node ? NodeRef(handleOf(*node)) : nullptr;
    MouseDown(button, shift, x, y);
    if (button == 1 && handle && handle->exists()) {
        select(node);
        NodeClick(handle);
    }
    Click();
}

// The keyboard's right click: on the selected row, with a menu opening beside the row rather
// than wherever the mouse happens to be.
void QtTree::menuRequestedByKeyboard()
{
    if (!m_Selected)
        return;
    QtNode& node = *m_Selected;
    scrollIntoView(node);
    const QRect row = m_View.visualItemRect(node.m_Item);
    host().setKeyboardMenuPosition(
        m_View.viewport()->mapToGlobal(row.bottomLeft() + QPoint(row.height(), 0)));
    pressed(nullptr, 2, 0, 0, rowTop(node) + QtTreeView::RowHeight / 2.0 * host().twipsPerPixelY());
    host().setKeyboardMenuPosition(std::nullopt);
}

void QtTree::keyboardMovedTo(QtNode& node)
{
    const NodeRef handle = handleOf(node);
    select(&node);
    scrollIntoView(node);
    NodeClick(handle);
}

void QtTree::expandedByOperator(QtNode& node, bool expanded)
{
    if (node.m_Expanded == expanded)
        return;
    node.m_Expanded = expanded;
    const NodeRef handle = handleOf(node);
    if (expanded)
        Expand(handle);
    else
        Collapse(handle);
}

bool QtTree::operatorClick(const std::u16string& key)
{
    QtNode* node = operatorTarget(key);
    if (!node)
        return false;
    pressed(node, 1, 0, 0, rowTop(*node));
    return true;
}

bool QtTree::operatorRightClick(const std::u16string& key)
{
    QtNode* node = operatorTarget(key);
    if (!node)
        return false;
    pressed(nullptr, 2, 0, 0, rowTop(*node) + QtTreeView::RowHeight / 2.0 * host().twipsPerPixelY());
    return true;
}

bool QtTree::operatorDoubleClick(const std::u16string& key)
{
    if (!operatorClick(key))
        return false;
    DblClick();
    return true;
}

// The branch opens or closes on the widget as under the operator's hand; the widget's signal
// then raises the event.
bool QtTree::operatorExpand(const std::u16string& key)
{
    QtNode* node = operatorTarget(key);
    if (!node)
        return false;
    if (!node->m_Expanded)
        node->m_Item->setExpanded(true);
    return true;
}

bool QtTree::operatorCollapse(const std::u16string& key)
{
    QtNode* node = operatorTarget(key);
    if (!node)
        return false;
    if (node->m_Expanded)
        node->m_Item->setExpanded(false);
    return true;
}

bool QtTree::operatorMouseMove()
{
    if (!visible())
        return false;
    attachWaitingItems();
    QMouseEvent move(QEvent::MouseMove, QPointF(0, 0), m_View.viewport()->mapToGlobal(QPointF(0, 0)),
        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_View.viewport(), &move);
    return true;
}

bool QtTree::operatorScroll(std::int32_t position)
{
    if (!visible())
        return false;
    setScrollPosition(position);
    return true;
}

} // namespace vestrak
