// bare-qt-trees LINES MILLISECONDS: a bare Qt program holding what a page with both controls
// shows: two QTreeWidgets side by side, each with the items of a generated plant of LINES lines
// (texts, icons, one branch in ten open). It shows them offscreen, runs its event loop for the
// given time, draws the window once and exits; its peak memory is the floor of the page's.

#include "qt_widgets/qt_images.h"
#include "support/plant_generator.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <unordered_set>

using namespace vestrak;
using namespace vestrak::bench;

namespace {

// What the trees need of the plant, kept while the plant itself is let go before the trees fill.
struct TreeItems {
    std::vector<std::int32_t> parents;
    std::vector<std::int32_t> images;
    std::vector<std::int32_t> statusImages;
    std::vector<QString> texts;
    std::vector<bool> open;
};

TreeItems ItemsOf(std::int32_t lines)
{
    const Plant plant = RealisticPlant(lines);
    std::unordered_set<std::string> openPaths;
    for (std::string& path : OpenBranchPaths(plant)) {
        openPaths.insert(std::move(path));
    }
    TreeItems items;
    for (std::size_t position = 0; position < plant.size(); ++position) {
        items.parents.push_back(plant[position].parent);
        items.images.push_back(plant[position].image);
        items.statusImages.push_back(plant[position].status & 0xFF);
        items.texts.push_back(QString::fromStdString(plant[position].text));
        items.open.push_back(openPaths.contains(FullPath(plant, position)));
    }
    return items;
}

void Fill(QTreeWidget& tree, const TreeItems& items, ImageList list, const std::vector<std::int32_t>& images)
{
    tree.setHeaderHidden(true);
    std::vector<QTreeWidgetItem*> made(items.texts.size());
    for (std::size_t position = 0; position < items.texts.size(); ++position) {
        const std::int32_t parent = items.parents[position];
        auto* item = parent < 0 ? new QTreeWidgetItem(&tree)
                                : new QTreeWidgetItem(made[static_cast<std::size_t>(parent)]);
        item->setText(0, items.texts[position]);
        item->setIcon(0, imageListIcon(list, images[position]));
        item->setExpanded(items.open[position]);
        made[position] = item;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        return 2;
    }
    const std::int32_t lines = std::atoi(argv[1]);
    const int milliseconds = std::atoi(argv[2]);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* navigation = new QTreeWidget;
    auto* status = new QTreeWidget;
    layout->addWidget(navigation);
    layout->addWidget(status);
    {
        const TreeItems items = ItemsOf(lines);
        Fill(*navigation, items, ImageList::SystemIcons, items.images);
        Fill(*status, items, ImageList::StatusIcons, items.statusImages);
    }
    window.resize(1000, 700);
    window.show();
    QTimer::singleShot(milliseconds, [&window] {
        window.grab();
        QApplication::quit();
    });
    return QApplication::exec();
}
