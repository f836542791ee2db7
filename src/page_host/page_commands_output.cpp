// Looking at widgets, the settings store, and plain text.
#include "page_host/page_runner.h"
#include "page_host/widget_dump.h"
#include "text/encoding.h"
#include "text/output_text.h"

namespace vestrak {

void PageRunner::dump(const Command& command)
{
    const Word& target = command.words[1];
    if (target.text.find(u'.') == std::u16string::npos) {
        print(DumpControl(target.text, controlNamed(target).surface()));
        return;
    }
    const MemberName name = memberNamed(target);
    for (const std::string& line : DumpWidget(name.controlName, widgetNamed(name)))
        print(line);
}

void PageRunner::settings(const Command& command)
{
    const std::vector<Word>& words = command.words;
    SettingsStore& store = m_Platform.settings();
    if (words.size() == 2) {
        for (const SettingsEntryView entry : store.entries(words[1].text))
            print(QuotedText(entry.section) + " " + QuotedText(entry.key) + " = " + QuotedText(entry.value));
    } else if (words[1].text == u"set" && words.size() == 6) {
        store.SaveSetting(words[2].text, words[3].text, words[4].text, words[5].text);
    } else if (words[1].text == u"delete" && words.size() == 5) {
        store.DeleteSetting(words[2].text, words[3].text, words[4].text);
    } else if (words[1].text == u"delete" && words.size() == 4) {
        store.DeleteSetting(words[2].text, words[3].text);
    } else {
        throw ScriptError("wrong number of arguments; use: settings APP | settings set APP SECTION KEY VALUE"
                          " | settings delete APP SECTION [KEY]");
    }
}

void PageRunner::echo(const Command& command)
{
    std::u16string text;
    for (std::size_t index = 1; index < command.words.size(); ++index) {
        if (index > 1)
            text += u' ';
        text += command.words[index].text;
    }
    print(ToUtf8(text));
}

} // namespace vestrak
