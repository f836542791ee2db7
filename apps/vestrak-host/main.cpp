// vestrak-host: runs page scripts against the controls, on in-memory or Qt widgets, in virtual time.
#include "headless/memory_settings_store.h"
#include "host_options.h"
#include "linux_platform/large_blocks.h"
#include "linux_platform/sqlite_settings_store.h"
#include "page_host/headless_widget_set.h"
#include "page_host/host_platform.h"
#include "page_host/page_runner.h"
#include "page_host_qt/qt_application.h"
#include "page_host_qt/qt_widget_set.h"

#include <iostream>

namespace {

constexpr int ScriptFailed = 2;
constexpr int SettingsLost = 3;

using namespace vestrak;

std::optional<std::vector<ScriptSource>> ReadScripts(const std::vector<std::string>& names)
{
    std::vector<ScriptSource> scripts;
    for (const std::string& name : names) {
        if (name == "-") {
            scripts.push_back(ReadScriptStream(std::cin, name));
            continue;
        }
        std::optional<ScriptSource> script = ReadScriptFile(name);
        if (!script) {
            std::cerr << "vestrak-host: cannot read the script " << name << '\n';
            return std::nullopt;
        }
        scripts.push_back(std::move(*script));
    }
    return scripts;
}

std::unique_ptr<SettingsStore> MakeSettingsStore(const std::string& settingsFile)
{
    if (settingsFile.empty())
        return std::make_unique<MemorySettingsStore>();
    return std::make_unique<SqliteSettingsStore>(settingsFile);
}

// The widgets of the page, with the application the Qt widgets live in.
struct PageWidgets {
    std::unique_ptr<QApplication> application;
    std::unique_ptr<WidgetSet> widgets;
};

PageWidgets MakePageWidgets(WidgetSetChoice choice, int& argc, char** argv)
{
    if (choice == WidgetSetChoice::Headless)
        return PageWidgets { nullptr, std::make_unique<HeadlessWidgetSet>() };
    // Standard error belongs to the transcript, so Qt's own notes stay out of it.
    silenceQtDiagnostics();
    return PageWidgets { startQtApplication(argc, argv), std::make_unique<QtWidgetSet>() };
}

void ReportFailure(const ScriptFailure& failure, bool severalScripts)
{
    std::cerr << "error: line " << failure.line << ": " << failure.message;
    if (severalScripts)
        std::cerr << " (in " << failure.scriptName << ")";
    std::cerr << '\n';
}

int RunPage(const HostOptions& options, const std::vector<ScriptSource>& scripts, int& argc, char** argv)
{
    const PageWidgets widgets = MakePageWidgets(options.widgets, argc, argv);
    std::unique_ptr<SettingsStore> store = MakeSettingsStore(options.settingsFile);
    auto* fileStore = dynamic_cast<SqliteSettingsStore*>(store.get());
    HostPlatform platform(std::move(store), options.clockStartSeconds);
    PageRunner page(*widgets.widgets, platform, std::cout);
    std::optional<ScriptFailure> failure;
    for (const ScriptSource& script : scripts) {
        failure = page.run(script);
        if (failure)
            break;
    }
    page.closePage();
    std::cout.flush();
    // The store says itself what it could not write.
    const bool settingsKept = !fileStore || fileStore->flush();
    if (failure) {
        ReportFailure(*failure, scripts.size() > 1);
        return ScriptFailed;
    }
    return settingsKept ? 0 : SettingsLost;
}

} // namespace

int main(int argc, char** argv)
{
    HandLargeBlocksBackToTheSystem();
    const ParsedOptions parsed = ParseHostOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.helpWanted) {
        std::cout << HostUsage;
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "vestrak-host: " << parsed.problem << '\n' << HostUsage;
        return ScriptFailed;
    }
    const std::optional<std::vector<ScriptSource>> scripts = ReadScripts(parsed.options->scripts);
    if (!scripts)
        return ScriptFailed;
    return RunPage(*parsed.options, *scripts, argc, argv);
}
