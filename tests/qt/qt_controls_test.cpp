#include "qt/cistatus_widget.h"
#include "qt/citree_widget.h"
#include "qt_widgets/qt_tree_view.h"
#include "qt_widgets/reporting_file_system.h"
#include "support/test_platform.h"

#include <QApplication>
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
class OperatorOnQtWidgets : public ::testing::Test {
protected:
    // The example plant's navigation tree, shown in the style given and active.
    void showPlantTree(CiTreeWidget& tree, std::int32_t style)
    {
        tree.resize(300, 400);
        tree.setObjectFile(plantFile("plant.ini"));
        tree.setStyle(style);
        tree.show();
        QApplication::setActiveWindow(&tree);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&tree));
    }

    static QString plantFile(const char* name) { return QStringLiteral(VESTRAK_PLANT_FOLDER "/") + name; }

    static QModelIndexList rowsWithText(const QtTreeView& view, const QString& text)
    {
        return view.model()->match(
            view.model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly | Qt::MatchRecursive);
    }

    static void click(QtTreeView& view, const QString& text, Qt::MouseButton button = Qt::LeftButton)
    {
        const QModelIndexList found = rowsWithText(view, text);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        QTest::mouseClick(view.viewport(), button, {}, view.visualRect(found.first()).center());
    }

    std::u16string treeSetting(const char16_t* section, const char16_t* key)
    {
        return test.memoryStore.GetSetting(u"VestrakControls.CiTree", section, key);
    }

    LocalFileSystem files;
    vestrak::testing::TestPlatform test { files };
};

} // namespace

// Enter in the filter text switches the filter on; a row the filter keeps still tells where its
// object lies.
TEST_F(OperatorOnQtWidgets, TheFilterTextTakesEnterAsTheSwitch)
{
    CiTreeWidget tree(test.platform);
    showPlantTree(tree, 0x619);
    auto* filterBox = tree.findChild<QLineEdit*>();
    QTest::keyClicks(filterBox, "*2");
    QTest::keyClick(filterBox, Qt::Key_Return);
    EXPECT_EQ(filterBox->text(), "*2") << "Enter is not typed";
    EXPECT_EQ(treeSetting(u"PressedFilterButtons", u"FilterText")
            + treeSetting(u"PressedFilterButtons", u"FilterButton"),
        u"*21");
    test.clock.advance(200);
    QtTreeView& view = *tree.findChild<QtTreeView*>();
    EXPECT_TRUE(rowsWithText(view, "Screens").isEmpty()) << "the text filter leaves the branches out";
    const QModelIndexList pump = rowsWithText(view, "Intake Pump 2");
    ASSERT_FALSE(pump.isEmpty());
    EXPECT_EQ(pump.first().data(Qt::ToolTipRole), "Water Works / Intake Building / Screens / Intake Pump 2");
}

// Tab goes as the operator reads the control: the filter row, the group buttons, the tree, then
// the collapse strip down its right.
TEST_F(OperatorOnQtWidgets, TabFollowsTheControlsLayout)
{
    CiTreeWidget tree(test.platform);
    showPlantTree(tree, 0x618);
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

// The status tree's own widgets: its menu for the object under the mouse or beside the selected
// row, and its information box, read only and left by Tab.
TEST_F(OperatorOnQtWidgets, StatusTreeMenuAndInformationAnswerTheOperator)
{
    CiStatusWidget status(test.platform);
    status.resize(400, 300);
    status.setPopupMenuItem("Ack/Acknowledge alarm");
    status.setObjectFile(plantFile("status.ini"));
    status.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&status));
    QSignalSpy choices(&status, &CiStatusWidget::PopupMenuItemClick);
    QSignalSpy choiceChanges(&status, &CiStatusWidget::SelectedPopupMenuItemChanged);
    QtTreeView& view = *status.findChild<QtTreeView*>();
    click(view, "Water Works", Qt::RightButton);
    EXPECT_EQ(status.SelectedNode(), "Water Works") << "the menu is for the object under the mouse";
    auto* menu = status.findChild<QMenu*>();
    ASSERT_TRUE(menu && menu->isVisible() && !menu->actions().isEmpty());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().first()).center());
    EXPECT_EQ(status.SelectedPopupMenuItem(), "Ack");
    EXPECT_EQ(choices.count() + choiceChanges.count(), 2);
    EXPECT_FALSE(menu->isVisible());

    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Menu);
    ASSERT_TRUE(menu->isVisible()) << "the menu key opens the menu for the selected node";
    const QRect row = view.visualRect(view.currentIndex());
    EXPECT_NEAR(menu->pos().y(), view.viewport()->mapToGlobal(row.bottomLeft()).y(), 2) << "beside the row";
    menu->hide();

    auto* info = status.findChild<QPlainTextEdit*>();
    info->setFocus();
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
    std::ofstream(damaged.toStdString(), std::ios::binary)
        << std::string("[TreeObjects]\r\nP=1,Plant\r\n\0\0\r\nQ\0\r\n", 34);
    static QStringList reports;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type == QtWarningMsg && qstrcmp(context.category, "vestrak.controls") == 0)
                reports.append(message);
        });
    ReportingFileSystem reporting(files);
    vestrak::testing::TestPlatform reported(reporting);
    CiStatusWidget status(reported.platform);
    for (const QString& file : { QString("/nonexistent/objects.ini"), damaged }) {
        status.setObjectFile(file);
        status.setObjectFile(file);
    }
    CiTreeWidget tree(reported.platform);
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
