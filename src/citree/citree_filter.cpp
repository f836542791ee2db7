#include "citree/citree_p.h"
#include "citree/settings_names.h"
#include "citree/tree_line.h"
#include "object_file/object_file.h"
#include "text/numeric.h"
#include "text/text.h"

#include <algorithm>

namespace vestrak {

namespace {

constexpr std::int32_t MaxFilterWords = 32;
constexpr std::int32_t HighestStructureImage = 3;
constexpr std::int16_t EnterKey = 13;
constexpr std::int32_t Pressed = 1;
constexpr std::int32_t NotPressed = 0;

std::int32_t StoredButtonState(const std::u16string& stored)
{
    return LeadingNumber(stored) != 0 ? Pressed : NotPressed;
}

// A quoted word must match the whole text, a word with "*" is a pattern of its own, and a plain
// word (with or without "?") may stand anywhere in the text.
std::u16string FilterPattern(const std::u16string& word)
{
    if (word.find(u'"') != std::u16string::npos) {
        std::u16string unquoted = word;
        std::erase(unquoted, u'"');
        return unquoted;
    }
    if (word.find(u'*') != std::u16string::npos) {
        return word;
    }
    return u"*" + word + u"*";
}

} // namespace

bool CiTreePrivate::MatchesUpperText(const FilterState& filter)
{
    return std::any_of(filter.patterns.begin(), filter.patterns.end(),
        [&filter](const WildcardPattern& pattern) { return pattern.matches(filter.upperText); });
}

ButtonRef CiTreePrivate::FilterButton() const
{
    return Toolbar_Filter.button(1);
}

void CiTreePrivate::PrepareFilter()
{
    const std::u16string allowed
        = TrimSpaces(ReadIniValue(u"General", u"AllowedFilterGroups", u"", m_ObjectFile, m_Platform.profile));
    Toolbar_SystemFilter.clearButtons();
    for (std::int32_t item = 0;; ++item) {
        const std::u16string group = TrimSpaces(GetField(allowed, item, u","));
        if (group.empty()) {
            break;
        }
        const double groupNumber = LeadingNumber(group);
        if (!(groupNumber > HighestStructureImage)) {
            continue;
        }
        const ButtonRef button
            = Toolbar_SystemFilter.addButton(u"K" + group, RoundToInt32(groupNumber).value_or(0));
        if (!button) {
            continue;
        }
        button->setToolTipText(
            ReadIniValue(u"FilterGroupNames", group, u"", m_ObjectFile, m_Platform.profile));
        button->setValue(StoredButtonState(Setting(PressedFilterButtonsSection, group, u"0")));
    }
    if (const ButtonRef filterButton = FilterButton()) {
        filterButton->setValue(
            StoredButtonState(Setting(PressedFilterButtonsSection, FilterButtonStateKey, u"0")));
    }
    Text_Filter.setText(Setting(PressedFilterButtonsSection, FilterTextKey, u""));
    ShowFilterRowWhenGroupsExist();
    UserControl_Resize();
    m_Surface.refresh();
}

CiTreePrivate::FilterState CiTreePrivate::TakeFilterState() const
{
    FilterState state;
    const ButtonRef filterButton = FilterButton();
    state.textOn = Text_Filter.visible() && filterButton && filterButton->value() == Pressed;
    if (state.textOn) {
        const std::u16string text = Text_Filter.text();
        for (std::int32_t index = 0; index < MaxFilterWords; ++index) {
            const std::u16string word = ToUpper(SpaceTrimmed(GetField(text, index, u",")));
            if (word.empty()) {
                break;
            }
            state.patterns.emplace_back(FilterPattern(word));
        }
    }
    state.groupOn = false;
    if (Toolbar_SystemFilter.visible()) {
        for (std::int32_t index = 1; index <= Toolbar_SystemFilter.buttonCount() && !state.groupOn; ++index) {
            const ButtonRef button = Toolbar_SystemFilter.button(index);
            state.groupOn = button && button->value() == Pressed;
        }
    }
    if (state.groupOn) {
        // A line's group button is the one keyed "K" and its image: read once for the build.
        for (std::int32_t index = 1; index <= Toolbar_SystemFilter.buttonCount(); ++index) {
            const ButtonRef button = Toolbar_SystemFilter.button(index);
            const std::u16string key = button ? button->key() : std::u16string();
            const auto image = key.starts_with(u'K')
                ? RoundToInt32(LeadingNumber(std::u16string_view(key).substr(1)))
                : std::nullopt;
            if (image && std::u16string_view(key).substr(1) == DecimalText(*image)
                && button->value() == NotPressed) {
                state.imagesOfUpGroups.insert(*image);
            }
        }
    }
    return state;
}

bool CiTreePrivate::KeepsLine(FilterState& filter, std::int32_t image, std::u16string_view text)
{
    if (filter.groupOn && filter.imagesOfUpGroups.contains(image)) {
        return false;
    }
    if (filter.patterns.empty()) {
        return true;
    }
    ToUpper(text, filter.upperText);
    return MatchesUpperText(filter);
}

bool CiTreePrivate::KeepsAsciiLine(const FilterState& filter, std::int32_t image, std::string_view text)
{
    if (filter.groupOn && filter.imagesOfUpGroups.contains(image)) {
        return false;
    }
    if (filter.patterns.empty()) {
        return true;
    }
    // Matched on its bytes, which are the units it decodes to, upper-cased as they are compared.
    return std::any_of(filter.patterns.begin(), filter.patterns.end(),
        [text](const WildcardPattern& pattern) { return pattern.matchesUpperCased(text); });
}

void CiTreePrivate::TidyUpGroupFilter()
{
    // From the last node up, so a structure node whose last child went is reached afterwards.
    for (std::int32_t index = TreeView_Objects.count(); index >= 1; --index) {
        const NodeRef node = TreeView_Objects.node(index);
        if (node && node->children() == 0 && node->image() <= HighestStructureImage) {
            TreeView_Objects.remove(node);
        }
    }
    for (std::int32_t index = 1; index <= TreeView_Objects.count(); ++index) {
        if (const NodeRef node = TreeView_Objects.node(index)) {
            node->setExpanded(true);
        }
    }
    // With every branch open, showing and selecting the last node leaves the tree as visiting
    // each node in turn would, at a single scroll instead of one per node.
    if (const NodeRef last = TreeView_Objects.node(TreeView_Objects.count())) {
        last->ensureVisible();
        last->setSelected(true);
    }
}

void CiTreePrivate::Text_Filter_KeyPress(std::int16_t& keyAscii)
{
    // Typing a filter is work in the control: it must not collapse under the operator's hands.
    m_CollapseCountdown = m_CollapseTime;
    if (keyAscii != EnterKey) {
        return;
    }
    // Pressing the button from code raises no click, so Enter stores the state and asks for the
    // rebuild itself, whether the button was pressed already or not.
    if (const ButtonRef filterButton = FilterButton()) {
        filterButton->setValue(Pressed);
        Toolbar_Filter_ButtonClick(filterButton);
    }
    keyAscii = 0;
    m_FocusFilterText = true;
}

void CiTreePrivate::Toolbar_Filter_ButtonClick(const ButtonRef& button)
{
    m_CollapseCountdown = m_CollapseTime;
    if (m_Building) {
        return;
    }
    m_FilterChanged = true;
    SaveSetting(PressedFilterButtonsSection, FilterButtonStateKey, DecimalText(button->value()));
    SaveSetting(PressedFilterButtonsSection, FilterTextKey, Text_Filter.text());
}

void CiTreePrivate::Toolbar_SystemFilter_ButtonClick(const ButtonRef& button)
{
    m_CollapseCountdown = m_CollapseTime;
    if (m_Building) {
        return;
    }
    m_FilterChanged = true;
    const std::u16string key = button->key();
    if (!key.empty()) {
        SaveSetting(PressedFilterButtonsSection, key.substr(1), DecimalText(button->value()));
    }
}

void CiTreePrivate::Timer_Filter_Timer()
{
    if (!m_FilterChanged) {
        return;
    }
    WriteMarker(u"Toolbar_ButtonClick A");
    const bool treeHadFocus = m_Surface.focusedWidget() == &TreeView_Objects;
    m_FilterRebuild = true;
    setStyle(m_Style);
    m_FilterRebuild = false;
    // The rebuild may have hidden the tree for a moment, which takes the keyboard from it.
    if (treeHadFocus && !m_Surface.focusedWidget()) {
        TreeView_Objects.setFocus();
    }
    m_FilterChanged = false;
    WriteMarker(u"Toolbar_ButtonClick B");
}

} // namespace vestrak
