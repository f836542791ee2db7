#pragma once

#include "../export.h"
#include "../ports/tree.h"

#include <cstdint>
#include <string_view>

namespace vestrak {

/// The status of one object of the status tree: shared by the tree's record list, the host's
/// query cursor and the selection, so it may outlive the node that showed it.
class VESTRAK_CONTROLS_EXPORT cStatus {
public:
    /// The node that shows the object.
    NodeRef m_Node;
    /// The first comma item of the object's code: its information section and picture name. Kept
    /// as long as the record.
    std::u16string_view m_Section;
    /// The tag whose status the host reports for the object; empty: never asked for. Kept as
    /// long as the record.
    std::u16string_view m_TagName;
    /// The status value: first from the object line, then as the host reports it.
    std::int32_t m_Status = 0;
    /// The status to show, after inheritance.
    std::int32_t m_DesiredStatus = 0;
    /// Kept with the record; the control neither sets nor reads it.
    std::int32_t m_Behaviour = 0;
    /// True when m_DesiredStatus came from a descendant.
    bool m_StatusWasInherited = false;
};

} // namespace vestrak
