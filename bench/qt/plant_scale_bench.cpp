// Plants of 100,000 and 1,000,000 lines, one branch in ten stored open: a CiTree build on the
// in-memory widgets against reading and splitting its file; the same build on the Qt widgets up
// to the first paint against the in-memory one; opening every node on Qt against the build; the
// growth from 100,000 to 1,000,000 lines; a CiStatus load against reading its file; and one
// flash tick of 1,000,000 records on Qt with 40 rows shown, painted; and an operator opening a
// branch of the Qt tree of 1,000,000 lines.

#include "cistatus/cistatus.h"
#include "citree/citree.h"
#include "headless/headless_surface.h"
#include "object_file/object_file.h"
#include "page_host_qt/qt_application.h"
#include "qt/cistatus_widget.h"
#include "qt/citree_widget.h"
#include "qt_widgets/qt_surface.h"
#include "support/plant_platform.h"
#include "support/ratio_report.h"

#include <QApplication>
#include <QTreeView>
#include <map>

using namespace vestrak;
using namespace vestrak::bench;

namespace {

constexpr std::int32_t KeptOpenTree = StyleObjectTree | StyleShowObjects | StyleKeepOpenNodes;
constexpr std::int32_t HundredThousand = 100000;
constexpr std::int32_t Million = 1000000;
constexpr int ShownRows = 40;

// Both object files of a plant and the branches its operator opened; each control is made when
// a benchmark first needs it, so that a run of one benchmark holds only what it measures.
struct ScalePage {
    explicit ScalePage(std::int32_t lines)
    {
        const Plant plant = RealisticPlant(lines);
        treeFile = platform.write("plant.ini", CiTreeObjectFile(plant));
        statusFile = platform.write("status.ini", CiStatusObjectFile(plant));
        StoreCiTreeOpenBranches(platform.settings(), plant);
        StoreCiStatusOpenBranches(platform.settings(), plant);
    }

    CiTree& headlessTree()
    {
        if (!headlessTreeControl) {
            headlessTreeControl = std::make_unique<CiTree>(headlessTreeSurface, platform.platform());
            headlessTreeControl->setObjectFile(treeFile);
        }
        return *headlessTreeControl;
    }

    CiTreeWidget& qtTree()
    {
        if (!qtTreeWidget) {
            qtTreeWidget = std::make_unique<CiTreeWidget>(platform.platform());
            qtTreeWidget->resize(320, ShownRows * 18);
            qtTreeWidget->setObjectFile(QString::fromStdU16String(treeFile));
            qtTreeWidget->show();
            QApplication::processEvents();
        }
        return *qtTreeWidget;
    }

    CiStatusWidget& qtStatus()
    {
        if (!qtStatusWidget) {
            qtStatusWidget = std::make_unique<CiStatusWidget>(platform.platform());
            qtStatusWidget->resize(400, ShownRows * 18);
            qtStatusWidget->setBehaviour(CiStatus::BehaviourInheritStatus);
            qtStatusWidget->setUpdateInterval(24 * 3600 * 1000);
            qtStatusWidget->setObjectFile(QString::fromStdU16String(statusFile));
            qtStatusWidget->show();
            QApplication::processEvents();
        }
        return *qtStatusWidget;
    }

    PlantPlatform platform;
    std::u16string treeFile;
    std::u16string statusFile;
    HeadlessSurface headlessTreeSurface { platform.files(), 4800, ShownRows * 18 * 15 };
    std::unique_ptr<CiTree> headlessTreeControl;
    HeadlessSurface headlessStatusSurface { platform.files(), 6000, ShownRows * 18 * 15 };
    std::unique_ptr<CiStatus> headlessStatusControl;
    std::unique_ptr<CiTreeWidget> qtTreeWidget;
    std::unique_ptr<CiStatusWidget> qtStatusWidget;
};

// The pages live until main lets them go, before the Qt application ends.
std::map<std::int32_t, std::unique_ptr<ScalePage>>& Pages()
{
    static std::map<std::int32_t, std::unique_ptr<ScalePage>> pages;
    return pages;
}

ScalePage& Page(const benchmark::State& state)
{
    auto& page = Pages()[static_cast<std::int32_t>(state.range(0))];
    if (!page) {
        page = std::make_unique<ScalePage>(static_cast<std::int32_t>(state.range(0)));
    }
    return *page;
}

void BM_ReadTreeFile(benchmark::State& state)
{
    ScalePage& page = Page(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadIniSection(u"TreeObjects", page.treeFile, page.platform.files()));
    }
}

