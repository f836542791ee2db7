// The controls on a plant file as a new user would show them, beside the yardstick's plain Qt
// tree: the same modes, the same phase lines on stderr, so that bench/yardstick/compare reads both
// alike.
//   controls-on-plant tree FILE [--filter WORD]   build, show, a filter rebuild after the first paint
//   controls-on-plant status FILE [--ticks N]     load, statuses risen and painted, N flash ticks
//   controls-on-plant page TREEFILE STATUSFILE    both controls in one window, first paint
//   controls-on-plant find FILE                   the status tree loaded, then the keys of its last,
//                                                 middle and first nodes looked up, first use each

#include "cistatus/cistatus.h"
#include "citree/citree.h"
#include "page_host_qt/qt_application.h"
#include "ports/text_box.h"
#include "ports/tree.h"
#include "qt/cistatus_widget.h"
#include "qt/citree_widget.h"
#include "qt_widgets/qt_surface.h"
#include "support/plant_platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace vestrak;
using namespace vestrak::bench;

namespace {

QElapsedTimer PhaseClock;

void Phase(const char* what)
{
    std::fprintf(stderr, "%8.1f ms  %s\n", static_cast<double>(PhaseClock.nsecsElapsed()) / 1e6, what);
}

const char* Option(int argc, char** argv, const char* name)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return argv[i + 1];
    return nullptr;
}

// Counts the paints of a control's rows.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget& rows) { rows.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

QWidget& RowsOf(QWidget& control)
{
    return *control.findChild<QTreeView*>()->viewport();
}

// How many rows the control's tree shows, as the plain tree counts the rows it tells of a tick.
int RowsShown(QWidget& control)
{
    const QTreeView& view = *control.findChild<QTreeView*>();
    const int height = view.viewport()->height();
    int rows = 0;
    for (QModelIndex index = view.indexAt(QPoint(1, 1));
         index.isValid() && view.visualRect(index).top() < height; index = view.indexBelow(index))
        ++rows;
    return rows;
}

// Turns the event loop until the rows have been painted once more.
void UntilPainted(const PaintCounter& counter)
{
    const int before = counter.paints;
    for (int turn = 0; turn < 1000 && counter.paints == before; ++turn)
        QApplication::processEvents();
}

std::u16string Utf16(const char* text)
{
    return QString::fromLocal8Bit(text).toStdU16String();
}

std::unique_ptr<CiStatusWidget> ShownStatus(PlantPlatform& platform, const char* file)
{
    auto widget = std::make_unique<CiStatusWidget>(platform.platform());
    // Some 40 rows of 18 pixels under the information text.
    widget->resize(480, 40 * 18 + 160);
    widget->setBehaviour(CiStatus::BehaviourInheritStatus);
    widget->setUpdateInterval(24 * 3600 * 1000);
    widget->setObjectFile(QString::fromLocal8Bit(file));
    widget->show();
    return widget;
}

// The statuses rise to the branches and the icons are set at the first flash tick.
void FirstFlashTick(PlantPlatform& platform, const PaintCounter& counter)
{
    platform.clock().advance(500);
    UntilPainted(counter);
}

