#include "headless/memory_settings_store.h"
#include "headless/virtual_clock.h"
#include "linux_platform/environment_special_folders.h"
#include "linux_platform/ini_profile.h"
#include "linux_platform/local_file_system.h"
#include "qt/application_platform.h"
#include "qt/cistatus_widget.h"
#include "qt/citree_widget.h"
#include "qt_widgets/qt_surface.h"
#include "qt_widgets/qt_tree_view.h"
#include "qt_widgets/reporting_file_system.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace vestrak;

namespace {

// The example plant on real widgets, with the operator's mouse and keyboard, and time that
// moves only when the test says so.
class OperatorOnQtWidgets : public testing::Test {
protected:
    Platform platform() { return Platform { settings, profile, folders, files, clock, clock }; }

    static QString plantFile(const char* name) { return QStringLiteral(VESTRAK_PLANT_FOLDER "/") + name; }

    static QtTreeView& treeView(QWidget& control, const char* name)
    {
        for (auto* view : control.findChildren<QtTreeView*>()) {
            if (view->isVisible())
                return *view;
        }
        ADD_FAILURE() << "no tree shown: " << name;
        return *control.findChild<QtTreeView*>();
    }

    static QModelIndexList rowsWithText(const QtTreeView& view, const QString& text)
    {
        return view.model()->match(
            view.model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly | Qt::MatchRecursive);
    }

    static QPoint rowCentre(QtTreeView& view, const QString& text)
    {
        const QModelIndexList found = rowsWithText(view, text);
        EXPECT_FALSE(found.isEmpty()) << text.toStdString();
        return found.isEmpty() ? QPoint() : view.visualRect(found.first()).center();
    }

    MemorySettingsStore settings;
    LocalFileSystem files;
    IniProfile profile { files, u"/nonexistent/win.ini" };
    EnvironmentSpecialFolders folders;
    VirtualClock clock;
};

} // namespace

TEST_F(OperatorOnQtWidgets, NavigationTreeAnswersClicksGroupButtonsAndTheFilterBox)
{
    CiTreeWidget tree(platform());
    tree.resize(300, 400);
    tree.setObjectFile(plantFile("plant.ini"));
    tree.setStyle(0x619);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    QSignalSpy nodeClicks(&tree, &CiTreeWidget::NodeClick);
    QSignalSpy extraInfoChanges(&tree, &CiTreeWidget::SelectedObjectExtraInfoChanged);

    QtTreeView& view = treeView(tree, "TreeView_Objects");
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, rowCentre(view, "Water Works"));
    EXPECT_EQ(nodeClicks.count(), 1);
    EXPECT_EQ(tree.SelectedObjectExtraInfo(), "Site");
    EXPECT_EQ(extraInfoChanges.count(), 1);

    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(settings.GetSetting(u"VestrakControls.CiTree", u"OpenNodes", u"Water Works"), u"1")
        << "the branch opened by the keyboard is remembered";
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(nodeClicks.count(), 2) << "the keyboard selects as the mouse does";
    EXPECT_EQ(tree.SelectedObjectExtraInfo(), "Intake");

    QToolButton* pumps = nullptr;
    for (auto* button : tree.findChildren<QToolButton*>()) {
        if (button->isCheckable() && !pumps
            && button->parentWidget()->findChildren<QToolButton*>().size() == 8)
            pumps = button;
    }
    ASSERT_NE(pumps, nullptr);
    QApplication::setActiveWindow(&tree);
    view.setFocus();
    ASSERT_TRUE(view.hasFocus());
    QTest::mouseClick(pumps, Qt::LeftButton);
    EXPECT_TRUE(pumps->isChecked());
    clock.advance(200);
    EXPECT_TRUE(view.hasFocus()) << "the tree keeps the keyboard through the rebuild";
    EXPECT_TRUE(rowsWithText(view, "Screen Valve").isEmpty()) << "the rebuild keeps the pumps only";
    EXPECT_FALSE(rowsWithText(view, "Intake Pump 1").isEmpty());

    auto* filterBox = tree.findChild<QLineEdit*>();
    QTest::keyClicks(filterBox, "*2");
    QTest::keyClick(filterBox, Qt::Key_Return);
    EXPECT_EQ(filterBox->text(), "*2") << "Enter switches the filter on and is not typed";
    EXPECT_EQ(settings.GetSetting(u"VestrakControls.CiTree", u"PressedFilterButtons", u"FilterText"), u"*2");
    EXPECT_EQ(settings.GetSetting(u"VestrakControls.CiTree", u"PressedFilterButtons", u"FilterButton"), u"1");
    clock.advance(200);
    EXPECT_TRUE(rowsWithText(view, "Screens").isEmpty()) << "the text filter leaves the branches out";
    const QModelIndexList pump = rowsWithText(view, "Intake Pump 2");
    ASSERT_FALSE(pump.isEmpty());
    EXPECT_EQ(pump.first().data(Qt::ToolTipRole), "Water Works / Intake Building / Screens / Intake Pump 2")
        << "a filtered row still tells where its object lies";
}

