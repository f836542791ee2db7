// pages uic|loader|code PLANT_FOLDER: the example page compiled by uic, loaded by QUiLoader, or
// built in code with its properties in the reverse order; writes the rows its trees show once
// the page is on screen.
#include "page_rows.h"
#include "ui_plant_page.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QUiLoader>
#include <vestrak/qt/cistatus_widget.h>
#include <vestrak/qt/citree_widget.h>

namespace {

class PageLoader final : public QUiLoader {
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        QWidget* widget = nullptr;
        if (className == QLatin1String("vestrak::CiTreeWidget"))
            widget = new vestrak::CiTreeWidget(parent);
        else if (className == QLatin1String("vestrak::CiStatusWidget"))
            widget = new vestrak::CiStatusWidget(parent);
        else
            return QUiLoader::createWidget(className, parent, name);
        widget->setObjectName(name);
        return widget;
    }
};

std::unique_ptr<QWidget> CodePage()
{
    auto page = std::make_unique<QWidget>();
    auto* tree = new vestrak::CiTreeWidget(page.get());
    tree->setObjectName(QStringLiteral("ciTree"));
    tree->setStyle(1560);
    tree->setSelectedObject(QStringLiteral("WW111"));
    tree->setObjectFile(QStringLiteral("plant.ini"));
    auto* status = new vestrak::CiStatusWidget(page.get());
    status->setObjectName(QStringLiteral("ciStatus"));
    status->setObjectFile(QStringLiteral("status.ini"));
    status->setBehaviour(1);
    status->setUpdateInterval(2);
    return page;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QString way = argc == 3 ? argv[1] : QString();
    if (!QDir::setCurrent(argc == 3 ? argv[2] : QString()))
        return 2;
    std::unique_ptr<QWidget> page;
    Ui::PlantPage form;
    PageLoader loader;
    QFile saved(QStringLiteral(PAGE_FORM));
    if (way == QLatin1String("uic")) {
        page = std::make_unique<QWidget>();
        form.setupUi(page.get());
    } else if (way == QLatin1String("loader") && saved.open(QIODevice::ReadOnly)) {
        page.reset(loader.load(&saved));
    } else if (way == QLatin1String("code")) {
        page = CodePage();
    }
    if (!page)
        return 2;
    page->show();
    QTimer::singleShot(0, [&page] {
        QTextStream out(stdout);
        printPageRows(*page, {}, out);
        QCoreApplication::quit();
    });
    return QApplication::exec();
}
