#include "citree/citree_p.h"

namespace vestrak {

std::int32_t CiTreePrivate::GetScrollPosition() const
{
    return TreeView_Objects.scrollPosition();
}

void CiTreePrivate::SetScrollPosition(const std::int32_t& position)
{
    TreeView_Objects.setScrollPosition(position);
}

void CiTreePrivate::SetTreeBackColor(const std::uint32_t& color)
{
    for (std::int32_t index = 1; index <= TreeView_Objects.count(); ++index) {
        if (const NodeRef node = TreeView_Objects.node(index)) {
            node->setBackColor(color);
        }
    }
    TreeView_Objects.setBackColor(color);
}

} // namespace vestrak
