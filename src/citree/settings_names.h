#pragma once

namespace vestrak {

// Where a CiTree keeps its per-user state in the settings store.
inline constexpr const char16_t* SettingsApplication = u"VestrakControls.CiTree";
inline constexpr const char16_t* OpenNodesSection = u"OpenNodes";
inline constexpr const char16_t* SelectedSection = u"Selected";
inline constexpr const char16_t* SelectedNodeKey = u"NodeName";
inline constexpr const char16_t* SettingsSection = u"Settings";
inline constexpr const char16_t* ScrollPositionKey = u"ScrollPosition";
inline constexpr const char16_t* PressedFilterButtonsSection = u"PressedFilterButtons";
inline constexpr const char16_t* FilterButtonStateKey = u"FilterButton";
inline constexpr const char16_t* FilterTextKey = u"FilterText";

// The design-time button of the filter toolbar.
inline constexpr const char16_t* FilterButtonKey = u"Filter";

} // namespace vestrak
