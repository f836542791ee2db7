#include "containers/settings_entries.h"

#include <algorithm>
#include <cstring>

namespace vestrak {

namespace {

// Orders two texts by their UTF-16 code units, as std::u16string_view does, passing over the
// units they share four at a time: the keys of a plant's stored branches share most of their
// paths with the key before.
int CompareCodeUnits(std::u16string_view left, std::u16string_view right)
{
    constexpr std::size_t UnitsAtOnce = 4;
    const std::size_t common = std::min(left.size(), right.size());
    std::size_t index = 0;
    while (index + UnitsAtOnce <= common
        && std::memcmp(left.data() + index, right.data() + index, UnitsAtOnce * sizeof(char16_t)) == 0) {
        index += UnitsAtOnce;
    }
    for (; index < common; ++index) {
        if (left[index] != right[index]) {
            return left[index] < right[index] ? -1 : 1;
        }
    }
    return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
}

} // namespace

SettingsEntries::Builder::Builder()
    : m_Listing(std::make_shared<SettingsListing>())
{
}

void SettingsEntries::Builder::add(
    std::u16string_view section, std::u16string_view key, std::u16string_view value)
{
    SettingsListing& listing = *m_Listing;
    if (listing.sections.empty() || listing.entry(listing.places.size() - 1).section != section) {
        listing.sections.push_back(
            { listing.texts.size(), static_cast<std::uint32_t>(section.size()), 0, 0 });
        listing.texts.append(section);
    }
    listing.places.push_back({ listing.texts.size(), static_cast<std::uint32_t>(key.size()),
        static_cast<std::uint32_t>(value.size()), static_cast<std::uint32_t>(listing.sections.size() - 1) });
    listing.texts.append(key).append(value);
}

SettingsEntries SettingsEntries::Builder::finish()
{
    SettingsListing& listing = *m_Listing;
    const auto before = [&listing](const SettingsListing::Place& left, const SettingsListing::Place& right) {
        // A run of entries of one section shares its name's place.
        if (left.section != right.section) {
            const SettingsListing::Place& leftSection = listing.sections[left.section];
            const SettingsListing::Place& rightSection = listing.sections[right.section];
            const int sections = CompareCodeUnits(listing.textAt(leftSection.keyStart, leftSection.keyLength),
                listing.textAt(rightSection.keyStart, rightSection.keyLength));
            if (sections != 0) {
                return sections < 0;
            }
        }
        return CompareCodeUnits(listing.textAt(left.keyStart, left.keyLength),
                   listing.textAt(right.keyStart, right.keyLength))
            < 0;
    };
    // Stores mostly list in order already, and a check costs less than a sort.
    if (!std::ranges::is_sorted(listing.places, before))
        std::ranges::stable_sort(listing.places, before);
    listing.texts.shrink_to_fit();
    listing.places.shrink_to_fit();
    return SettingsEntries(std::exchange(m_Listing, std::make_shared<SettingsListing>()));
}

SettingsEntryView SettingsEntries::Iterator::operator*() const
{
    return m_Listing->entry(m_Position);
}

SettingsEntries::SettingsEntries(const std::vector<SettingsEntry>& entries)
{
    Builder builder;
    for (const SettingsEntry& entry : entries)
        builder.add(entry.section, entry.key, entry.value);
    *this = builder.finish();
}

std::size_t SettingsEntries::size() const
{
    return m_Listing ? m_Listing->places.size() : 0;
}

std::vector<SettingsEntry> SettingsEntries::copies() const
{
    std::vector<SettingsEntry> entries;
    entries.reserve(size());
    for (const SettingsEntryView entry : *this)
        entries.push_back(
            { std::u16string(entry.section), std::u16string(entry.key), std::u16string(entry.value) });
    return entries;
}

bool SettingsEntries::operator==(const std::vector<SettingsEntry>& other) const
{
    return std::ranges::equal(*this, other,
        [](const SettingsEntryView& mine, const SettingsEntry& theirs) { return mine == theirs; });
}

} // namespace vestrak
