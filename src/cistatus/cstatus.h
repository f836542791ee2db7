#pragma once

#include "../export.h"
#include "../ports/tree.h"

#include <cstdint>
#include <string>

namespace vestrak {

// The status of one object of the status tree: shared by the tree's record list, the host's
// query cursor and the selection, so it may outlive the node that showed it.
class VESTRAK_CONTROLS_EXPORT cStatus {
public:
    NodeRef m_Node;
    std::u16string m_Section;
    std::int32_t m_Status = 0;
    std::int32_t m_DesiredStatus = 0;
    bool m_StatusWasInherited = false;
    std::int32_t m_Behaviour = 0;
    std::u16string m_TagName;
};

} // namespace vestrak