int Status(PlantPlatform& platform, int argc, char** argv)
{
    const auto widget = ShownStatus(platform, argv[2]);
    PaintCounter counter(RowsOf(*widget));
    UntilPainted(counter);
    FirstFlashTick(platform, counter);
    Phase("first paint");
    const char* ticksOption = Option(argc, argv, "--ticks");
    const int ticks = ticksOption ? std::atoi(ticksOption) : 0;
    std::vector<double> each;
    const int paintsBefore = counter.paints;
    for (int tick = 0; tick < ticks; ++tick) {
        QElapsedTimer timer;
        timer.start();
        platform.clock().advance(500);
        UntilPainted(counter);
        each.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    if (!each.empty()) {
        std::sort(each.begin(), each.end());
        std::fprintf(stderr,
            "flash tick x%d: min %.3f ms, median %.3f ms, max %.3f ms; %d paints, %d rows shown\n", ticks,
            each.front(), each[each.size() / 2], each.back(), counter.paints - paintsBefore,
            RowsShown(*widget));
    }
    return 0;
}

std::unique_ptr<CiTreeWidget> ShownTree(PlantPlatform& platform, const char* file)
{
    auto widget = std::make_unique<CiTreeWidget>(platform.platform());
    widget->resize(480, 800);
    widget->setObjectFile(QString::fromLocal8Bit(file));
    widget->setStyle(StyleObjectTree | StyleShowObjects);
    widget->show();
    return widget;
}

int Navigation(PlantPlatform& platform, int argc, char** argv)
{
    const auto widget = ShownTree(platform, argv[2]);
    PaintCounter counter(RowsOf(*widget));
    UntilPainted(counter);
    Phase("first paint");
    if (const char* filter = Option(argc, argv, "--filter")) {
        auto& text = dynamic_cast<TextBox&>(*widget->surface().widget(u"Text_Filter"));
        // What the operator types: the words, then Enter, which stores them; the rebuild comes at
        // the filter timer.
        if (!text.operatorType(Utf16(filter) + u"\r"))
            std::fprintf(stderr, "the tree shows no filter box\n");
        QElapsedTimer timer;
        timer.start();
        platform.clock().advance(1000);
        UntilPainted(counter);
        std::fprintf(stderr, "filter %s: %d nodes, %.1f ms incl. repaint\n", filter,
            dynamic_cast<Tree&>(*widget->surface().widget(u"TreeView_Objects")).count(),
            static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return 0;
}

int Page(PlantPlatform& platform, char** argv)
{
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* tree = new CiTreeWidget(platform.platform());
    auto* status = new CiStatusWidget(platform.platform());
    layout->addWidget(tree);
    layout->addWidget(status);
    window.resize(680, 300);
    tree->setObjectFile(QString::fromLocal8Bit(argv[2]));
    tree->setStyle(StyleObjectTree | StyleShowObjects);
    status->setBehaviour(CiStatus::BehaviourInheritStatus);
    status->setUpdateInterval(24 * 3600 * 1000);
    status->setObjectFile(QString::fromLocal8Bit(argv[3]));
    window.show();
    PaintCounter counter(RowsOf(*status));
    UntilPainted(counter);
    FirstFlashTick(platform, counter);
    Phase("first paint");
    // As the plain tree's page does: the window grabbed whole.
    (void)window.grab();
    Phase("screenshot");
    return 0;
}

int Find(PlantPlatform& platform, char** argv)
{
    const auto widget = ShownStatus(platform, argv[2]);
    PaintCounter counter(RowsOf(*widget));
    UntilPainted(counter);
    Phase("first paint");
    auto& tree = dynamic_cast<Tree&>(*widget->surface().widget(u"TreeView_Status"));
    if (tree.count() == 0) {
        std::fprintf(stderr, "the status tree shows no nodes: is %s a status file?\n", argv[2]);
        return 1;
    }
    std::vector<std::u16string> keys;
    for (const std::int32_t index : { tree.count(), tree.count() / 2, 1 })
        keys.push_back(tree.node(index)->key());
    for (const std::u16string& key : keys) {
        QElapsedTimer timer;
        timer.start();
        const NodeRef found = tree.find(key);
        const double took = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        std::fprintf(stderr, "find %s: %s, %.3f ms\n", QString::fromStdU16String(key).toUtf8().constData(),
            found && found->key() == key ? "found" : "missing", took);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    PhaseClock.start();
    if (argc < 3) {
        std::fprintf(stderr, "usage: controls-on-plant tree|status|page|find FILE [FILE] [options]\n");
        return 2;
    }
    const std::string mode = argv[1];
    const auto application = startQtApplication(argc, argv);
    Phase("QApplication");
    PlantPlatform platform;
    if (mode == "tree")
        return Navigation(platform, argc, argv);
    if (mode == "status")
        return Status(platform, argc, argv);
    if (mode == "page" && argc >= 4)
        return Page(platform, argv);
    if (mode == "find")
        return Find(platform, argv);
    std::fprintf(stderr, "unknown mode\n");
    return 2;
}
