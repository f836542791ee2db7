// A plant overview window: the navigation tree on the left, the status tree on the right.
#include "qt/cistatus_widget.h"
#include "qt/citree_widget.h"
#include "qt/live_platform.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QStatusBar>
#include <map>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QString plant = argc > 1 ? argv[1] : "examples/plant";
    vestrak::LivePlatform live;
    const vestrak::Platform platform = live.platform();

    QMainWindow window;
    auto* page = new QWidget(&window);
    auto* layout = new QHBoxLayout(page);
    auto* tree = new vestrak::CiTreeWidget(platform, page);
    auto* status = new vestrak::CiStatusWidget(platform, page);
    layout->addWidget(tree, 2);
    layout->addWidget(status, 3);
    window.setCentralWidget(page);

    tree->setObjectFile(plant + "/plant.ini");
    // The style of the example page: tree shown, expanded at start, open branches kept. No Home
    // button: with filter groups it would lie on the filter row, which starts at the top.
    tree->setStyle(0x618);
    QObject::connect(tree, &vestrak::CiTreeWidget::NodeClick,
        [&] { window.statusBar()->showMessage("navigate to " + tree->SelectedObjectExtraInfo()); });

    // The page's tag table; a real page reads the SCADA system instead. A tag it cannot answer
    // shows 1 (unknown), never a colour that claims a state.
    const std::map<QString, int> tags { { "WW_P101_ST", 0x1002 }, { "WW_LS101_ST", 0x104 } };
    QObject::connect(status, &vestrak::CiStatusWidget::GetStatus, [&] {
        for (QString tag = status->ObjectTagName(); !tag.isEmpty(); tag = status->ObjectTagName()) {
            const auto found = tags.find(tag);
            status->setObjectStatus(found == tags.end() ? 1 : found->second);
        }
    });
    status->setBehaviour(1);
    status->setPopupMenuItem("Ack/Acknowledge alarm");
    status->setObjectFile(plant + "/status.ini");

    window.resize(760, 420);
    window.show();
    return application.exec();
}