// Tab goes as the operator reads the control: the filter row, the group buttons, the tree, then
// the collapse strip down its right.
TEST_F(OperatorOnQtWidgets, TabFollowsTheControlsLayout)
{
    CiTreeWidget tree(platform());
    tree.resize(300, 400);
    tree.setObjectFile(plantFile("plant.ini"));
    tree.setStyle(0x618);
    tree.show();
    QApplication::setActiveWindow(&tree);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tree));
    tree.findChild<QLineEdit*>()->setFocus();
    QStringList reached;
    for (int press = 0; press < 12; ++press) {
        reached.append(QApplication::focusWidget()->accessibleName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(reached.join(", ").toStdString(),
        "Filter text, Show only the objects whose names match the filter text, Pumps, Valves, Tanks, "
        "Flow meters, Level switches, Motors, Alarms, Analysers, Object tree, Collapse");
}

// The collapse transcript, played on both widget sets, shows the sizes and the idle countdown.
TEST_F(OperatorOnQtWidgets, CollapseAndExpandButtonsAnswerTheMouse)
{
    CiTreeWidget tree(platform());
    tree.resize(300, 400);
    tree.setObjectFile(plantFile("plant.ini"));
    tree.setStyle(0x618);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    const auto button = [&tree](const char16_t* name) {
        auto* port = dynamic_cast<QtWidgetBase*>(tree.surface().widget(name));
        return port ? port->qtWidget() : nullptr;
    };
    QWidget* collapse = button(u"Command_Collapse");
    QWidget* expand = button(u"Command_Expand");
    ASSERT_TRUE(collapse && expand);

    QtTreeView& view = treeView(tree, "TreeView_Objects");
    QApplication::setActiveWindow(&tree);
    view.setFocus();
    QTest::mouseClick(collapse, Qt::LeftButton);
    EXPECT_TRUE(expand->isVisible());
    EXPECT_FALSE(collapse->isVisible());
    EXPECT_EQ(tree.surface().innerWidth(), 195) << "the inner area becomes the expand button";
    EXPECT_TRUE(expand->hasFocus()) << "the keyboard stays with the collapsed control";
    QTest::keyClick(expand, Qt::Key_Down);
    EXPECT_TRUE(expand->hasFocus()) << "arrow keys do not walk out of it";
    QTest::keyClick(expand, Qt::Key_Space);
    EXPECT_TRUE(collapse->isVisible());
    EXPECT_TRUE(view.hasFocus()) << "and goes back to the tree when it expands";
}

TEST_F(OperatorOnQtWidgets, StatusTreeShowsItsMenuOnARightClickReportsTheChoiceAndShowsTextToRead)
{
    CiStatusWidget status(platform());
    status.resize(400, 300);
    status.setPopupMenuItem("Ack/Acknowledge alarm");
    status.setObjectFile(plantFile("status.ini"));
    status.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&status));
    QSignalSpy nodeClicks(&status, &CiStatusWidget::NodeClick);
    QSignalSpy choices(&status, &CiStatusWidget::PopupMenuItemClick);
    QSignalSpy nodeChanges(&status, &CiStatusWidget::SelectedNodeChanged);
    QSignalSpy choiceChanges(&status, &CiStatusWidget::SelectedPopupMenuItemChanged);

    QtTreeView& view = treeView(status, "TreeView_Status");
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, rowCentre(view, "Water Works"));
    EXPECT_EQ(nodeClicks.count(), 1);
    EXPECT_EQ(status.SelectedNode(), "Water Works");

    const QRect topRow = view.visualRect(view.model()->index(0, 0));
    QTest::mouseClick(
        view.viewport(), Qt::LeftButton, {}, QPoint(view.indentation() / 2, topRow.center().y()));
    EXPECT_EQ(status.SelectedNode(), "Water Works") << "the branch indicator opens without selecting";
    const int indentationOfTreatment = view.indentation() / 2;
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
        QPoint(indentationOfTreatment, rowCentre(view, "Treatment Building").y()));
    EXPECT_EQ(status.SelectedNode(), "Treatment Building")
        << "a left click hits the row where a right one does";
    EXPECT_EQ(status.property("SelectedNodeCode").toString(), "WW2");
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, rowCentre(view, "Intake Building"));
    EXPECT_EQ(status.SelectedNode(), "Intake Building") << "the menu is for the object under the mouse";
    EXPECT_EQ(nodeClicks.count(), 3);
    EXPECT_EQ(nodeChanges.count(), 3) << "Water Works, Treatment Building, Intake Building";
    auto* menu = status.findChild<QMenu*>();
    ASSERT_TRUE(menu && menu->isVisible());
    QAction* acknowledge = menu->actions().value(0);
    ASSERT_NE(acknowledge, nullptr);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(acknowledge).center());
    EXPECT_EQ(choices.count(), 1);
    EXPECT_EQ(status.SelectedPopupMenuItem(), "Ack");
    EXPECT_EQ(choiceChanges.count(), 1);
    EXPECT_FALSE(menu->isVisible());

    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, QPoint(20, view.viewport()->height() - 4));
    EXPECT_FALSE(menu->isVisible()) << "no menu off the rows";
    EXPECT_EQ(status.SelectedNode(), "Intake Building");

    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Menu);
    ASSERT_TRUE(menu->isVisible()) << "the menu key opens the menu for the selected node";
    const QRect row = view.visualRect(view.currentIndex());
    EXPECT_NEAR(menu->pos().y(), view.viewport()->mapToGlobal(row.bottomLeft()).y(), 2) << "beside the row";
    menu->hide();

    QSignalSpy doubleClicks(&status, &CiStatusWidget::NodeDblClick);
    QObject::connect(&status, &CiStatusWidget::NodeDblClick, &status,
        [&] { EXPECT_EQ(status.SelectedNode(), view.currentIndex().data().toString()); });
    const int clicksBeforeEnter = nodeClicks.count();
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(doubleClicks.count(), 1) << "Enter opens the row as a double click does";
    EXPECT_EQ(nodeClicks.count(), clicksBeforeEnter + 1) << "after the row's node click";

    auto* info = status.findChild<QPlainTextEdit*>();
    ASSERT_NE(info, nullptr);
    info->setFocus();
    ASSERT_EQ(status.focusWidget(), info);
    const QString information = info->toPlainText();
    QTest::keyClicks(info, "x");
    EXPECT_EQ(info->toPlainText(), information) << "read only";
    QTest::keyClick(info, Qt::Key_Tab);
    EXPECT_NE(status.focusWidget(), info) << "Tab leaves it";
}

