// Reading the tree section of a 32,767-line object file, against its floor: reading the same
// bytes and counting their lines.

#include "linux_platform/local_file_system.h"
#include "object_file/object_file.h"
#include "support/plant_files.h"
#include "support/ratio_report.h"

#include <algorithm>

using namespace vestrak;
using namespace vestrak::bench;

namespace {

struct PlantFile {
    PlantFile()
        : path(folder.write("plant.ini", CiTreeObjectFile(RealisticPlant(LargePlantLines))))
    {
    }
    ScratchFolder folder;
    std::u16string path;
    LocalFileSystem files;
};

PlantFile& File()
{
    static PlantFile file;
    return file;
}

void BM_ReadBytesAndCountLines(benchmark::State& state)
{
    PlantFile& file = File();
    for (auto _ : state) {
        const std::optional<std::string> bytes = file.files.readFile(file.path);
        benchmark::DoNotOptimize(std::count(bytes->begin(), bytes->end(), '\n'));
    }
}

void BM_ReadIniSection(benchmark::State& state)
{
    PlantFile& file = File();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadIniSection(u"TreeObjects", file.path, file.files));
    }
}

BENCHMARK(BM_ReadBytesAndCountLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadIniSection)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithRatios(argc, argv,
        { { "object-file reading, 32,767 lines", "BM_ReadIniSection", "BM_ReadBytesAndCountLines", 4 } });
}
