#include "widgets/tree_state.h"

#include "widgets/tree_rows.h"

#include <utility>
#include <vector>

namespace vestrak {

namespace {

constexpr std::int16_t LeftButton = 1;
constexpr std::int16_t RightButton = 2;

} // namespace

TreeState::TreeState(
    std::u16string name, const Geometry& design, bool visible, WidgetHost& host, ImageList images)
    : WidgetState(std::move(name), design, visible, host)
    , m_Store(images, *this)
{
}

NodeRef TreeState::add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
    std::u16string_view text, std::int32_t image)
{
    NodeRef node = m_Store.add(relative, relationship, key, text, image);
    if (node)
        nodesChanged();
    return node;
}

NodeRef TreeState::addLent(const NodeRef& relative, NodeRelationship relationship,
    const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference, std::int32_t image)
{
    NodeRef node = m_Store.addLent(relative, relationship, texts, reference, image);
    if (node)
        nodesChanged();
    return node;
}

std::int32_t TreeState::addLentBelow(std::int32_t parentIndex,
    const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference, std::int32_t image)
{
    const std::int32_t index = m_Store.addLentBelow(parentIndex, texts, reference, image);
    if (index != 0)
        nodesChanged();
    return index;
}

bool TreeState::remove(const NodeRef& node)
{
    if (!m_Store.remove(node))
        return false;
    nodesChanged();
    return true;
}

void TreeState::clear()
{
    m_Store.clear();
    m_ScrollPosition = 0;
}

void TreeState::setBackColor(std::uint32_t color)
{
    m_BackColor = color;
    backColorChanged();
}

void TreeState::setPlaceholderText(const std::u16string& text)
{
    m_PlaceholderText = text;
    placeholderTextChanged();
}

std::int32_t TreeState::rowsPerPage() const
{
    return TreeRows::RowsPerPage(height(), widgetHost().twipsPerPixelY());
}

std::int32_t TreeState::clampedScroll(std::int32_t position) const
{
    // The first row is in every range, so no rows need counting for it.
    if (position <= 0)
        return 0;
    return TreeRows::ClampedScroll(position, m_Store.shownRowCount(), rowsPerPage());
}

std::int32_t TreeState::scrollPosition() const
{
    // The range shrinks when branches close or the tree gets taller; the position follows it.
    m_ScrollPosition = clampedScroll(m_ScrollPosition);
    return m_ScrollPosition;
}

void TreeState::setScrollPosition(std::int32_t position)
{
    rowsAboutToBeRead();
    m_ScrollPosition = clampedScroll(position);
    scrollPositionChanged();
}

void TreeState::scrollIntoView(const StoredNode& node)
{
    rowsAboutToBeRead();
    const std::int32_t row = m_Store.rowOf(node);
    if (row < 0)
        return;
    m_ScrollPosition
        = TreeRows::ScrollShowingRow(row, scrollPosition(), m_Store.shownRowCount(), rowsPerPage());
    scrollPositionChanged();
}

double TreeState::pressY(const StoredNode& node) const
{
    return (m_Store.rowOf(node) - scrollPosition() + 0.5) * TreeRows::RowHeightPixels
        * widgetHost().twipsPerPixelY();
}

NodeRef TreeState::hitTest(double, double y) const
{
    const StoredNode* node
        = m_Store.nodeInRow(TreeRows::RowAt(y, widgetHost().twipsPerPixelY(), scrollPosition()));
    return node ? NodeRef(m_Store.handleOf(*node)) : nullptr;
}

StoredNode* TreeState::operatorTarget(const std::u16string& key)
{
    if (!visible())
        return nullptr;
    rowsAboutToBeRead();
    return m_Store.findByKey(key);
}

void TreeState::pressed(StoredNode* node, std::int16_t button, std::int16_t shift, double x, double y)
{
    const NodeRef handle = node ? NodeRef(m_Store.handleOf(*node)) : nullptr;
    MouseDown(button, shift, x, y);
    // The mouse-down handler may have removed the node.
    if (button == LeftButton && handle && handle->exists()) {
        m_Store.select(node);
        NodeClick(handle);
    }
    Click();
}

