#include "plant_files.h"

#include "citree/settings_names.h"
#include "text/encoding.h"

#include <fstream>
#include <unistd.h>

namespace vestrak::bench {

namespace {

constexpr const char* LineEnd = "\r\n";
constexpr std::int32_t InformationEvery = 4;

std::string FilterGroupSections()
{
    return std::string("[General]\r\nAllowedFilterGroups=4,5,6,7,8,9,10,11\r\n\r\n[FilterGroupNames]\r\n")
        + "4=Pumps\r\n5=Valves\r\n6=Motors\r\n7=Tanks\r\n8=Flow meters\r\n9=Level switches\r\n"
        + "10=Heaters\r\n11=Fans\r\n\r\n";
}

std::string ObjectPart(const PlantObject& object)
{
    return object.extraInfo.empty() ? object.code : object.code + "/" + object.extraInfo;
}

// A comment above each site and area, as people who keep these files by hand write them.
void AppendComment(std::string& file, const PlantObject& object)
{
    if (object.image == 1 || object.image == 2) {
        file += LineEnd;
        file += "; " + object.text + LineEnd;
    }
}

std::string StatusText(std::int32_t status)
{
    static constexpr const char* HexDigits = "0123456789ABCDEF";
    if (status < 0x100) {
        return std::to_string(status);
    }
    std::string hex;
    for (std::uint32_t rest = static_cast<std::uint32_t>(status); rest != 0; rest /= 16) {
        hex.insert(hex.begin(), HexDigits[rest % 16]);
    }
    return "&H" + hex;
}

// For one equipment in four, a section named after its code with a few lines of text.
std::string InformationSections(const Plant& plant)
{
    std::string sections;
    std::int32_t equipment = 0;
    for (const PlantObject& object : plant) {
        if (!object.extraInfo.starts_with("EQ-") || ++equipment % InformationEvery != 0) {
            continue;
        }
        sections += LineEnd + ("[" + object.code + "]") + LineEnd;
        sections += "1=" + object.text + ", serial " + object.extraInfo + LineEnd;
        sections += "2=Inspected every six months; spare parts in store B" + std::string(LineEnd);
        sections += "3=Tag " + object.tagName + LineEnd;
    }
    return sections;
}

void StoreOpenBranches(SettingsStore& store, const std::u16string& application, const std::u16string& section,
    const Plant& plant)
{
    for (const std::string& path : OpenBranchPaths(plant)) {
        store.SaveSetting(application, section, FromUtf8(path), u"1");
    }
}

} // namespace

std::string CiTreeObjectFile(const Plant& plant)
{
    std::string file = FilterGroupSections() + "[TreeObjects]" + LineEnd;
    for (const PlantObject& object : plant) {
        AppendComment(file, object);
        file += ObjectPart(object) + "=" + std::to_string(object.image) + ", " + object.text + LineEnd;
    }
    return file + InformationSections(plant);
}

std::string CiStatusObjectFile(const Plant& plant)
{
    std::string file = "[TreeObjects]";
    file += LineEnd;
    for (const PlantObject& object : plant) {
        AppendComment(file, object);
        file += ObjectPart(object) + "=" + StatusText(object.status) + "," + object.tagName + ","
            + object.text + LineEnd;
    }
    return file + InformationSections(plant);
}

void StoreCiTreeOpenBranches(SettingsStore& store, const Plant& plant)
{
    StoreOpenBranches(store, SettingsApplication, OpenNodesSection, plant);
}

void StoreCiStatusOpenBranches(SettingsStore& store, const Plant& plant)
{
    StoreOpenBranches(store, u"CiStatus", u"ExpandedNodes", plant);
}

ScratchFolder::ScratchFolder()
{
    static int counter = 0;
    m_Path = std::filesystem::temp_directory_path()
        / ("vestrak-bench-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(m_Path);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

std::u16string ScratchFolder::write(const std::string& name, const std::string& bytes) const
{
    std::ofstream(m_Path / name, std::ios::binary) << bytes;
    return FromUtf8((m_Path / name).string());
}

} // namespace vestrak::bench
