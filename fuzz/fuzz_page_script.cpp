// The page-script reader on arbitrary bytes: lines, words with their quoting and escapes,
// numbers, control names and write-block lines, as the container reads a script before it runs
// a line. A script error is an answer, not a failure.
#include "page_host/script_error.h"
#include "page_host/script_source.h"
#include "page_host/script_words.h"
#include "text/encoding.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vestrak;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : SplitScriptLines(bytes)) {
        if (line.find('\n') != std::string::npos) {
            std::abort();
        }
        if (DecodeBlockLine(line).size() > line.size()) {
            std::abort();
        }
        const std::u16string text = FromUtf8(line);
        if (IsSkippedLine(text)) {
            continue;
        }
        try {
            for (const Word& word : SplitWords(text)) {
                if (!word.quoted && word.text.empty()) {
                    std::abort();
                }
                static_cast<void>(ParseNumber(word.text));
                static_cast<void>(IsControlName(word.text));
            }
        } catch (const ScriptError&) {
            continue;
        }
    }
    return 0;
}
