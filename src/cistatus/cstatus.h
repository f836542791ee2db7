#pragma once

#include "../export.h"
#include "../ports/tree.h"
#include "../procs/text_arena.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace vestrak {

// The status of one object of the status tree: shared by the tree's record list, the host's
// query cursor and the selection, so it may outlive the node that showed it.
class VESTRAK_CONTROLS_EXPORT cStatus {
public:
    NodeRef m_Node;
    // Section and tag name are kept in the texts of the load that made the record.
    std::u16string_view m_Section;
    std::int32_t m_Status = 0;
    std::int32_t m_DesiredStatus = 0;
    bool m_StatusWasInherited = false;
    std::int32_t m_Behaviour = 0;
    std::u16string_view m_TagName;
    // Those texts, which live as long as any record of that load.
    std::shared_ptr<const TextArena> m_Texts;
};

} // namespace vestrak
