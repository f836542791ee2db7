#include "cistatus/cistatus_property_table.h"
#include "citree/citree_property_table.h"
#include "qt/application_platform.h"
#include "qt/cistatus_widget.h"
#include "qt/citree_widget.h"
#include "support/test_platform.h"
#include "ui_designer_saved_page.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMetaProperty>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUiLoader>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace vestrak;

// Every way of making a page (uic, QUiLoader, code in any order) and what a form may hold. The
// widgets are made as uic makes them, on the application platform set here for the whole program.
namespace {

class ControlsLoader final : public QUiLoader {
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        QWidget* widget = nullptr;
        if (className == QLatin1String("vestrak::CiTreeWidget"))
            widget = new CiTreeWidget(parent);
        else if (className == QLatin1String("vestrak::CiStatusWidget"))
            widget = new CiStatusWidget(parent);
        else
            return QUiLoader::createWidget(className, parent, name);
        widget->setObjectName(name);
        return widget;
    }
};

class PageForms : public ::testing::Test {
protected:
    static vestrak::testing::TestPlatform& testPlatform()
    {
        static LocalFileSystem files;
        static vestrak::testing::TestPlatform test { files };
        return test;
    }

    static void SetUpTestSuite()
    {
        ASSERT_TRUE(setApplicationPlatform(testPlatform().platform));
        // The form names its object files as a page beside them does.
        ASSERT_TRUE(QDir::setCurrent(QStringLiteral(VESTRAK_PLANT_FOLDER)));
    }

    static std::unique_ptr<QWidget> load(const QByteArray& form)
    {
        QBuffer buffer;
        buffer.setData(form);
        buffer.open(QIODevice::ReadOnly);
        ControlsLoader loader;
        return std::unique_ptr<QWidget>(loader.load(&buffer));
    }
};

// What a control shows: the rows its shown trees are given, top to bottom, each with its depth,
// whether it is selected, and its background.
QString shownTree(const QWidget& control)
{
    QString shown;
    for (const QTreeView* view : control.findChildren<QTreeView*>()) {
        if (!view->isVisibleTo(&control))
            continue;
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const QModelIndex index = view->model()->index(row, 0);
            shown += QString(view->visualRect(index).left() / view->indentation(), ' ')
                + index.data().toString() + (view->selectionModel()->isSelected(index) ? " selected " : " ")
                + index.data(Qt::BackgroundRole).value<QBrush>().color().name() + '\n';
        }
    }
    return shown;
}

QString shownPage(const QWidget& page)
{
    return shownTree(*page.findChild<CiTreeWidget*>()) + shownTree(*page.findChild<CiStatusWidget*>());
}

const std::map<PropertyKind, QMetaType> KindTypes { { PropertyKind::Text, QMetaType::fromType<QString>() },
    { PropertyKind::TextItems, QMetaType::fromType<QStringList>() },
    { PropertyKind::Number, QMetaType::fromType<int>() },
    { PropertyKind::Color, QMetaType::fromType<QColor>() },
    { PropertyKind::YesNo, QMetaType::fromType<bool>() } };

using FormValues = QList<std::pair<const char*, QVariant>>;

// The values of designer_saved_page.ui, in the order the widgets declare them.
const FormValues TreeValues { { "ObjectFile", "plant.ini" }, { "RootObject", "WW1,WW3" },
    { "BackColor", QColor(255, 255, 224) }, { "SelectedObject", "WW312" }, { "CollapseTime", 30 },
    { "ExpandedWidth", 300 }, { "ExpandedHeight", 400 },
    { "Style",
        QVariant::fromValue(CiTreeWidget::StyleObjectTree | CiTreeWidget::StyleShowObjects
            | CiTreeWidget::StyleStartExpanded) } };
const FormValues StatusValues { { "RootObject", "WW1" }, { "UpdateInterval", 500 },
    { "Behaviour",
        QVariant::fromValue(
            CiStatusWidget::BehaviourInheritStatus | CiStatusWidget::BehaviourMuteInherited) },
    { "PopupMenuItem", QStringList { "Ack/Acknowledge alarm", "Trend/Show trend" } },
    { "BackColor", QColor(224, 255, 255) }, { "PictureVisible", true }, { "PictureWidth", 120 },
    { "ObjectFile", "status.ini" } };

std::unique_ptr<QWidget> codePage(bool reverse)
{
    auto page = std::make_unique<QWidget>();
    page->resize(760, 420);
    auto* layout = new QHBoxLayout(page.get());
    for (QWidget* control : QWidgetList { new CiTreeWidget(page.get()), new CiStatusWidget(page.get()) }) {
        layout->addWidget(control);
        FormValues values = qobject_cast<CiTreeWidget*>(control) ? TreeValues : StatusValues;
        if (reverse)
            std::reverse(values.begin(), values.end());
        for (const auto& [name, value] : values)
            EXPECT_TRUE(control->setProperty(name, value)) << name;
    }
    return page;
}

} // namespace

