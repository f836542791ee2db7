// The plant overview page drawn in Qt Designer (plant_page.ui) and loaded at run time through
// QUiLoader; the page names its object files relative to the plant folder.
// qt-embed-ui [PLANT_FOLDER] [--print]: --print writes the rows the trees show instead of showing them.
#include "page_rows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QUiLoader>
#include <vestrak/qt/cistatus_widget.h>
#include <vestrak/qt/citree_widget.h>

namespace {

// Makes the controls itself, so the page loads also where the Designer plugin is not installed.
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

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const bool print = arguments.removeAll(QStringLiteral("--print")) > 0;
    if (!QDir::setCurrent(arguments.value(0, QStringLiteral("examples/plant")))) {
        qCritical("qt-embed-ui: no plant folder %s", qPrintable(arguments.value(0)));
        return 1;
    }

    QFile form(QStringLiteral(":/plant_page.ui"));
    form.open(QIODevice::ReadOnly);
    PageLoader loader;
    const std::unique_ptr<QWidget> page(loader.load(&form));
    if (!page) {
        qCritical("qt-embed-ui: %s", qPrintable(loader.errorString()));
        return 1;
    }

    if (print) {
        QTextStream out(stdout);
        printPageRows(*page, { "ObjectFile", "Style", "Behaviour", "UpdateInterval" }, out);
        return 0;
    }
    page->show();
    return application.exec();
}
