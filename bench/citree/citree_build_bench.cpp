// A CiTree build on the in-memory widgets with the SQLite settings store and stored open
// branches, against reading the same object file; its growth from 32,767 to 65,534 lines; a
// filter rebuild against the unfiltered build; and opening every node.

#include "citree/citree.h"
#include "headless/headless_surface.h"
#include "object_file/object_file.h"
#include "support/plant_platform.h"
#include "support/ratio_report.h"

#include <map>

using namespace vestrak;
using namespace vestrak::bench;

namespace {

constexpr std::int32_t KeptOpenTree = StyleObjectTree | StyleShowObjects | StyleKeepOpenNodes;

// Thirty-two words of every kind: plain words found anywhere, patterns with "*" and "?", and a
// quoted text that must match whole.
constexpr const char16_t* FilterWords
    = u"pump 1,valve 2,*fault,motor 3 running,\"Fan 2\",level switch,heater 4,flow meter 5,tank 6,"
      u"schieber 1,lüfter,behälter 3,pressure,vibration,bearing,current,maintenance,position open,"
      u"local/remote,fan 7,pump 8 fault,valve 9,motor 10,tank 11,heater 12,flow*running,gebläse,"
      u"durchfluss,heizung 2,füll?tand,rückspül,pump 3";

// A tree control on a plant page whose operator opened one branch in ten, built once.
struct PlantPage {
    explicit PlantPage(std::int32_t lines)
    {
        const Plant plant = RealisticPlant(lines);
        objectFile = platform.write("plant.ini", CiTreeObjectFile(plant));
        StoreCiTreeOpenBranches(platform.settings(), plant);
    }

    void createControl()
    {
        control = std::make_unique<CiTree>(surface, platform.platform());
        control->setObjectFile(objectFile);
    }

    // The operator pressed the filter button with these words and two group buttons.
    void pressFilters()
    {
        SettingsStore& settings = platform.settings();
        const std::u16string application = u"VestrakControls.CiTree";
        settings.SaveSetting(application, u"PressedFilterButtons", u"FilterButton", u"1");
        settings.SaveSetting(application, u"PressedFilterButtons", u"FilterText", FilterWords);
        settings.SaveSetting(application, u"PressedFilterButtons", u"4", u"1");
        settings.SaveSetting(application, u"PressedFilterButtons", u"5", u"1");
    }

    [[nodiscard]] std::int32_t nodeCount() const
    {
        return static_cast<Tree*>(surface.widget(u"TreeView_Objects"))->count();
    }

    PlantPlatform platform;
    std::u16string objectFile;
    HeadlessSurface surface { platform.files(), 4800, 9000 };
    std::unique_ptr<CiTree> control;
};

PlantPage& Page(std::int32_t lines)
{
    static std::map<std::int32_t, std::unique_ptr<PlantPage>> pages;
    auto& page = pages[lines];
    if (!page) {
        page = std::make_unique<PlantPage>(lines);
        page->createControl();
    }
    return *page;
}

void BM_ReadIniSection(benchmark::State& state)
{
    PlantPage& page = Page(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadIniSection(u"TreeObjects", page.objectFile, page.platform.files()));
    }
}

void Build(benchmark::State& state, std::int32_t style)
{
    PlantPage& page = Page(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        page.control->setStyle(style);
    }
    if (page.nodeCount() != state.range(0)) {
        state.SkipWithError("the tree does not hold every line");
    }
}

void BM_TreeBuild(benchmark::State& state)
{
    Build(state, KeptOpenTree);
}

void BM_TreeBuildExpandAll(benchmark::State& state)
{
    Build(state, KeptOpenTree | StyleExpandAll);
}

// Enter in the filter box asks for a rebuild with the same words; the filter timer runs it.
void BM_FilterRebuild(benchmark::State& state)
{
    static PlantPage page(static_cast<std::int32_t>(state.range(0)));
    if (!page.control) {
        page.pressFilters();
        page.createControl();
        page.control->setStyle(KeptOpenTree);
    }
    auto& filterText = *static_cast<TextBox*>(page.surface.widget(u"Text_Filter"));
    for (auto _ : state) {
        filterText.operatorType(u"\r");
        page.platform.clock().advance(200);
    }
    state.counters["nodes"] = page.nodeCount();
}

BENCHMARK(BM_ReadIniSection)->Arg(LargePlantLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeBuild)
    ->MeasureProcessCPUTime()
    ->Arg(SmallPlantLines)
    ->Arg(MediumPlantLines)
    ->Arg(LargePlantLines)
    ->Arg(DoubleLargePlantLines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterRebuild)->Arg(LargePlantLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeBuildExpandAll)
    ->MeasureProcessCPUTime()
    ->Arg(MediumPlantLines)
    ->Arg(LargePlantLines)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithRatios(argc, argv,
        {
            { "headless build, 32,767 lines", "BM_TreeBuild/32767", "BM_ReadIniSection/32767", 5 },
            { "build of 65,534 lines against 32,767", "BM_TreeBuild/65534", "BM_TreeBuild/32767", 2.2 },
            { "filter rebuild, 32 words and 2 groups", "BM_FilterRebuild/32767", "BM_TreeBuild/32767", 2 },
            // Opening 32,767 nodes one by one with a step that grows with the tree would cost
            // far more than the build itself.
            { "build opening every node, 32,767 lines", "BM_TreeBuildExpandAll/32767", "BM_TreeBuild/32767",
                1.5 },
            // Both grow alike, by about 4.1 for a linear cost; a quadratic step would give 16.8.
            { "build, 32,767 against 8,000 lines", "BM_TreeBuild/32767", "BM_TreeBuild/8000", 0 },
            { "build opening every node, 32,767 against 8,000", "BM_TreeBuildExpandAll/32767",
                "BM_TreeBuildExpandAll/8000", 0 },
        });
}