void TreeState::rightPressedOn(const StoredNode& node)
{
    pressed(nullptr, RightButton, 0, 0, pressY(node));
}

void TreeState::keyboardMovedTo(StoredNode& node)
{
    m_Store.select(&node);
    scrollIntoView(node);
    NodeClick(m_Store.handleOf(node));
}

// Enter opens the row as a double click on it would: the row is chosen first, so that the double
// click names it even when a rebuild highlighted it from code.
void TreeState::activatedByKeyboard(StoredNode& node)
{
    keyboardMovedTo(node);
    DblClick();
}

// The branch shows opened or closed before the event tells of it, as under a toolkit's own tree.
void TreeState::branchSetByOperator(StoredNode& node, Branch branch)
{
    const bool open = branch == Branch::Open;
    if (!m_Store.setExpandedByOperator(node, open))
        return;
    rowsChangedByOperator();
    const NodeRef handle = m_Store.handleOf(node);
    if (open)
        Expand(handle);
    else
        Collapse(handle);
}

void TreeState::branchesBelowOpenedByOperator(const StoredNode& top)
{
    std::vector<NodeRef> opened;
    std::vector<const StoredNode*> below { &top };
    while (!below.empty()) {
        const StoredNode* node = below.back();
        below.pop_back();
        if (node->childCount() == 0)
            continue;
        StoredNode& branch = *m_Store.nodeNumbered(NodeStore::numberOf(*node));
        if (m_Store.setExpandedByOperator(branch, true))
            opened.push_back(m_Store.handleOf(branch));
        for (const StoredNode* child = node->firstChild(); child; child = child->nextSibling())
            below.push_back(child);
    }
    if (opened.empty())
        return;
    rowsChangedByOperator();
    for (const NodeRef& node : opened) {
        if (node->exists())
            Expand(node);
    }
}

void TreeState::scrolledByOperator(std::int32_t position)
{
    Scroll();
    m_ScrollPosition = clampedScroll(position);
}

bool TreeState::operatorClick(const std::u16string& key)
{
    StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    pressed(node, LeftButton, 0, 0, pressY(*node));
    return true;
}

bool TreeState::operatorRightClick(const std::u16string& key)
{
    const StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    rightPressedOn(*node);
    return true;
}

bool TreeState::operatorDoubleClick(const std::u16string& key)
{
    if (!operatorClick(key))
        return false;
    DblClick();
    return true;
}

bool TreeState::operatorSetsBranch(const std::u16string& key, Branch branch)
{
    StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    branchSetByOperator(*node, branch);
    return true;
}

bool TreeState::operatorExpand(const std::u16string& key)
{
    return operatorSetsBranch(key, Branch::Open);
}

bool TreeState::operatorCollapse(const std::u16string& key)
{
    return operatorSetsBranch(key, Branch::Close);
}

bool TreeState::operatorMouseMove()
{
    if (!visible())
        return false;
    rowsAboutToBeRead();
    playMouseMove();
    return true;
}

bool TreeState::operatorScroll(std::int32_t position)
{
    if (!visible())
        return false;
    Scroll();
    setScrollPosition(position);
    return true;
}

bool TreeState::operatorKey(TreeKey key)
{
    if (!visible())
        return false;
    rowsAboutToBeRead();
    playKey(key);
    return true;
}

void TreeState::playMouseMove()
{
    MouseMove();
}

// Up and Down walk the shown rows, from the first when none is selected; Enter acts on the
// selected row.
void TreeState::playKey(TreeKey key)
{
    KeyDown();
    StoredNode* selected = m_Store.selected();
    if (key == TreeKey::Enter) {
        if (selected)
            activatedByKeyboard(*selected);
        return;
    }
    const std::int32_t row = selected ? m_Store.rowOf(*selected) : -1;
    const std::int32_t nextRow = row < 0 ? 0 : row + (key == TreeKey::Down ? 1 : -1);
    if (const StoredNode* next = m_Store.nodeInRow(nextRow); next && next != selected)
        keyboardMovedTo(*m_Store.nodeNumbered(NodeStore::numberOf(*next)));
}

} // namespace vestrak
