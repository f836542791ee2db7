#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vestrak::bench {

// One object of a generated plant, in file order. Texts are UTF-8; a few hold letters beyond
// ASCII, as plant names written on site do.
struct PlantObject {
    std::string code;
    // The name after "/" in the object part; empty for objects without one.
    std::string extraInfo;
    std::int32_t image = 0;
    std::string text;
    // Position of the parent in the plant, -1 for a top object.
    std::int32_t parent = -1;
    bool hasChildren = false;
    // What a status tree shows for the object: the status value and the tag it is polled by.
    std::int32_t status = 0;
    std::string tagName;
};

using Plant = std::vector<PlantObject>;

// The plant sizes the benchmarks measure, in tree lines.
inline constexpr std::int32_t SmallPlantLines = 1000;
inline constexpr std::int32_t MediumPlantLines = 8000;
inline constexpr std::int32_t LargePlantLines = 32767;
inline constexpr std::int32_t DoubleLargePlantLines = 65534;

// Sites of six levels (site, area, unit, group, equipment, part) with about eight parts per
// equipment, as many sites as the count needs. Structure levels show images 1 to 3, equipment
// and parts the images 4 to 11 of the filter groups. The same count always gives the same plant.
Plant RealisticPlant(std::int32_t objectCount);

// Every object below the one before: a chain as deep as the count.
Plant ChainPlant(std::int32_t objectCount);

// The full path of an object: the texts from its top object down to it, joined by "\".
std::string FullPath(const Plant& plant, std::size_t position);

// The full paths of one object in ten, taken from the objects with children first (the branches
// an operator opens), then from the others, in file order.
std::vector<std::string> OpenBranchPaths(const Plant& plant);

} // namespace vestrak::bench
