#include "headless/headless_tree.h"

#include "widgets/tree_rows.h"

#include <utility>

namespace vestrak {

HeadlessTree::HeadlessTree(std::u16string name, const Geometry& design, bool visible, WidgetHost& host,
    ImageList images, double twipsPerPixelY)
    : HeadlessWidget(std::move(name), design, visible, host)
    , m_TwipsPerPixelY(twipsPerPixelY)
    , m_Store(images, *this)
{
}

NodeRef HeadlessTree::add(const NodeRef& relative, NodeRelationship relationship, std::u16string_view key,
    std::u16string_view text, std::int32_t image)
{
    return m_Store.add(relative, relationship, key, text, image);
}

NodeRef HeadlessTree::addLent(const NodeRef& relative, NodeRelationship relationship,
    const std::shared_ptr<const LentNodeTexts>& texts, std::uint32_t reference, std::int32_t image)
{
    return m_Store.addLent(relative, relationship, texts, reference, image);
}

void HeadlessTree::clear()
{
    m_Store.clear();
    m_ScrollPosition = 0;
}

std::int32_t HeadlessTree::rowsPerPage() const
{
    return TreeRows::RowsPerPage(height(), m_TwipsPerPixelY);
}

std::int32_t HeadlessTree::clampedScroll(std::int32_t position) const
{
    // The first row is in every range, so no rows need counting for it.
    if (position <= 0)
        return 0;
    return TreeRows::ClampedScroll(position, m_Store.shownRowCount(), rowsPerPage());
}

std::int32_t HeadlessTree::scrollPosition() const
{
    // The range shrinks when branches close or the tree gets taller; the position follows it.
    m_ScrollPosition = clampedScroll(m_ScrollPosition);
    return m_ScrollPosition;
}

void HeadlessTree::setScrollPosition(std::int32_t position)
{
    m_ScrollPosition = clampedScroll(position);
}

void HeadlessTree::scrollIntoView(const StoredNode& node)
{
    const std::int32_t row = m_Store.rowOf(node);
    if (row >= 0)
        m_ScrollPosition
            = TreeRows::ScrollShowingRow(row, scrollPosition(), m_Store.shownRowCount(), rowsPerPage());
}

double HeadlessTree::rowTop(const StoredNode& node) const
{
    return (m_Store.rowOf(node) - scrollPosition()) * TreeRows::RowHeightPixels * m_TwipsPerPixelY;
}

NodeRef HeadlessTree::hitTest(double, double y) const
{
    const StoredNode* node = m_Store.nodeInRow(TreeRows::RowAt(y, m_TwipsPerPixelY, scrollPosition()));
    return node ? NodeRef(m_Store.handleOf(*node)) : nullptr;
}

StoredNode* HeadlessTree::operatorTarget(const std::u16string& key) const
{
    return visible() ? m_Store.findByKey(key) : nullptr;
}

bool HeadlessTree::operatorClick(const std::u16string& key)
{
    StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    const NodeRef handle = m_Store.handleOf(*node);
    MouseDown(1, 0, 0, rowTop(*node));
    m_Store.select(node);
    NodeClick(handle);
    Click();
    return true;
}

bool HeadlessTree::operatorRightClick(const std::u16string& key)
{
    StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    MouseDown(2, 0, 0, rowTop(*node));
    Click();
    return true;
}

bool HeadlessTree::operatorDoubleClick(const std::u16string& key)
{
    if (!operatorClick(key))
        return false;
    DblClick();
    return true;
}

bool HeadlessTree::operatorExpand(const std::u16string& key)
{
    StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    if (m_Store.setExpandedByOperator(*node, true))
        Expand(m_Store.handleOf(*node));
    return true;
}

bool HeadlessTree::operatorCollapse(const std::u16string& key)
{
    StoredNode* node = operatorTarget(key);
    if (!node)
        return false;
    if (m_Store.setExpandedByOperator(*node, false))
        Collapse(m_Store.handleOf(*node));
    return true;
}

bool HeadlessTree::operatorMouseMove()
{
    if (!visible())
        return false;
    MouseMove();
    return true;
}

bool HeadlessTree::operatorScroll(std::int32_t position)
{
    if (!visible())
        return false;
    Scroll();
    setScrollPosition(position);
    return true;
}

void HeadlessTree::selectedByKeyboard(StoredNode& node)
{
    m_Store.select(&node);
    scrollIntoView(node);
    NodeClick(m_Store.handleOf(node));
}

bool HeadlessTree::operatorKey(TreeKey key)
{
    if (!visible())
        return false;
    KeyDown();
    StoredNode* selected = m_Store.selected();
    if (key == TreeKey::Enter) {
        if (selected) {
            selectedByKeyboard(*selected);
            DblClick();
        }
        return true;
    }
    const std::int32_t row = selected ? m_Store.rowOf(*selected) : -1;
    const std::int32_t nextRow = row < 0 ? 0 : row + (key == TreeKey::Down ? 1 : -1);
    if (const StoredNode* next = m_Store.nodeInRow(nextRow); next && next != selected)
        selectedByKeyboard(*m_Store.nodeNumbered(NodeStore::numberOf(*next)));
    return true;
}

} // namespace vestrak
