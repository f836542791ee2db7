#include "linux_platform/local_file_system.h"
#include "linux_platform/sqlite_settings_store.h"
#include "qt_widgets/reporting_file_system.h"
#include "status_line.h"
#include "support/test_platform.h"
#include "window_widget_set.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QLabel>
#include <QProcess>
#include <QStatusBar>
#include <QWidget>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>

using namespace vestrak;

TEST(VestrakPage, APageMessageOutlastsEventLines)
{
    QStatusBar bar;
    std::int64_t now = 0;
    StatusLine status(bar, [&now] { return now; });
    status.showEventLine("t.NodeClick");
    EXPECT_TRUE(bar.currentMessage().endsWith("t.NodeClick"));
    status.showPageMessage("cannot read the object file plant.ini: there is no such file");
    now += StatusLine::PageMessageHoldMilliseconds - 1;
    status.showEventLine("s.GetStatus");
    EXPECT_TRUE(bar.currentMessage().endsWith("there is no such file"));
    now += 1;
    status.showEventLine("s.GetStatus");
    EXPECT_TRUE(bar.currentMessage().endsWith("s.GetStatus"));
}

TEST(VestrakPage, EveryUnreadableObjectFileStaysListedUntilItIsReadAgain)
{
    vestrak::testing::ScratchFiles files;
    ReportingFileSystem reporting(files);
    QStatusBar bar;
    StatusLine line(bar, [] { return std::int64_t { 0 }; });
    reporting.setProblemsChanged([&] { line.showFileProblems(reporting.problems()); });
    auto* listed = bar.findChild<QLabel*>();
    ASSERT_NE(listed, nullptr);
    const QString plant = QString::fromStdU16String(files.path("plant.ini"));
    const QString status = QString::fromStdU16String(files.path("status.ini"));
    reporting.readFile(files.path("plant.ini"));
    reporting.readFile(files.path("status.ini"));
    EXPECT_EQ(listed->text(),
        "Cannot read " + plant + ": there is no such file; " + status + ": there is no such file");
    reporting.readFile(files.write("plant.ini", "[TreeObjects]\n"));
    EXPECT_EQ(listed->text(), "Cannot read " + status + ": there is no such file");
    reporting.readFile(files.write("status.ini", "[TreeObjects]\n"));
    EXPECT_TRUE(listed->isHidden());
}

// Waits for the page to print the line; false when it ends or falls silent first.
bool WaitForLine(QProcess& page, const QByteArray& line)
{
    const QDeadlineTimer deadline(20000);
    QByteArray printed;
    while (!printed.contains(line + '\n')) {
        if (!page.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
        printed += page.readAllStandardOutput();
    }
    return true;
}

// A service stop, a logout or Ctrl+C shuts the page's controls down as closing its window does:
// the tree stores its scroll position, and the program still ends by the signal. The lines of
// the diagnostic log on the way carry the real date.
TEST(VestrakPage, AStoppingSignalShutsTheControlsDownAsClosingTheWindowDoes)
{
    for (const int signal : { SIGTERM, SIGHUP, SIGINT }) {
        SCOPED_TRACE(signal);
        const vestrak::testing::TemporaryFolder folder;
        std::ofstream objects(folder.path() / "plant.ini");
        objects << "[TreeObjects]\r\nP=1,Plant\r\n";
        for (int pump = 1; pump <= 30; ++pump)
            objects << "P" << pump << "=4,Pump\r\n";
        objects.close();
        const std::filesystem::path script = folder.path() / "stop.page";
        std::ofstream(script) << "create t CiTree\nsize t 4800 2000\nset t.ObjectFile "
                              << (folder.path() / "plant.ini").string()
                              << "\nset t.Style 0x11018\nexpand t.TreeView_Objects P/0\n"
                                 "scroll t.TreeView_Objects 7\necho ready\n";
        QProcess page;
        page.setEnvironment(QProcess::systemEnvironment()
            << "VESTRAK_COMMON_APPDATA=" + QString::fromStdString(folder.path().string())
            << "VESTRAK_SETTINGS=" + QString::fromStdString((folder.path() / "settings.sqlite").string()));
        const QString startDate = QDate::currentDate().toString(Qt::ISODate);
        page.start(QStringLiteral(VESTRAK_PAGE_PROGRAM), { QString::fromStdString(script.string()) });
        ASSERT_TRUE(WaitForLine(page, "ready")) << page.readAllStandardError().toStdString();
        kill(static_cast<pid_t>(page.processId()), signal);
        ASSERT_TRUE(page.waitForFinished(20000));
        EXPECT_EQ(std::pair(page.exitStatus(), page.exitCode()), std::pair(QProcess::CrashExit, signal));

        SqliteSettingsStore store(folder.path() / "settings.sqlite");
        EXPECT_EQ(store.GetSetting(u"VestrakControls.CiTree", u"Settings", u"ScrollPosition"), u"7");
        std::ifstream log(folder.path() / "Vestrak/VestrakControls/VestrakControls.log");
        std::string firstLine;
        std::getline(log, firstLine);
        const QString logDate = QString::fromStdString(firstLine.substr(0, 10));
        EXPECT_TRUE(logDate == startDate || logDate == QDate::currentDate().toString(Qt::ISODate))
            << firstLine;
    }
}

TEST(VestrakPage, ControlsShareOutALargerWindow)
{
    QWidget area;
    WindowWidgetSet widgets(area);
    std::vector<const ControlSurface*> laidOut;
    widgets.setResizeHandling([&laidOut](ControlSurface& surface) { laidOut.push_back(&surface); });
    LocalFileSystem files;
    const std::unique_ptr<ControlSurface> tree = widgets.createSurface(files, 3000, 3600, 0);
    const std::unique_ptr<ControlSurface> status = widgets.createSurface(files, 6000, 3600, 0);
    auto* treeWidget = dynamic_cast<QWidget*>(tree.get());
    auto* statusWidget = dynamic_cast<QWidget*>(status.get());
    area.show();
    area.resize(12 + 400 + 12 + 800 + 12, 600);
    widgets.arrange();
    EXPECT_EQ(treeWidget->size() + statusWidget->size(), QSize(1200, 2 * 576))
        << "a third of the spare width, the full height";
    EXPECT_EQ(status->outerWidth(), 800 * 15);
    EXPECT_EQ(laidOut, (std::vector<const ControlSurface*> { tree.get(), status.get() }));

    tree->setOuterWidth(195);
    tree->setOuterHeight(225);
    EXPECT_EQ(statusWidget->x(), 12 + 400 + 12) << "a collapsing tree moves nothing beside it";
    area.resize(100, 100);
    widgets.arrange();
    EXPECT_EQ(treeWidget->width(), 13) << "a control that sized itself keeps its size";
    EXPECT_EQ(statusWidget->size(), QSize(400, 240)) << "back to the page's size";
    EXPECT_EQ(statusWidget->x(), 12 + 200 + 12) << "the collapsed tree keeps the page's room";
    widgets.resize(*tree, 2400, 3600, 0);
    EXPECT_LT(statusWidget->x(), 12 + 200 + 12) << "the page's own size counts";
}
