#include "page_host/page_runner.h"

#include "page_host/closest_name.h"
#include "text/encoding.h"
#include "text/output_text.h"

#include <algorithm>
#include <fstream>
#include <limits>

namespace vestrak {

namespace {

constexpr std::size_t Unlimited = std::numeric_limits<std::size_t>::max();

std::string Quoted(std::u16string_view text)
{
    return "\"" + ToUtf8(text) + "\"";
}

std::string_view BlankTrimmed(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

} // namespace

PageRunner::PageRunner(WidgetSet& widgets, HostPlatform& platform, std::ostream& output)
    : m_Widgets(widgets)
    , m_Platform(platform)
    , m_Output(output)
{
}

PageRunner::~PageRunner()
{
    closePage();
}

const std::map<std::u16string, PageRunner::CommandSpec, std::less<>>& PageRunner::Commands()
{
    static const std::map<std::u16string, CommandSpec, std::less<>> commands {
        { u"create", { &PageRunner::create, 3, 3, "create NAME CiTree|CiStatus" } },
        { u"destroy", { &PageRunner::destroy, 2, 2, "destroy NAME" } },
        { u"size", { &PageRunner::size, 4, 5, "size NAME WIDTH HEIGHT [BORDER]" } },
        { u"set", { &PageRunner::set, 3, 3, "set NAME.Property VALUE" } },
        { u"get", { &PageRunner::get, 2, 2, "get NAME.Property" } },
        { u"tick", { &PageRunner::tick, 2, 2, "tick MS" } },
        { u"on", { &PageRunner::on, 3, Unlimited, "on NAME.Event COMMAND..." } },
        { u"tag", { &PageRunner::tag, 3, 3, "tag TAGNAME VALUE" } },
        { u"answer", { &PageRunner::answer, 2, 2, "answer NAME" } },
        { u"menu", { &PageRunner::menu, 3, 3, "menu NAME INDEX" } },
        { u"click", { &PageRunner::click, 2, 3, "click NAME.Widget [KEY|INDEX]" } },
        { u"rightclick", { &PageRunner::rightClick, 3, 3, "rightclick NAME.Tree KEY" } },
        { u"dblclick", { &PageRunner::doubleClick, 3, 3, "dblclick NAME.Widget KEY|INDEX" } },
        { u"expand", { &PageRunner::expand, 3, 3, "expand NAME.Tree KEY" } },
        { u"collapse", { &PageRunner::collapse, 3, 3, "collapse NAME.Tree KEY" } },
        { u"mousemove", { &PageRunner::mouseMove, 2, 2, "mousemove NAME.Tree" } },
        { u"scroll", { &PageRunner::scroll, 3, 3, "scroll NAME.Tree POSITION" } },
        { u"type", { &PageRunner::type, 3, 3, "type NAME.TextBox TEXT" } },
        { u"dump", { &PageRunner::dump, 2, 2, "dump NAME[.Widget]" } },
        { u"settings",
            { &PageRunner::settings, 2, 6,
                "settings APP | settings set APP SECTION KEY VALUE"
                " | settings delete APP SECTION [KEY]" } },
        { u"echo", { &PageRunner::echo, 1, Unlimited, "echo TEXT..." } },
    };
    return commands;
}

const PageRunner::CommandSpec& PageRunner::SpecOf(const Word& commandWord)
{
    const auto found = Commands().find(commandWord.text);
    if (found != Commands().end())
        return found->second;
    std::vector<std::u16string> names { u"write" };
    for (const auto& entry : Commands())
        names.push_back(entry.first);
    throw ScriptError("unknown command " + Quoted(commandWord.text) + DidYouMean(commandWord.text, names));
}

std::optional<ScriptFailure> PageRunner::run(const ScriptSource& script)
{
    for (std::size_t index = 0; index < script.lines.size() && !m_Failure; ++index) {
        const std::size_t lineNumber = index + 1;
        try {
            const std::u16string text = FromUtf8(script.lines[index]);
            if (IsSkippedLine(text))
                continue;
            const Command command { SplitWords(text), script.name, lineNumber };
            if (command.words.front().text == u"write")
                index = writeBlock(command, script, index);
            else
                execute(command);
        } catch (const ScriptError& error) {
            fail(script.name, lineNumber, error.what());
        }
    }
    return m_Failure;
}

void PageRunner::execute(const Command& command)
{
    const CommandSpec& spec = SpecOf(command.words.front());
    if (command.words.size() < spec.leastWords || command.words.size() > spec.mostWords)
        throw ScriptError("wrong number of arguments; use: " + std::string(spec.usage));
    (this->*spec.run)(command);
}

std::size_t PageRunner::writeBlock(const Command& command, const ScriptSource& script, std::size_t lineIndex)
{
    const std::vector<Word>& words = command.words;
    if (words.size() != 3 || words[2].quoted || !words[2].text.starts_with(u"<<") || words[2].text.size() < 3)
        throw ScriptError("wrong number of arguments; use: write PATH <<WORD");
    // The system would cut such a name short at the NUL and so write another file.
    if (words[1].text.find(u'\0') != std::u16string::npos)
        throw ScriptError("the file name " + QuotedText(words[1].text) + " holds a NUL character");
    const std::string endWord = ToUtf8(std::u16string_view(words[2].text).substr(2));
    std::string bytes;
    for (std::size_t index = lineIndex + 1; index < script.lines.size(); ++index) {
        if (BlankTrimmed(script.lines[index]) == endWord) {
            std::ofstream file(ToUtf8(words[1].text), std::ios::binary | std::ios::trunc);
            file << bytes;
            if (!file.flush())
                throw ScriptError("cannot write the file " + Quoted(words[1].text));
            return index;
        }
        bytes += DecodeBlockLine(script.lines[index]) + "\r\n";
    }
    throw ScriptError("unterminated write block: no line " + Quoted(words[2].text.substr(2)) + " ends it");
}

// What the page prints and reports passes here: no text from a script or a file reaches the
// terminal with its control characters.
void PageRunner::fail(const std::string& scriptName, std::size_t line, const std::string& message)
{
    if (!m_Failure)
        m_Failure = ScriptFailure { scriptName, line, PrintableText(message) };
}

void PageRunner::print(const std::string& line)
{
    // Once the page has failed it prints nothing more, so the error is its last word.
    if (!m_Failure)
        m_Output << PrintableText(line) << '\n';
}

HostedControl& PageRunner::controlNamed(const Word& name)
{
    const auto found = std::find_if(m_Controls.begin(), m_Controls.end(),
        [&name](const PlacedControl& placed) { return placed.name == name.text; });
    if (found == m_Controls.end())
        throw ScriptError("unknown control " + Quoted(name.text));
    return *found->control;
}

PageRunner::MemberName PageRunner::memberNamed(const Word& word)
{
    const std::size_t dot = word.text.find(u'.');
    if (dot == std::u16string::npos || dot + 1 == word.text.size())
        throw ScriptError("expected NAME.Member, found " + Quoted(word.text));
    const Word controlName { word.text.substr(0, dot), false };
    return MemberName { controlNamed(controlName), controlName.text, word.text.substr(dot + 1) };
}

PropertyBinding PageRunner::propertyNamed(const MemberName& name)
{
    std::optional<PropertyBinding> binding = name.control.property(name.member);
    if (!binding)
        throw ScriptError("unknown property " + Quoted(name.member) + " of " + ToUtf8(name.controlName) + " ("
            + ToUtf8(name.control.typeName()) + ")" + DidYouMean(name.member, name.control.propertyNames()));
    return *binding;
}

Widget& PageRunner::widgetNamed(const MemberName& name)
{
    Widget* widget = name.control.surface().widget(name.member);
    if (widget)
        return *widget;
    std::vector<std::u16string> widgetNames;
    for (const Widget* each : name.control.surface().widgets())
        widgetNames.push_back(each->name());
    throw ScriptError("unknown widget " + Quoted(name.member) + " of " + ToUtf8(name.controlName) + " ("
        + ToUtf8(name.control.typeName()) + ")" + DidYouMean(name.member, widgetNames));
}

std::int32_t PageRunner::NumberArgument(const Word& word)
{
    const std::optional<std::int64_t> number = ParseNumber(word.text);
    if (!number)
        throw ScriptError("bad number " + Quoted(word.text));
    if (*number < std::numeric_limits<std::int32_t>::min()
        || *number > std::numeric_limits<std::int32_t>::max())
        throw ScriptError("number out of range " + Quoted(word.text));
    return static_cast<std::int32_t>(*number);
}

void PageRunner::closePage()
{
    while (!m_Controls.empty()) {
        PlacedControl ending = std::move(m_Controls.front());
        m_ShownMenus.erase(ending.name);
        m_Controls.erase(m_Controls.begin());
        ending.control.reset();
    }
}

} // namespace vestrak