void BM_HeadlessTreeBuild(benchmark::State& state)
{
    CiTree& tree = Page(state).headlessTree();
    for (auto _ : state) {
        tree.setStyle(KeptOpenTree);
    }
}

void QtBuild(benchmark::State& state, std::int32_t style)
{
    CiTreeWidget& tree = Page(state).qtTree();
    for (auto _ : state) {
        tree.setStyle(style);
        QApplication::processEvents();
    }
}

void BM_QtTreeBuild(benchmark::State& state)
{
    QtBuild(state, KeptOpenTree);
}

void BM_QtTreeBuildExpandAll(benchmark::State& state)
{
    QtBuild(state, KeptOpenTree | StyleExpandAll);
}

// The operator opens and closes the first top branch of the built tree, which shows each time.
void BM_QtOperatorOpensBranch(benchmark::State& state)
{
    CiTreeWidget& widget = Page(state).qtTree();
    widget.setStyle(KeptOpenTree);
    QApplication::processEvents();
    auto& tree = dynamic_cast<Tree&>(*widget.surface().widget(u"TreeView_Objects"));
    const NodeRef top = tree.node(1);
    QWidget* rows = widget.findChild<QTreeView*>()->viewport();
    for (auto _ : state) {
        if (top->expanded())
            tree.operatorCollapse(top->key());
        else
            tree.operatorExpand(top->key());
        rows->repaint();
    }
}

void BM_ReadStatusFile(benchmark::State& state)
{
    ScalePage& page = Page(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadIniSection(u"TreeObjects", page.statusFile, page.platform.files()));
    }
}

void BM_HeadlessStatusLoad(benchmark::State& state)
{
    ScalePage& page = Page(state);
    if (!page.headlessStatusControl) {
        page.headlessStatusControl
            = std::make_unique<CiStatus>(page.headlessStatusSurface, page.platform.platform());
    }
    for (auto _ : state) {
        page.headlessStatusControl->setObjectFile(page.statusFile);
    }
}

// The tick after a status change settles every record; the ticks between only blink. The rows
// shown are painted after each tick: Qt would otherwise paint when the screen asks, at its pace.
void BM_QtFlashTick(benchmark::State& state)
{
    ScalePage& page = Page(state);
    QWidget* rows = page.qtStatus().findChild<QTreeView*>()->viewport();
    for (auto _ : state) {
        page.platform.clock().advance(500);
        QApplication::processEvents();
        rows->repaint();
    }
}

BENCHMARK(BM_ReadTreeFile)->Arg(HundredThousand)->Arg(Million)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeadlessTreeBuild)
    ->MeasureProcessCPUTime()
    ->Arg(HundredThousand)
    ->Arg(Million)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtTreeBuild)
    ->MeasureProcessCPUTime()
    ->Arg(HundredThousand)
    ->Arg(Million)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtTreeBuildExpandAll)->MeasureProcessCPUTime()->Arg(Million)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtOperatorOpensBranch)->Arg(Million)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadStatusFile)->Arg(Million)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeadlessStatusLoad)->MeasureProcessCPUTime()->Arg(Million)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtFlashTick)->Arg(Million)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const auto application = startQtApplication(argc, argv);
    const int result = RunBenchmarksWithRatios(argc, argv,
        {
            { "Qt build to first paint, 1,000,000 lines", "BM_QtTreeBuild/1000000",
                "BM_HeadlessTreeBuild/1000000", 1.3 },
            { "headless build, 1,000,000 lines", "BM_HeadlessTreeBuild/1000000", "BM_ReadTreeFile/1000000",
                3 },
            { "Qt build opening every node, 1,000,000", "BM_QtTreeBuildExpandAll/1000000",
                "BM_QtTreeBuild/1000000", 2 },
            { "headless build, 1,000,000 against 100,000", "BM_HeadlessTreeBuild/1000000",
                "BM_HeadlessTreeBuild/100000", 11 },
            { "Qt build, 1,000,000 against 100,000", "BM_QtTreeBuild/1000000", "BM_QtTreeBuild/100000", 11 },
            { "CiStatus load, 1,000,000 lines", "BM_HeadlessStatusLoad/1000000", "BM_ReadStatusFile/1000000",
                4 },
        });
    Pages().clear();
    return result;
}
