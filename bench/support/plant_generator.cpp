#include "plant_generator.h"

#include <array>
#include <string_view>

namespace vestrak::bench {

namespace {

constexpr std::int32_t StructureImageSite = 1;
constexpr std::int32_t StructureImageArea = 2;
constexpr std::int32_t StructureImageUnit = 3;
constexpr std::int32_t FirstGroupImage = 4;
constexpr std::int32_t GroupCount = 8;
constexpr std::int32_t DeepestLevel = 6;
constexpr std::int32_t OneInTen = 10;

// A fixed linear congruential sequence: the same plant on every machine and every run.
class Sequence {
public:
    std::uint32_t next()
    {
        m_State = m_State * 1664525U + 1013904223U;
        return m_State >> 8;
    }
    std::int32_t between(std::int32_t lowest, std::int32_t highest)
    {
        return lowest + static_cast<std::int32_t>(next() % static_cast<std::uint32_t>(highest - lowest + 1));
    }

private:
    std::uint32_t m_State = 20240611U;
};

constexpr std::array<std::string_view, 8> SiteNames
    = { "Waterworks North", "Waterworks South", "Riverside plant", "Hillside plant", "Lakeside works",
          "Harbour pumping", "Valley treatment", "Ridge reservoir" };
constexpr std::array<std::string_view, 8> AreaNames = { "Intake", "Pre-treatment", "Filtration",
    "Disinfection", "Storage", "Distribution", "Sludge treatment", "Chemical dosing" };
constexpr std::array<std::string_view, 4> UnitNames = { "Line", "Basin", "Train", "Stage" };
constexpr std::array<std::string_view, 6> GroupNames
    = { "Pump station", "Valve group", "Dosing skid", "Blower room", "Tank farm", "Filter bank" };
// One pair per filter group 4 to 11: the English name and the one written on site.
constexpr std::array<std::array<std::string_view, 2>, GroupCount> EquipmentNames = { {
    { "Pump", "Rückspülpumpe" },
    { "Valve", "Schieber" },
    { "Motor", "Gebläsemotor" },
    { "Tank", "Behälter" },
    { "Flow meter", "Durchflussmesser" },
    { "Level switch", "Füllstandschalter" },
    { "Heater", "Heizung" },
    { "Fan", "Lüfter" },
} };
constexpr std::array<std::string_view, 10> PartNames = { "running", "fault", "local/remote", "position open",
    "position closed", "bearing temperature", "vibration", "pressure", "current", "maintenance due" };

std::string TwoDigits(std::int32_t number)
{
    return { static_cast<char>('0' + number / 10 % 10), static_cast<char>('0' + number % 10) };
}

// How many children an object of a level gets: about six below the structure levels, about eight
// parts per equipment.
std::int32_t ChildCount(Sequence& sequence, std::int32_t level)
{
    switch (level) {
    case 1:
    case 2:
    case 3:
        return sequence.between(4, 8);
    case 4:
        return sequence.between(6, 10);
    case 5:
        return sequence.between(4, 12);
    default:
        return 0;
    }
}

// Most objects run normally; some warn, a few are in alarm and blink, some green ones show a
// sub-state.
std::int32_t StatusValue(Sequence& sequence)
{
    const std::uint32_t roll = sequence.next() % 1000;
    if (roll < 3) {
        return 0x104;
    }
    if (roll < 10) {
        return 4;
    }
    if (roll < 30) {
        return 3;
    }
    if (roll < 35) {
        return 1;
    }
    if (roll < 60) {
        return 0x1002;
    }
    return 2;
}

class RealisticPlantWriter {
public:
    explicit RealisticPlantWriter(std::int32_t objectCount)
        : m_Wanted(objectCount)
    {
        m_Plant.reserve(static_cast<std::size_t>(objectCount));
    }

    Plant take()
    {
        for (std::int32_t site = 1; full() == false; ++site) {
            std::string code = TwoDigits(site);
            code.insert(code.begin(), 'W');
            addObject(-1, 1, site, code);
        }
        return std::move(m_Plant);
    }

private:
    [[nodiscard]] bool full() const { return static_cast<std::int32_t>(m_Plant.size()) >= m_Wanted; }

