#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// The row metrics every widget set shares, so that scroll positions saved on one come out the
// same on another: rows of 18 pixels, and a scroll range that ends where the last row reaches
// the bottom.
namespace vestrak::TreeRows {

inline constexpr double RowHeightPixels = 18;

inline std::int32_t RowsPerPage(double heightTwips, double twipsPerPixelY)
{
    return static_cast<std::int32_t>(std::floor(heightTwips / twipsPerPixelY / RowHeightPixels));
}

// The row, from 0 among the shown rows, under a point y twips below the tree's top; rows above
// the first are negative.
inline std::int32_t RowAt(double yTwips, double twipsPerPixelY, std::int32_t scrollPosition)
{
    return static_cast<std::int32_t>(std::floor(yTwips / twipsPerPixelY / RowHeightPixels)) + scrollPosition;
}

inline std::int32_t ClampedScroll(std::int32_t position, std::int32_t shownRows, std::int32_t rowsPerPage)
{
    return std::clamp(position, 0, std::max(0, shownRows - std::max(0, rowsPerPage)));
}

// The least scrolling that brings a row into view.
inline std::int32_t ScrollShowingRow(
    std::int32_t row, std::int32_t current, std::int32_t shownRows, std::int32_t rowsPerPage)
{
    const std::int32_t page = std::max(1, rowsPerPage);
    if (row < current)
        return row;
    if (row >= current + page)
        return ClampedScroll(row - page + 1, shownRows, rowsPerPage);
    return current;
}

} // namespace vestrak::TreeRows
