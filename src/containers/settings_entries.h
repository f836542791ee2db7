#pragma once

#include <cstddef>
#include <cstdint>
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

} // namespace vestrak
