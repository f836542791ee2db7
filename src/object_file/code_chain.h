#pragma once

#include "containers/prefix_list_index.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// The codes along which the parent search of an object file goes: the line added last, its
// parent, its parent's parent and so on, top first. A new line's parent is the nearest of them
// whose code, read as a prefix list, has an item the new code starts with. A long code is indexed
// as it joins the chain, so that a list of any length is read once however many lines below it
// ask it; short ones, nearly every code, are read as they stand, and one of ASCII characters
// without a comma, a single prefix, is compared unit by unit in place. Codes are UTF-16 or, for a
// reader that keeps the file's bytes, UTF-8. A code is added below the links linksKeptFor() gave
// for it, once the chain is cut to them.
template<typename Char> class BasicCodeChain {
public:
    using Code = std::basic_string_view<Char>;

    // How many links, from the top, stay when a line of that code is added: up to and including
    // its parent, none when nothing on the chain starts the code.
    [[nodiscard]] std::size_t linksKeptFor(Code code) const;
    // Keeps the first links only.
    void cutTo(std::size_t links);
    // The line added last, its code joining the chain below the links kept.
    void add(Code code);
    void clear();

    [[nodiscard]] std::size_t size() const { return m_Links.size(); }

private:
    [[nodiscard]] Code codeOf(std::size_t link) const;

    struct IndexedLink {
        std::size_t link = 0;
        PrefixListIndex index;
        // The code as the index reads it: a UTF-8 code decoded.
        std::u16string decoded;
    };

    struct Link {
        // Where its code starts in m_Codes: it ends where the next link's starts.
        std::size_t start = 0;
        // A single prefix of ASCII characters, which a new code is compared with in place.
        bool isAsciiItem = false;
        // Whether this link and every one above it is such a prefix.
        bool isAsciiItemFromTop = false;
    };

    // The codes one after the other.
    std::basic_string<Char> m_Codes;
    std::vector<Link> m_Links;
    // The links of long codes, top first.
    std::vector<IndexedLink> m_Indexed;
};

using CodeChain = BasicCodeChain<char16_t>;
using Utf8CodeChain = BasicCodeChain<char>;

} // namespace vestrak
