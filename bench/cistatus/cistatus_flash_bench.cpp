// A flash tick on 32,767 status records: a chain 32,767 deep against a tree 6 levels deep. The
// tick inherits statuses and sets icons; both must grow with the number of records only.
// Then loading 32,767 records from a generated plant's object file, with one branch in ten
// stored open in the SQLite store, against reading the same file; and loading the chain.

#include "cistatus/cistatus.h"
#include "headless/headless_surface.h"
#include "object_file/object_file.h"
#include "support/plant_platform.h"
#include "support/ratio_report.h"

#include <functional>
#include <optional>
#include <string>

using namespace vestrak;
using namespace vestrak::bench;

namespace {

constexpr int RecordCount = 32767;
constexpr int TreeDepth = 6;
constexpr int TreeBranching = 8;
// Leaves blink red and every branch above takes their value, so each tick changes every icon in
// both shapes alike.
const std::string BranchValue = "=2,,\r\n";
const std::string LeafValue = "=&H104,,\r\n";

// Each code starts with an item of the one before, so every line hangs below the previous one.
// Alternating two-item codes keep the lines short; codes A, AA, AAA, ... would make the
// object file half a gigabyte.
std::string ChainSection()
{
    std::string section;
    for (int i = 0; i < RecordCount; ++i) {
        section += (i % 2 ? "B,A" : "A,B") + (i + 1 < RecordCount ? BranchValue : LeafValue);
    }
    return section;
}

// Depth first, eight children per branch, until the records run out.
std::string ShallowTreeSection()
{
    std::string section;
    int written = 0;
    std::function<void(const std::string&, int)> addChildren = [&](const std::string& parentCode, int depth) {
        for (int child = 0; child < TreeBranching && written < RecordCount; ++child) {
            const std::string code = parentCode + static_cast<char>('A' + child);
            ++written;
            section += code + (depth == TreeDepth ? LeafValue : BranchValue);
            if (depth < TreeDepth) {
                addChildren(code, depth + 1);
            }
        }
    };
    while (written < RecordCount) {
        addChildren("", 1);
    }
    return section;
}

// A loaded control with its platform. Loading the chain takes seconds, so each shape is loaded
// once and kept for every run of its benchmark.
struct LoadedPlant {
    explicit LoadedPlant(const std::string& section)
    {
        files.contents[u"/plant/status.ini"] = "[TreeObjects]\r\n" + section;
        control.setBehaviour(CiStatus::BehaviourInheritStatus);
        control.setUpdateInterval(24 * 3600 * 1000);
        control.setObjectFile(u"/plant/status.ini");
    }

    [[nodiscard]] bool complete() const
    {
        return static_cast<Tree*>(surface.widget(u"TreeView_Status"))->count() == RecordCount;
    }

    testing::MemoryFiles files { testing::Stamps::Kept };
    testing::TestPlatform test { files };
    VirtualClock& clock = test.clock;
    HeadlessSurface surface { files, 4800, 3600 };
    CiStatus control { surface, test.platform };
};

void FlashTick(benchmark::State& state, LoadedPlant& plant)
{
    if (!plant.complete()) {
        state.SkipWithError("the object file did not load completely");
        return;
    }
    for (auto _ : state) {
        plant.clock.advance(500);
    }
    state.counters["records"] = RecordCount;
}

void BM_FlashTickOnChain(benchmark::State& state)
{
    static LoadedPlant chain(ChainSection());
    FlashTick(state, chain);
}
void BM_FlashTickOnShallowTree(benchmark::State& state)
{
    static LoadedPlant shallowTree(ShallowTreeSection());
    FlashTick(state, shallowTree);
}
BENCHMARK(BM_FlashTickOnChain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlashTickOnShallowTree)->Unit(benchmark::kMicrosecond);

// A status tree on a plant page: the object file on disk, the branches the operator opened in
// the SQLite store.
struct PlantStatusPage {
    explicit PlantStatusPage(const Plant& plant)
    {
        objectFile = platform.write("status.ini", CiStatusObjectFile(plant));
        StoreCiStatusOpenBranches(platform.settings(), plant);
    }

    PlantPlatform platform;
    std::u16string objectFile;
    HeadlessSurface surface { platform.files(), 4800, 9000 };
    CiStatus control { surface, platform.platform() };
};

void Load(benchmark::State& state, PlantStatusPage& page)
{
    for (auto _ : state) {
        page.control.setObjectFile(page.objectFile);
    }
    if (static_cast<Tree*>(page.surface.widget(u"TreeView_Status"))->count() != RecordCount) {
        state.SkipWithError("the object file did not load completely");
    }
}

void BM_ReadStatusSection(benchmark::State& state)
{
    static PlantStatusPage page(RealisticPlant(RecordCount));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadIniSection(u"TreeObjects", page.objectFile, page.platform.files()));
    }
}
void BM_LoadPlant(benchmark::State& state)
{
    static PlantStatusPage page(RealisticPlant(RecordCount));
    Load(state, page);
}
void BM_LoadChain(benchmark::State& state)
{
    static PlantStatusPage page(ChainPlant(RecordCount));
    Load(state, page);
}
BENCHMARK(BM_ReadStatusSection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPlant)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadChain)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithRatios(argc, argv,
        {
            { "flash tick, chain against 6 levels", "BM_FlashTickOnChain", "BM_FlashTickOnShallowTree", 1.5 },
            { "status load, 32,767 records", "BM_LoadPlant", "BM_ReadStatusSection", 0 },
            { "status load, chain against 6 levels", "BM_LoadChain/iterations:1", "BM_LoadPlant", 0 },
        });
}
