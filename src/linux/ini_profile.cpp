#include "linux/ini_profile.h"

#include "linux/user_config_folder.h"
#include "procs/encoding.h"
#include "procs/text.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace vestrak {

namespace {

bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A profile file read as its bytes: lines, blanks and the characters of its layout are single
// bytes in either encoding, so only the names and the value looked at are decoded. Which
// encoding applies is settled only for a piece that holds a byte beyond ASCII, so most lookups
// never check the whole file.
class ProfileText {
public:
    explicit ProfileText(std::string_view file)
        : m_File(file)
    {
    }

    [[nodiscard]] std::string_view bytes() const { return WithoutByteOrderMark(m_File); }

    std::u16string decoded(std::string_view piece)
    {
        const bool ascii = std::all_of(
            piece.begin(), piece.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
        if (ascii) {
            return { piece.begin(), piece.end() };
        }
        if (!m_EncodingKnown) {
            m_Encoding = DetectObjectFileEncoding(m_File).encoding;
            m_EncodingKnown = true;
        }
        std::u16string text;
        AppendDecoded(text, piece, m_Encoding);
        return text;
    }

    bool sameName(std::string_view name, const std::u16string& upperWanted)
    {
        return ToUpper(decoded(name)) == upperWanted;
    }

private:
    std::string_view m_File;
    bool m_EncodingKnown = false;
    ObjectFileText::Encoding m_Encoding = ObjectFileText::Encoding::Utf8;
};

std::optional<std::u16string> findValue(
    ProfileText& contents, const std::u16string& section, const std::u16string& key)
{
    const std::u16string upperSection = ToUpper(section);
    const std::u16string upperKey = ToUpper(key);
    bool inSection = false;
    std::string_view rest = contents.bytes();
    while (const auto rawLine = TakeTextLine(rest)) {
        const std::string_view line = trimBlanks(*rawLine);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        const std::size_t closing = line.find(']');
        if (line.front() == '[' && closing != std::string_view::npos) {
            if (inSection) {
                return std::nullopt;
            }
            inSection = contents.sameName(trimBlanks(line.substr(1, closing - 1)), upperSection);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos
            || !contents.sameName(trimBlanks(line.substr(0, equals)), upperKey)) {
            continue;
        }
        std::string_view value = trimBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        return contents.decoded(value);
    }
    return std::nullopt;
}

std::u16string cutToBuffer(std::u16string text, std::size_t bufferSize)
{
    if (bufferSize == 0) {
        return {};
    }
    if (text.size() > bufferSize - 1) {
        std::size_t length = bufferSize - 1;
        const bool splitsPair = length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF;
        text.resize(splitsPair ? length - 1 : length);
    }
    return text;
}

std::u16string folderOf(const std::u16string& path)
{
    const std::size_t slash = path.rfind(u'/');
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
}

} // namespace

std::u16string IniProfile::defaultUserProfile()
{
    auto configured = environmentPath("VESTRAK_PROFILE");
    if (configured.empty()) {
        configured = userConfigFolder() / "win.ini";
    }
    return FromUtf8(configured.string());
}

IniProfile::IniProfile(FileSystem& files, std::u16string userProfile)
    : m_Files(files)
    , m_UserProfile(std::move(userProfile))
{
}

std::u16string IniProfile::userProfileString(const std::u16string& section, const std::u16string& key,
    const std::u16string& defaultValue, std::size_t bufferSize)
{
    return lookUp(section, key, defaultValue, m_UserProfile, bufferSize);
}

std::u16string IniProfile::privateProfileString(const std::u16string& section, const std::u16string& key,
    const std::u16string& defaultValue, const std::u16string& fileName, std::size_t bufferSize)
{
    if (fileName.empty()) {
        return cutToBuffer(defaultValue, bufferSize);
    }
    const bool absolute = fileName.front() == u'/';
    return lookUp(
        section, key, defaultValue, absolute ? fileName : folderOf(m_UserProfile) + fileName, bufferSize);
}

std::u16string IniProfile::lookUp(const std::u16string& section, const std::u16string& key,
    const std::u16string& defaultValue, const std::u16string& path, std::size_t bufferSize)
{
    const std::optional<std::string> bytes = m_Files.readFile(path);
    std::optional<std::u16string> value;
    if (bytes) {
        ProfileText contents(*bytes);
        value = findValue(contents, section, key);
    }
    if (value) {
        return cutToBuffer(std::move(*value), bufferSize);
    }
    return cutToBuffer(defaultValue, bufferSize);
}

} // namespace vestrak
