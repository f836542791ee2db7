// A CiTree build on the Qt widgets against its floor: a bare QTreeWidget filled in one pass with
// the same 32,767 items, texts, icons and open branches. Both are shown, and both counts include
// the event processing that lays the rows out and paints them. Then a build that opens every node,
// at two sizes, to show that opening grows with the node count only.

#include "citree/citree.h"
#include "page_host_qt/qt_application.h"
#include "qt/citree_widget.h"
#include "qt_widgets/qt_images.h"
#include "support/plant_platform.h"
#include "support/ratio_report.h"

#include <QApplication>
#include <QTreeWidget>
#include <map>
#include <unordered_set>

using namespace vestrak;
using namespace vestrak::bench;

namespace {

constexpr std::int32_t KeptOpenTree = StyleObjectTree | StyleShowObjects | StyleKeepOpenNodes;
constexpr int WidthPixels = 320;
constexpr int HeightPixels = 640;

struct QtPlantPage {
    explicit QtPlantPage(std::int32_t lines)
        : plant(RealisticPlant(lines))
    {
        objectFile = platform.write("plant.ini", CiTreeObjectFile(plant));
        StoreCiTreeOpenBranches(platform.settings(), plant);
        widget.resize(WidthPixels, HeightPixels);
        widget.setObjectFile(QString::fromStdU16String(objectFile));
        widget.show();
        QApplication::processEvents();
    }

    Plant plant;
    PlantPlatform platform;
    std::u16string objectFile;
    CiTreeWidget widget { platform.platform() };
};

// The pages live until main lets them go, before the Qt application ends.
std::map<std::int32_t, std::unique_ptr<QtPlantPage>>& Pages()
{
    static std::map<std::int32_t, std::unique_ptr<QtPlantPage>> pages;
    return pages;
}

QtPlantPage& Page(std::int32_t lines)
{
    auto& page = Pages()[lines];
    if (!page) {
        page = std::make_unique<QtPlantPage>(lines);
    }
    return *page;
}

void Build(benchmark::State& state, std::int32_t style)
{
    QtPlantPage& page = Page(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        page.widget.setStyle(style);
        QApplication::processEvents();
    }
}

void BM_QtTreeBuild(benchmark::State& state)
{
    Build(state, KeptOpenTree);
}

void BM_QtTreeBuildExpandAll(benchmark::State& state)
{
    Build(state, KeptOpenTree | StyleExpandAll);
}

// The same items straight into a shown QTreeWidget: texts, icons and the branches kept open.
void BM_BareQTreeWidget(benchmark::State& state)
{
    const QtPlantPage& page = Page(static_cast<std::int32_t>(state.range(0)));
    std::vector<QString> texts;
    std::unordered_set<std::string> openPaths;
    for (const std::string& path : OpenBranchPaths(page.plant)) {
        openPaths.insert(path);
    }
    std::vector<bool> open;
    for (std::size_t position = 0; position < page.plant.size(); ++position) {
        texts.push_back(QString::fromStdString(page.plant[position].text));
        open.push_back(openPaths.contains(FullPath(page.plant, position)));
    }
    QTreeWidget tree;
    tree.setHeaderHidden(true);
    tree.resize(WidthPixels, HeightPixels);
    tree.show();
    std::vector<QTreeWidgetItem*> items(page.plant.size());
    for (auto _ : state) {
        tree.clear();
        for (std::size_t position = 0; position < page.plant.size(); ++position) {
            const PlantObject& object = page.plant[position];
            auto* item = object.parent < 0
                ? new QTreeWidgetItem(&tree)
                : new QTreeWidgetItem(items[static_cast<std::size_t>(object.parent)]);
            item->setText(0, texts[position]);
            item->setIcon(0, imageListIcon(ImageList::SystemIcons, object.image));
            if (open[position]) {
                item->setExpanded(true);
            }
            items[position] = item;
        }
        QApplication::processEvents();
    }
}

BENCHMARK(BM_BareQTreeWidget)->Arg(LargePlantLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtTreeBuild)
    ->MeasureProcessCPUTime()
    ->Arg(MediumPlantLines)
    ->Arg(LargePlantLines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtTreeBuildExpandAll)
    ->MeasureProcessCPUTime()
    ->Arg(MediumPlantLines)
    ->Arg(LargePlantLines)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const auto application = startQtApplication(argc, argv);
    const int result = RunBenchmarksWithRatios(argc, argv,
        {
            { "Qt build, 32,767 lines", "BM_QtTreeBuild/32767", "BM_BareQTreeWidget/32767", 1.5 },
            // Opening every node lays out and paints every row: it may cost a second build, but a
            // step that grows with the tree would cost far more.
            { "Qt build opening every node, 32,767 lines", "BM_QtTreeBuildExpandAll/32767",
                "BM_QtTreeBuild/32767", 2.5 },
            // Both grow alike, by about 4.1 for a linear cost; a quadratic step would give 16.8.
            { "Qt build, 32,767 against 8,000 lines", "BM_QtTreeBuild/32767", "BM_QtTreeBuild/8000", 0 },
            { "Qt build opening every node, 32,767 against 8,000", "BM_QtTreeBuildExpandAll/32767",
                "BM_QtTreeBuildExpandAll/8000", 0 },
        });
    Pages().clear();
    return result;
}
