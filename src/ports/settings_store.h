#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vestrak {

/// One stored value, as listed by SettingsStore::entries.
struct SettingsEntry {
    std::u16string section; ///< The section name.
    std::u16string key; ///< The key name.
    std::u16string value; ///< The stored value.

    /// Equal in section, key and value.
    bool operator==(const SettingsEntry&) const = default;
};

/// One stored value as a listing shows it: views into the listing, valid while any copy of the
/// listing lives.
struct SettingsEntryView {
    std::u16string_view section; ///< The section name.
    std::u16string_view key; ///< The key name.
    std::u16string_view value; ///< The stored value.

    /// Equal in section, key and value.
    bool operator==(const SettingsEntry& entry) const
    {
        return section == entry.section && key == entry.key && value == entry.value;
    }
};

/// The texts of a listing side by side, and per entry where its texts lie; SettingsEntries shares
/// it.
struct SettingsListing {
    /// Where an entry's key and value lie (the value right after the key), and its section.
    struct Place {
        std::size_t keyStart = 0; ///< Where the key starts in the texts.
        std::uint32_t keyLength = 0; ///< The key's length.
        std::uint32_t valueLength = 0; ///< The value's length.
        std::uint32_t section = 0; ///< The number of its section among the sections.
    };

    /// A piece of the texts.
    [[nodiscard]] std::u16string_view textAt(std::size_t start, std::size_t length) const
    {
        return std::u16string_view(texts).substr(start, length);
    }
    /// The entry at a position, from 0.
    [[nodiscard]] SettingsEntryView entry(std::size_t position) const
    {
        const Place& place = places[position];
        const Place& section = sections[place.section];
        return { textAt(section.keyStart, section.keyLength), textAt(place.keyStart, place.keyLength),
            textAt(place.keyStart + place.keyLength, place.valueLength) };
    }

    std::u16string texts; ///< Every section name, key and value, side by side.
    std::vector<Place> places; ///< Per entry, in order.
    std::vector<Place> sections; ///< Where each section name lies (as a key of no value).
};

/// The entries of one application as listed once: shared and never changed, so that a store may
/// keep the list it gave out, and a listing costs one copy of the entries however many hold it.
/// The texts lie side by side in one block, and a run of entries of one section names it once: a
/// plant's stored branches cost little more than their paths.
class SettingsEntries {
public:
    /// Puts a listing together entry by entry.
    class Builder {
    public:
        Builder();
        /// Adds an entry; a run of entries of one section keeps its name once.
        void add(std::u16string_view section, std::u16string_view key, std::u16string_view value);
        /// The listing, sorted by section, then key, by their UTF-16 code units.
        [[nodiscard]] SettingsEntries finish();

    private:
        std::shared_ptr<struct SettingsListing> m_Listing;
    };

    /// Walks the entries in order.
    class Iterator {
    public:
        using value_type = SettingsEntryView; ///< What it shows.
        using difference_type = std::ptrdiff_t; ///< The distance between two.

        /// Past no listing.
        Iterator() = default;
        /// At a position of a listing.
        Iterator(const SettingsListing* listing, std::size_t position)
            : m_Listing(listing)
            , m_Position(position)
        {
        }
        /// The entry it is at.
        [[nodiscard]] SettingsEntryView operator*() const;
        /// To the next entry.
        Iterator& operator++()
        {
            ++m_Position;
            return *this;
        }
        /// To the next entry, giving where it was.
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++m_Position;
            return before;
        }
        /// At the same position.
        bool operator==(const Iterator& other) const { return m_Position == other.m_Position; }

    private:
        const SettingsListing* m_Listing = nullptr;
        std::size_t m_Position = 0;
    };

    /// No entries.
    SettingsEntries() = default;
    /// These entries, sorted as a store lists them.
    explicit SettingsEntries(const std::vector<SettingsEntry>& entries);

    /// The entries in order; they never change.
    [[nodiscard]] Iterator begin() const { return { m_Listing.get(), 0 }; }
    /// After the last entry.
    [[nodiscard]] Iterator end() const { return { m_Listing.get(), size() }; }
    /// How many entries there are.
    [[nodiscard]] std::size_t size() const;
    /// True when there is no entry.
    [[nodiscard]] bool empty() const { return size() == 0; }
    /// The last entry; there must be one.
    [[nodiscard]] SettingsEntryView back() const { return *Iterator(m_Listing.get(), size() - 1); }
    /// The entries as values of their own.
    [[nodiscard]] std::vector<SettingsEntry> copies() const;
    /// Equal in every entry, in order.
    bool operator==(const std::vector<SettingsEntry>& other) const;

private:
    explicit SettingsEntries(std::shared_ptr<const SettingsListing> listing)
        : m_Listing(std::move(listing))
    {
    }

    std::shared_ptr<const SettingsListing> m_Listing;
};

inline SettingsEntries::Builder::Builder()
    : m_Listing(std::make_shared<SettingsListing>())
{
}

inline void SettingsEntries::Builder::add(
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

/// Orders two texts by their UTF-16 code units, as std::u16string_view does, passing over the
/// units they share four at a time: the keys of a plant's stored branches share most of their
/// paths with the key before.
inline int CompareCodeUnits(std::u16string_view left, std::u16string_view right)
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

inline SettingsEntries SettingsEntries::Builder::finish()
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

inline SettingsEntryView SettingsEntries::Iterator::operator*() const
{
    return m_Listing->entry(m_Position);
}

inline SettingsEntries::SettingsEntries(const std::vector<SettingsEntry>& entries)
{
    Builder builder;
    for (const SettingsEntry& entry : entries)
        builder.add(entry.section, entry.key, entry.value);
    *this = builder.finish();
}

inline std::size_t SettingsEntries::size() const
{
    return m_Listing ? m_Listing->places.size() : 0;
}

inline std::vector<SettingsEntry> SettingsEntries::copies() const
{
    std::vector<SettingsEntry> entries;
    entries.reserve(size());
    for (const SettingsEntryView entry : *this)
        entries.push_back(
            { std::u16string(entry.section), std::u16string(entry.key), std::u16string(entry.value) });
    return entries;
}

inline bool SettingsEntries::operator==(const std::vector<SettingsEntry>& other) const
{
    return std::ranges::equal(*this, other,
        [](const SettingsEntryView mine, const SettingsEntry& theirs) { return mine == theirs; });
}

/// Per-user string values addressed by application, section and key; names are compared exactly.
/// No operation throws: a store that cannot reach its data answers with the default and reports
/// false from the writing operations.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    /// The stored value, or the default when the application, section or key is missing.
    virtual std::u16string GetSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& defaultValue = {})
        = 0;
    /// Stores the value, replacing an earlier one; false when it could not be stored.
    virtual bool SaveSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& value)
        = 0;
    /// False when the key (or the section) was not there, or could not be removed.
    virtual bool DeleteSetting(
        const std::u16string& application, const std::u16string& section, const std::u16string& key)
        = 0;
    /// Removes a whole section; false when it was not there or could not be removed.
    virtual bool DeleteSetting(const std::u16string& application, const std::u16string& section) = 0;

    /// Every entry of one application, sorted by section, then key, by their UTF-16 code units.
    virtual SettingsEntries entries(const std::u16string& application) = 0;
};

} // namespace vestrak
