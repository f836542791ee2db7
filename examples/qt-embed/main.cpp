// A plant overview window: the navigation tree on the left, the status tree on the right, built
// in code. qt-embed [PLANT_FOLDER] [--print]: --print writes the rows the trees show instead of showing them.
#include "page_rows.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QStatusBar>
#include <map>
#include <vestrak/qt/cistatus_widget.h>
#include <vestrak/qt/citree_widget.h>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const bool print = arguments.removeAll(QStringLiteral("--print")) > 0;
    const QString plant = arguments.value(0, QStringLiteral("examples/plant"));

    QMainWindow window;
    auto* page = new QWidget(&window);
    auto* layout = new QHBoxLayout(page);
    // Widgets made without a platform share the application's live platform.
    auto* tree = new vestrak::CiTreeWidget(page);
    auto* status = new vestrak::CiStatusWidget(page);
    layout->addWidget(tree, 2);
    layout->addWidget(status, 3);
    window.setCentralWidget(page);

    tree->setObjectName(QStringLiteral("ciTree"));
    tree->setObjectFile(plant + "/plant.ini");
    // The style of the example page: tree shown, expanded at start, open branches kept. No Home
    // button: with filter groups it would lie on the filter row, which starts at the top.
    // The page is pump P101's: the tree opens down to it and selects it.
    tree->setSelectedObject(QStringLiteral("WW111"));
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
    status->setObjectName(QStringLiteral("ciStatus"));
    status->setBehaviour(1);
    status->setPopupMenuItem("Ack/Acknowledge alarm");
    status->setObjectFile(plant + "/status.ini");

    if (print) {
        QTextStream out(stdout);
        printPageRows(*page, { "Style", "Behaviour" }, out);
        return 0;
    }
    window.resize(760, 420);
    window.show();
    return application.exec();
}
