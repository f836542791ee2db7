// vestrak-page: runs a page script live in a window, on the Qt widgets with real time.
#include "linux_platform/large_blocks.h"
#include "live_page.h"
#include "page_feed.h"
#include "page_host_qt/qt_application.h"
#include "page_options.h"
#include "qt_widgets/controls_log.h"
#include "status_line.h"
#include "stop_signals.h"
#include "window_widget_set.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <iostream>

namespace {

using namespace vestrak;

constexpr int UsageProblem = 2;
const QString ExamplePage = QStringLiteral("examples/plant/plant.page");

// The example page names its files from the repository's top folder: look for it from the
// current folder and from the program's folder upwards, and work from there.
std::optional<std::string> FindExamplePage(const QString& programFolder)
{
    for (const QString& start : { QDir::currentPath(), programFolder }) {
        for (QDir folder(start);;) {
            if (QFileInfo::exists(folder.filePath(ExamplePage))) {
                QDir::setCurrent(folder.path());
                return ExamplePage.toStdString();
            }
            if (!folder.cdUp())
                break;
        }
    }
    return std::nullopt;
}

// What the controls report on their log category goes to standard error and the status bar;
// every other message to Qt's own handler.
StatusLine* ControlsReportsShownOn = nullptr;
QtMessageHandler OtherMessages = nullptr;

void ShowControlsReport(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (ControlsReportsShownOn && qstrcmp(context.category, vestrakControls().categoryName()) == 0) {
        std::cerr << "vestrak-page: " << message.toStdString() << std::endl;
        ControlsReportsShownOn->showPageMessage(message);
        return;
    }
    OtherMessages(type, context, message);
}

int RunPage(int argc, char** argv)
{
    HandLargeBlocksBackToTheSystem();
    const ParsedPageOptions parsed = ParsePageOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.helpWanted) {
        std::cout
            << PageUsage
            << "\nRuns a page script live in a window on the Qt widgets; without PAGE the example plant.\n"
               "  --screenshot FILE  render offscreen, save the window to FILE after MS milliseconds\n"
               "                     (--after, default 3000) and exit.\n"
               "  --mqtt URL         answer the status queries from an MQTT broker (docs/mqtt-feed.md).\n"
               "  --sparkplug URL    answer them from Sparkplug B edge nodes (docs/sparkplug-feed.md).\n"
               "See vestrak-page(1).\n";
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "vestrak-page: " << parsed.problem << '\n' << PageUsage;
        return UsageProblem;
    }
    PageOptions options = *parsed.options;
    if (!options.screenshotFile.empty() && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QApplication> application = startQtApplication(argc, argv);

    if (!options.screenshotFile.empty())
        options.screenshotFile
            = QFileInfo(QString::fromStdString(options.screenshotFile)).absoluteFilePath().toStdString();
    if (options.page.empty()) {
        const std::optional<std::string> example = FindExamplePage(QCoreApplication::applicationDirPath());
        if (!example) {
            std::cerr << "vestrak-page: cannot find " << ExamplePage.toStdString() << "; name a page\n";
            return UsageProblem;
        }
        options.page = *example;
    }
    std::optional<ScriptSource> script = ReadScriptFile(options.page);
    if (!script) {
        std::cerr << "vestrak-page: cannot read the page " << options.page << '\n';
        return UsageProblem;
    }

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("%1 - VestrakControls")
                              .arg(QFileInfo(QString::fromStdString(options.page)).fileName()));
    auto* scroller = new QScrollArea(&window);
    // A click on a control's button that takes no focus must not hand it to the scroll area.
    scroller->setFocusPolicy(Qt::NoFocus);
    auto* area = new QWidget(scroller);
    scroller->setWidget(area);
    scroller->setWidgetResizable(true);
    // The controls take the keyboard; the scroll area itself is no tab stop.
    scroller->setFocusPolicy(Qt::NoFocus);
    window.setCentralWidget(scroller);
    const StopSignals stopSignals([&window] {
        window.close();
        QCoreApplication::exit(0);
    });
    QStatusBar& bar = *window.statusBar();
    QElapsedTimer running;
    running.start();
    StatusLine status(bar, [&running] { return running.elapsed(); });
    ControlsReportsShownOn = &status;
    OtherMessages = qInstallMessageHandler(ShowControlsReport);

    WindowWidgetSet widgets(*area);
    LivePage page(
        widgets, *script,
        [&status](const std::string& line) {
            std::cout << line << std::endl;
            status.showEventLine(QString::fromStdString(line));
        },
        [&status](const std::string& failure) {
            std::cerr << failure << std::endl;
            status.showPageMessage(QString::fromStdString(failure));
        });
    widgets.setResizeHandling([&page](ControlSurface& surface) { page.runner().surfaceResized(surface); });
    page.controlFiles().setProblemsChanged(
        [&status, &page] { status.showFileProblems(page.controlFiles().problems()); });
    PageFeed::Created feed;
    if (!options.feed.url.empty()) {
        // The broker's state stays in view beside the page's passing lines.
        auto* feedState = new QLabel(&bar);
        bar.addPermanentWidget(feedState);
        feed = PageFeed::Create(
            options.feed, page.runner(), [feedState](const QString& state) { feedState->setText(state); });
        if (!feed.feed) {
            std::cerr << "vestrak-page: " << feed.problem << '\n';
            return UsageProblem;
        }
        feed.feed->start();
    }
    page.start();
    window.resize(area->minimumSize().expandedTo(QSize(480, 240)) + QSize(24, 48));
    window.show();

    if (!options.screenshotFile.empty()) {
        QTimer::singleShot(options.screenshotAfterMilliseconds, &window, [&] {
            const bool saved = window.grab().save(QString::fromStdString(options.screenshotFile));
            std::cerr << (saved ? "vestrak-page: wrote " : "vestrak-page: could not write ")
                      << options.screenshotFile << '\n';
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    const int exitCode = QApplication::exec();
    // The page ends first: the controls it closes must not be laid out on their way.
    widgets.setResizeHandling(nullptr);
    qInstallMessageHandler(OtherMessages);
    ControlsReportsShownOn = nullptr;
    return exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    const int exitCode = RunPage(argc, argv);
    StopSignals::EndAsTheSignalWould();
    return exitCode;
}