// The controls raise no error to the host, but whoever runs the page learns which file failed,
// or which lines of it were skipped as damage.
TEST_F(OperatorOnQtWidgets, AnObjectFileThatCannotBeReadIsReportedOnceOnTheControlsLog)
{
    const QTemporaryDir folder;
    const QString damaged = folder.filePath("damaged.ini");
    QFile damagedFile(damaged);
    ASSERT_TRUE(damagedFile.open(QIODevice::WriteOnly));
    damagedFile.write(QByteArray("[TreeObjects]\r\nP=1,Plant\r\n\0\0\r\nQ\0\r\n", 34));
    damagedFile.close();
    static QStringList reports;
    reports.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type == QtWarningMsg && qstrcmp(context.category, "vestrak.controls") == 0)
                reports.append(message);
        });
    ReportingFileSystem reporting(files);
    CiStatusWidget status(Platform { settings, profile, folders, reporting, clock, clock });
    status.setObjectFile("/nonexistent/objects.ini");
    status.setObjectFile("/nonexistent/objects.ini");
    status.setObjectFile(damaged);
    status.setObjectFile(damaged);
    CiTreeWidget tree(Platform { settings, profile, folders, reporting, clock, clock });
    tree.setObjectFile(plantFile(""));
    tree.setStyle(0x618);
    qInstallMessageHandler(previous);
    EXPECT_EQ(reports,
        (QStringList { "cannot read the object file /nonexistent/objects.ini: there is no such file",
            "the object file " + damaged
                + " is damaged (as a crash or power cut leaves a file): in [TreeObjects], 2 lines hold NUL "
                  "bytes and are skipped, the first at line 3",
            "cannot read the object file " + plantFile("") + ": it is a folder" }));
}

// Widgets made without a platform (in code, by QUiLoader) share the application platform, which
// can be replaced only until the first of them uses it. This test's services end with it, so it
// is the one test that uses the application platform.
TEST_F(OperatorOnQtWidgets, WidgetsWithoutAPlatformShareTheApplicationPlatform)
{
    ASSERT_TRUE(setApplicationPlatform(platform()));
    {
        CiTreeWidget tree;
        tree.setObjectFile(plantFile("plant.ini"));
        tree.setStyle(0x1619);
        const CiStatusWidget status;
    }
    EXPECT_FALSE(settings.entries(u"VestrakControls.CiTree").empty())
        << "the tree kept its scroll position in the given platform's store";
    EXPECT_FALSE(setApplicationPlatform(platform())) << "the widgets' platform stays theirs";
}