    void addObject(std::int32_t parent, std::int32_t level, std::int32_t number, const std::string& code)
    {
        PlantObject object;
        object.code = code;
        object.parent = parent;
        describe(object, level, number, parent);
        if (parent >= 0) {
            m_Plant[static_cast<std::size_t>(parent)].hasChildren = true;
        }
        const auto position = static_cast<std::int32_t>(m_Plant.size());
        m_Plant.push_back(std::move(object));
        const std::int32_t children = ChildCount(m_Sequence, level);
        for (std::int32_t child = 1; child <= children && !full(); ++child) {
            addObject(position, level + 1, child, code + TwoDigits(child));
        }
    }

    void describe(PlantObject& object, std::int32_t level, std::int32_t number, std::int32_t parent)
    {
        const std::string numberText = std::to_string(number);
        switch (level) {
        case 1:
            object.image = StructureImageSite;
            object.text = std::string(SiteNames[static_cast<std::size_t>(number - 1) % SiteNames.size()])
                + " " + numberText;
            break;
        case 2:
            object.image = StructureImageArea;
            object.text = AreaNames[m_Sequence.next() % AreaNames.size()];
            object.extraInfo = "A" + object.code.substr(1);
            break;
        case 3:
            object.image = StructureImageUnit;
            object.text = std::string(UnitNames[m_Sequence.next() % UnitNames.size()]) + " " + numberText;
            break;
        case 4:
            object.image = StructureImageUnit;
            object.text = std::string(GroupNames[m_Sequence.next() % GroupNames.size()]) + " " + numberText;
            break;
        case 5: {
            const std::uint32_t kind = m_Sequence.next() % GroupCount;
            object.image = FirstGroupImage + static_cast<std::int32_t>(kind);
            object.text
                = std::string(EquipmentNames[kind][m_Sequence.next() % 4 == 0 ? 1 : 0]) + " " + numberText;
            object.extraInfo = "EQ-" + object.code.substr(1);
            object.tagName = "T" + object.code;
            break;
        }
        default:
            object.image = FirstGroupImage + static_cast<std::int32_t>(m_Sequence.next() % GroupCount);
            object.text = m_Plant[static_cast<std::size_t>(parent)].text + " "
                + std::string(PartNames[m_Sequence.next() % PartNames.size()]);
            object.extraInfo = "IO-" + object.code.substr(1);
            object.tagName = "T" + object.code;
            break;
        }
        object.status = level < DeepestLevel - 1 ? 2 : StatusValue(m_Sequence);
    }

    std::int32_t m_Wanted;
    Plant m_Plant;
    Sequence m_Sequence;
};

} // namespace

Plant RealisticPlant(std::int32_t objectCount)
{
    return RealisticPlantWriter(objectCount).take();
}

Plant ChainPlant(std::int32_t objectCount)
{
    Plant plant(static_cast<std::size_t>(objectCount));
    for (std::int32_t position = 0; position < objectCount; ++position) {
        PlantObject& object = plant[static_cast<std::size_t>(position)];
        // Each code starts with an item of the one before; codes A, AA, AAA... would make the
        // file grow with the square of its length.
        object.code = position % 2 == 0 ? "A,B" : "B,A";
        object.parent = position - 1;
        object.hasChildren = position + 1 < objectCount;
        object.image = object.hasChildren ? StructureImageSite : FirstGroupImage;
        object.text.push_back('n');
        object.status = object.hasChildren ? 2 : 0x104;
    }
    return plant;
}

std::string FullPath(const Plant& plant, std::size_t position)
{
    std::vector<const std::string*> texts;
    for (auto at = static_cast<std::int32_t>(position); at >= 0;
         at = plant[static_cast<std::size_t>(at)].parent) {
        texts.push_back(&plant[static_cast<std::size_t>(at)].text);
    }
    std::string path;
    for (auto text = texts.rbegin(); text != texts.rend(); ++text) {
        if (!path.empty() || text != texts.rbegin()) {
            path += '\\';
        }
        path += **text;
    }
    return path;
}

std::vector<std::string> OpenBranchPaths(const Plant& plant)
{
    const std::size_t wanted = plant.size() / OneInTen;
    std::vector<std::string> open;
    open.reserve(wanted);
    for (const bool branches : { true, false }) {
        for (std::size_t position = 0; position < plant.size() && open.size() < wanted; ++position) {
            if (plant[position].hasChildren == branches) {
                open.push_back(FullPath(plant, position));
            }
        }
    }
    return open;
}

} // namespace vestrak::bench
