#pragma once

#include "../export.h"

#include <QString>
#include <cstdint>

namespace vestrak {

// What a status tree asks of a feed: a tag's status now, 1 (unknown) when the feed has none. Asking
// may tell the feed that the tag is in use.
class VESTRAK_FEEDS_EXPORT TagStatusSource {
public:
    static constexpr std::int32_t UnknownStatus = 1;

    [[nodiscard]] virtual std::int32_t status(const QString& tag) = 0;

protected:
    TagStatusSource() = default;
    ~TagStatusSource() = default;
    TagStatusSource(const TagStatusSource&) = default;
    TagStatusSource& operator=(const TagStatusSource&) = default;
};

} // namespace vestrak