TEST_F(PageForms, EveryWayOfMakingAPageShowsTheTreeOfCodeThatSetsTheBuildingPropertyLast)
{
    // Read before control returns to the event loop: the build the last property asked for.
    const std::unique_ptr<QWidget> styleLast = codePage(false);
    const QString expected = shownPage(*styleLast);
    ASSERT_TRUE(expected.contains("\n   High Lift Pump 2 selected #ffffe0\n")) << expected.toStdString();
    ASSERT_TRUE(expected.endsWith("Intake Building #e0ffff\n")) << expected.toStdString();

    QWidget uicPage;
    Ui::DesignerSavedPage form;
    form.setupUi(&uicPage);
    uicPage.show();
    EXPECT_EQ(shownPage(uicPage), expected) << "uic";

    QFile saved(QStringLiteral(VESTRAK_DESIGNER_SAVED_PAGE));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const std::unique_ptr<QWidget> loaded = load(saved.readAll());
    loaded->show();
    EXPECT_EQ(shownPage(*loaded), expected) << "QUiLoader";

    const std::unique_ptr<QWidget> reversed = codePage(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(shownPage(*reversed), expected) << "reverse order, once control returned to the event loop";
}

// Widgets made without a platform (in code, by QUiLoader) share the application platform, which
// can be replaced only until the first of them uses it.
TEST_F(PageForms, WidgetsWithoutAPlatformShareTheApplicationPlatform)
{
    {
        CiTreeWidget tree;
        tree.setObjectFile("plant.ini");
        tree.setStyle(0x1619);
    }
    EXPECT_FALSE(testPlatform().memoryStore.entries(u"VestrakControls.CiTree").empty())
        << "the tree kept its scroll position in the application platform's store";
    EXPECT_FALSE(setApplicationPlatform(testPlatform().platform)) << "the widgets' platform stays theirs";
}

// Each property of a control's table is a Qt property of the matching type and access, and the
// widget declares no other.
TEST_F(PageForms, TheWidgetsOfferEveryPropertyOfTheControlsTables)
{
    const auto check = [](const QMetaObject& meta, const auto table) {
        int queries = 0;
        for (const auto& entry : table) {
            const QByteArray name = QString::fromStdU16String(std::u16string(entry.name)).toLatin1();
            const QMetaProperty property = meta.property(meta.indexOfProperty(name));
            SCOPED_TRACE(name.data());
            if (entry.use == PropertyUse::Query) {
                ++queries;
                EXPECT_FALSE(property.isValid());
                EXPECT_GE(meta.indexOfMethod(name + "()"), 0);
                continue;
            }
            ASSERT_TRUE(property.isValid());
            EXPECT_TRUE(entry.kind == PropertyKind::Flags ? property.isFlagType()
                                                          : property.metaType() == KindTypes.at(entry.kind));
            const bool design = entry.use == PropertyUse::Design;
            EXPECT_EQ(std::tuple(property.isWritable(), property.isDesignable(), property.isStored(),
                          property.hasNotifySignal()),
                std::tuple(static_cast<bool>(entry.set), design, design,
                    entry.changes == PropertyChanges::ByOperator));
        }
        EXPECT_EQ(meta.propertyCount() - ControlWidgetHost::staticMetaObject.propertyCount(),
            static_cast<int>(table.size()) - queries)
            << meta.className();
    };
    check(CiTreeWidget::staticMetaObject, CiTreeProperties());
    check(CiStatusWidget::staticMetaObject, CiStatusProperties());
}

// A form is input like any other: whatever it holds, it loads, shows and leaves the controls usable.
TEST_F(PageForms, HostileFormValuesLoad)
{
    const QTemporaryDir folder;
    const QString huge(10 * 1024 * 1024, u'W');
    const struct {
        const char* what;
        const char* className;
        QStringList properties;
        bool showsNothing;
    } forms[] {
        { "negative sizes", "CiTreeWidget",
            { "geometry=-320x-240", "ObjectFile=plant.ini", "ExpandedWidth=-300", "ExpandedHeight=-1",
                "CollapseTime=-5", "Style=536" },
            false },
        { "negative sizes", "CiStatusWidget",
            { "geometry=-1x-1", "PictureVisible=true", "PictureWidth=-120", "TextHeight=-40",
                "UpdateInterval=-1", "ObjectFile=status.ini" },
            false },
        // Starts collapsed.
        { "every bit", "CiTreeWidget", { "ObjectFile=plant.ini", "Style=-1" }, true },
        { "every bit", "CiStatusWidget", { "Behaviour=-1", "ObjectFile=status.ini" }, false },
        { "a 10 MB string", "CiTreeWidget", { "ObjectFile=plant.ini", "RootObject=" + huge, "Style=24" },
            true },
        { "a 10 MB string", "CiStatusWidget", { "ObjectFile=" + huge }, true },
        { "a folder", "CiTreeWidget", { "ObjectFile=" + folder.path(), "Style=24" }, true },
        { "a folder", "CiStatusWidget", { "ObjectFile=" + folder.path() }, true },
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(std::string(form.what) + ' ' + form.className);
        // Numbers, booleans and strings as Designer writes them, a geometry given as WIDTHxHEIGHT.
        QString properties;
        for (const QString& pair : form.properties) {
            const QString name = pair.section('=', 0, 0), value = pair.section('=', 1);
            bool isNumber = false;
            value.toInt(&isNumber);
            properties += "<property name=\"" + name + "\">"
                + (name == "geometry" ? "<rect><x>0</x><y>0</y><width>" + value.section('x', 0, 0)
                            + "</width><height>" + value.section('x', 1) + "</height></rect>"
                        : isNumber        ? "<number>" + value + "</number>"
                        : value == "true" ? "<bool>true</bool>"
                                          : "<string>" + value + "</string>")
                + "</property>";
        }
        const std::unique_ptr<QWidget> page
            = load(QStringLiteral("<ui version=\"4.0\"><widget class=\"QWidget\" "
                                  "name=\"page\"><widget class=\"vestrak::%1\" "
                                  "name=\"control\">%2</widget></widget></ui>")
                       .arg(form.className, properties)
                       .toUtf8());
        auto* control = page ? page->findChild<QWidget*>("control") : nullptr;
        ASSERT_TRUE(control);
        page->show();
        QCoreApplication::processEvents();
        EXPECT_EQ(shownTree(*control).isEmpty(), form.showsNothing);
    }
}
