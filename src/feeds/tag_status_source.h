#pragma once

#include "../export.h"

#include <QString>
#include <cstdint>

namespace vestrak {

/// What a status tree asks of a feed: a tag's status now, 1 (unknown) when the feed has none. Asking
/// may tell the feed that the tag is in use.
class VESTRAK_FEEDS_EXPORT TagStatusSource {
public:
    /// The status of a tag the feed has no value for.
    static constexpr std::int32_t UnknownStatus = 1;

    /// The tag's status now; UnknownStatus when the feed has none.
    [[nodiscard]] virtual std::int32_t status(const QString& tag) = 0;

protected:
    ///@{
    /// Only the feeds that derive from it make, copy and end one.
    TagStatusSource() = default;
    ~TagStatusSource() = default;
    TagStatusSource(const TagStatusSource&) = default;
    TagStatusSource& operator=(const TagStatusSource&) = default;
    ///@}
};

} // namespace vestrak
