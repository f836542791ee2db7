#pragma once

#include "page_host/host_platform.h"
#include "page_host/hosted_control.h"
#include "page_host/script_error.h"
#include "page_host/script_source.h"
#include "page_host/script_words.h"
#include "page_host/widget_set.h"
#include "ports/popup_menu.h"
#include "ports/signal.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace vestrak {

// Runs page scripts: places controls, sets and reads their properties, plays operator actions,
// lets virtual time pass and prints every event. Several scripts run by one runner form one
// page: controls, event handlers and tags stay from one script to the next.
class PageRunner {
public:
    // The status of a tag that the page's own table does not hold.
    using TagSource = std::function<std::int32_t(const std::u16string& tag)>;

    PageRunner(WidgetSet& widgets, HostPlatform& platform, std::ostream& output);
    ~PageRunner();
    PageRunner(const PageRunner&) = delete;
    PageRunner& operator=(const PageRunner&) = delete;

    // Runs the script's lines in order up to the first line that is not a valid command (in the
    // script itself or in an event handler it set up), which it returns; nothing when all ran.
    std::optional<ScriptFailure> run(const ScriptSource& script);
    // Ends the controls still placed, in the order they were created.
    void closePage();
    // From now on `answer` answers the tags missing from the page's table from this source. A
    // page with a source is fed live: each status tree on it, placed before or after, ranks
    // unknown above green (CiStatus::BehaviourUnknownAboveGood) whatever Behaviour the page
    // sets, since a fed tag is unknown when its data is lost.
    void setTagSource(TagSource source);
    // The page's own value of the tag gives way to the tag source again.
    void forgetTag(const std::u16string& tag);
    // The widget set resized a surface by itself (it follows a window): the control on it, if
    // any, lays itself out again.
    void surfaceResized(ControlSurface& surface);

private:
    struct Command {
        std::vector<Word> words;
        std::string scriptName;
        std::size_t line = 0;
    };
    struct CommandSpec {
        void (PageRunner::*run)(const Command&) = nullptr;
        std::size_t leastWords = 0;
        std::size_t mostWords = 0;
        const char* usage = "";
    };
    struct PlacedControl {
        std::u16string name;
        std::unique_ptr<HostedControl> control;
        // Its events print until it has gone, its shut-down included.
        Connections events;
    };
    struct MemberName {
        HostedControl& control;
        std::u16string controlName;
        std::u16string member;
    };

    static const std::map<std::u16string, CommandSpec, std::less<>>& Commands();
    static const CommandSpec& SpecOf(const Word& commandWord);

    // Running lines
    void execute(const Command& command);
    std::size_t writeBlock(const Command& command, const ScriptSource& script, std::size_t lineIndex);
    void fail(const std::string& scriptName, std::size_t line, const std::string& message);
    void print(const std::string& line);

    // Looking things up; each throws ScriptError when the script names something that is not there
    HostedControl& controlNamed(const Word& name);
    MemberName memberNamed(const Word& word);
    PropertyBinding propertyNamed(const MemberName& name);
    Widget& widgetNamed(const MemberName& name);
    static std::int32_t NumberArgument(const Word& word);

    // Events
    [[nodiscard]] Connections connectEvents(const std::u16string& name, HostedControl& control);
    void eventRaised(const std::u16string& controlName, const std::u16string& eventName);
    void menuShown(const std::u16string& controlName, PopupMenu& menu);
    void runHandlers(const std::u16string& controlName, const std::u16string& eventKey);

    // Commands: controls and properties
    void create(const Command& command);
    void destroy(const Command& command);
    void size(const Command& command);
    void set(const Command& command);
    void get(const Command& command);
    void tick(const Command& command);
    // Commands: events and status answers
    void on(const Command& command);
    void tag(const Command& command);
    void answer(const Command& command);
    void menu(const Command& command);
    // Commands: operator actions
    void click(const Command& command);
    void rightClick(const Command& command);
    void doubleClick(const Command& command);
    void expand(const Command& command);
    void collapse(const Command& command);
    void mouseMove(const Command& command);
    void scroll(const Command& command);
    void type(const Command& command);
    // Commands: looking, settings, text
    void dump(const Command& command);
    void settings(const Command& command);
    void echo(const Command& command);

    void rankUnknownAboveGoodWhenFedLive(HostedControl& control);
    void reportUnavailable(const MemberName& name);
    // The operator's action on the tree the command names; false from it is reported as not
    // available.
    template<typename Action> void actOnTree(const Command& command, Action action);

    WidgetSet& m_Widgets;
    HostPlatform& m_Platform;
    std::ostream& m_Output;
    std::vector<PlacedControl> m_Controls;
    // "NAME.Event" to the commands that run when it is raised
    std::map<std::u16string, std::vector<Command>> m_Handlers;
    std::map<std::u16string, std::int32_t> m_Tags;
    TagSource m_TagSource;
    // Per control, the popup menu it showed last and that has not been chosen from yet
    std::map<std::u16string, PopupMenu*> m_ShownMenus;
    // Controls whose events are running handlers now, innermost last
    std::vector<std::u16string> m_RaisingControls;
    std::optional<ScriptFailure> m_Failure;
};

} // namespace vestrak
