#include "cistatus/cistatus_property_table.h"
#include "citree/citree_property_table.h"
#include "headless/memory_settings_store.h"
#include "headless/virtual_clock.h"
#include "linux_platform/environment_special_folders.h"
#include "linux_platform/ini_profile.h"
#include "linux_platform/local_file_system.h"
#include "qt/application_platform.h"
#include "qt/cistatus_widget.h"
#include "qt/citree_widget.h"
#include "ui_designer_saved_page.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUiLoader>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <span>

using namespace vestrak;

// Every way of making a page (uic, QUiLoader, code in any order) and what a form may hold. The
// widgets are made as uic makes them, on the application platform set here for the whole program.
namespace {

struct TestPlatform {
    MemorySettingsStore settings;
    LocalFileSystem files;
    IniProfile profile { files, u"/nonexistent/win.ini" };
    EnvironmentSpecialFolders folders;
    VirtualClock clock;
    Platform platform { settings, profile, folders, files, clock, clock };
};

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

class PageForms : public testing::Test {
protected:
    static TestPlatform& testPlatform()
    {
        static TestPlatform test;
        return test;
    }

    static void SetUpTestSuite()
    {
        static const QTemporaryDir commonData;
        qputenv("VESTRAK_COMMON_APPDATA", commonData.path().toUtf8());
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
const FormValues TreeValues {
    { "ObjectFile", "plant.ini" },
    { "RootObject", "WW1,WW3" },
    { "BackColor", QColor(255, 255, 224) },
    { "SelectedObject", "WW312" },
    { "CollapseTime", 30 },
    { "ExpandedWidth", 300 },
    { "ExpandedHeight", 400 },
    { "Style",
        QVariant::fromValue(CiTreeWidget::StyleObjectTree | CiTreeWidget::StyleShowObjects
            | CiTreeWidget::StyleStartExpanded) },
};
const FormValues StatusValues {
    { "RootObject", "WW1" },
    { "UpdateInterval", 500 },
    { "Behaviour",
        QVariant::fromValue(
            CiStatusWidget::BehaviourInheritStatus | CiStatusWidget::BehaviourMuteInherited) },
    { "PopupMenuItem", QStringList { "Ack/Acknowledge alarm", "Trend/Show trend" } },
    { "BackColor", QColor(224, 255, 255) },
    { "PictureVisible", true },
    { "PictureWidth", 120 },
    { "ObjectFile", "status.ini" },
};

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

QString shownOnceShown(QWidget& page)
{
    page.show();
    return shownPage(page);
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
    EXPECT_EQ(shownOnceShown(uicPage), expected) << "uic";

    QFile saved(QStringLiteral(VESTRAK_DESIGNER_SAVED_PAGE));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const std::unique_ptr<QWidget> loaded = load(saved.readAll());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(shownOnceShown(*loaded), expected) << "QUiLoader";

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
    EXPECT_FALSE(testPlatform().settings.entries(u"VestrakControls.CiTree").empty())
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
            if (entry.use == PropertyUse::Query) {
                ++queries;
                EXPECT_FALSE(property.isValid()) << name.data();
                EXPECT_GE(meta.indexOfMethod(name + "()"), 0) << name.data();
                continue;
            }
            ASSERT_TRUE(property.isValid()) << name.data();
            if (entry.kind == PropertyKind::Flags)
                EXPECT_TRUE(property.isFlagType()) << name.data();
            else
                EXPECT_EQ(property.metaType(), KindTypes.at(entry.kind)) << name.data();
            EXPECT_EQ(property.isWritable(), static_cast<bool>(entry.set)) << name.data();
            EXPECT_EQ(property.isDesignable(), entry.use == PropertyUse::Design) << name.data();
            EXPECT_EQ(property.isStored(), entry.use == PropertyUse::Design) << name.data();
            EXPECT_EQ(property.hasNotifySignal(), entry.changes == PropertyChanges::ByOperator)
                << name.data();
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
    const auto value = [](const char* name, const char* tag, const QString& text) {
        return QStringLiteral("<property name=\"%1\"><%2>%3</%2></property>").arg(name, tag, text);
    };
    const struct {
        const char* what;
        const char* className;
        QString properties;
        bool showsNothing;
    } forms[] {
        { "negative sizes", "CiTreeWidget",
            value("geometry", "rect", "<x>0</x><y>0</y><width>-320</width><height>-240</height>")
                + value("ObjectFile", "string", "plant.ini") + value("ExpandedWidth", "number", "-300")
                + value("ExpandedHeight", "number", "-1") + value("CollapseTime", "number", "-5")
                + value("Style", "number", "536"),
            false },
        { "negative sizes", "CiStatusWidget",
            value("geometry", "rect", "<x>0</x><y>0</y><width>-1</width><height>-1</height>")
                + value("PictureVisible", "bool", "true") + value("PictureWidth", "number", "-120")
                + value("TextHeight", "number", "-40") + value("UpdateInterval", "number", "-1")
                + value("ObjectFile", "string", "status.ini"),
            false },
        // Starts collapsed.
        { "every bit", "CiTreeWidget",
            value("ObjectFile", "string", "plant.ini") + value("Style", "number", "-1"), true },
        { "every bit", "CiStatusWidget",
            value("Behaviour", "number", "-1") + value("ObjectFile", "string", "status.ini"), false },
        { "a 10 MB string", "CiTreeWidget",
            value("ObjectFile", "string", "plant.ini") + value("RootObject", "string", huge)
                + value("Style", "number", "24"),
            true },
        { "a 10 MB string", "CiStatusWidget", value("ObjectFile", "string", huge), true },
        { "a folder", "CiTreeWidget",
            value("ObjectFile", "string", folder.path()) + value("Style", "number", "24"), true },
        { "a folder", "CiStatusWidget", value("ObjectFile", "string", folder.path()), true },
    };
    for (const auto& form : forms) {
        const QString className = QStringLiteral("vestrak::") + form.className;
        const std::unique_ptr<QWidget> page = load(
            QStringLiteral("<ui version=\"4.0\"><widget class=\"QWidget\" name=\"page\"><widget class=\"%1\" "
                           "name=\"control\">%2</widget></widget></ui>")
                .arg(className, form.properties)
                .toUtf8());
        ASSERT_TRUE(page) << form.what;
        auto* control = page->findChild<QWidget*>("control");
        ASSERT_TRUE(control) << form.what << ' ' << form.className;
        page->show();
        QCoreApplication::processEvents();
        EXPECT_EQ(shownTree(*control).isEmpty(), form.showsNothing) << form.what << ' ' << form.className;
    }
}
