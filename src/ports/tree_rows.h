#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// The row metrics every widget set shares, so that scroll positions saved on one come out the
// same on another: rows of 18 pixels, and a scroll range that ends where the last row reaches
// the bottom. forEachShownRow(visit) calls visit(node) for each row that open branches let be
// seen, top to bottom, until visit returns false.
namespace vestrak::TreeRows {

inline constexpr double RowHeightPixels = 18;

inline std::int32_t RowsPerPage(double heightTwips, double twipsPerPixelY)
{
    return static_cast<std::int32_t>(std::floor(heightTwips / twipsPerPixelY / RowHeightPixels));
}

template<typename ForEachShownRow> std::int32_t ShownRowCount(ForEachShownRow forEachShownRow)
{
    std::int32_t rows = 0;
    forEachShownRow([&rows](const auto&) {
        ++rows;
        return true;
    });
    return rows;
}

// The row of a node among the shown rows, from 0; -1 when a closed branch hides it.
template<typename Node, typename ForEachShownRow>
std::int32_t RowOf(ForEachShownRow forEachShownRow, const Node& target)
{
    std::int32_t row = 0;
    std::int32_t found = -1;
    forEachShownRow([&](const Node& node) {
        if (&node == &target) {
            found = row;
            return false;
        }
        ++row;
        return true;
    });
    return found;
}

// The node shown in a row, from 0 among the shown rows; null past the last row.
template<typename Node, typename ForEachShownRow>
const Node* NodeInRow(ForEachShownRow forEachShownRow, std::int32_t wantedRow)
{
    const Node* found = nullptr;
    std::int32_t row = 0;
    forEachShownRow([&](const Node& node) {
        if (row++ == wantedRow) {
            found = &node;
            return false;
        }
        return true;
    });
    return found;
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
