// make-plant KIND SHAPE LINES FILE [SETTINGS]: writes a generated object file.
//   KIND      citree (tree lines with filter groups) or cistatus (status lines)
//   SHAPE     plant (six levels) or chain (every line below the one before)
//   LINES     the number of object lines, 1 to 1,000,000
//   SETTINGS  a SQLite settings file that receives the open branches of one node in ten

#include "linux_platform/sqlite_settings_store.h"
#include "support/plant_files.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace vestrak;
using namespace vestrak::bench;

namespace {

constexpr std::int32_t MostLines = 1000000;

int Usage()
{
    std::fputs("usage: make-plant citree|cistatus plant|chain LINES FILE [SETTINGS]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 && argc != 6) {
        return Usage();
    }
    const std::string kind = argv[1];
    const std::string shape = argv[2];
    const std::int32_t lines = std::atoi(argv[3]);
    if ((kind != "citree" && kind != "cistatus") || (shape != "plant" && shape != "chain") || lines < 1
        || lines > MostLines) {
        return Usage();
    }
    const Plant plant = shape == "plant" ? RealisticPlant(lines) : ChainPlant(lines);
    std::ofstream file(argv[4], std::ios::binary);
    file << (kind == "citree" ? CiTreeObjectFile(plant) : CiStatusObjectFile(plant));
    if (!file.flush()) {
        std::fprintf(stderr, "make-plant: cannot write %s\n", argv[4]);
        return 1;
    }
    if (argc == 6) {
        SqliteSettingsStore store(argv[5]);
        if (kind == "citree") {
            StoreCiTreeOpenBranches(store, plant);
        } else {
            StoreCiStatusOpenBranches(store, plant);
        }
    }
    return 0;
}
