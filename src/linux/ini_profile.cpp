#include "linux/ini_profile.h"

#include "linux/user_config_folder.h"
#include "procs/encoding.h"
#include "procs/text.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
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
    // Pieces of a file whose encoding was settled before.
    explicit ProfileText(ObjectFileText::Encoding encoding)
        : m_EncodingKnown(true)
        , m_Encoding(encoding)
    {
    }

    [[nodiscard]] std::string_view bytes() const { return WithoutByteOrderMark(m_File); }

    ObjectFileText::Encoding encoding()
    {
        if (!m_EncodingKnown) {
            m_Encoding = DetectObjectFileEncoding(m_File).encoding;
            m_EncodingKnown = true;
        }
        return m_Encoding;
    }

    std::u16string decoded(std::string_view piece)
    {
        if (isAscii(piece)) {
            return { piece.begin(), piece.end() };
        }
        std::u16string text;
        AppendDecoded(text, piece, encoding());
        return text;
    }

    bool sameName(std::string_view name, const std::u16string& upperWanted)
    {
        return ToUpper(decoded(name)) == upperWanted;
    }

    static bool isAscii(std::string_view piece)
    {
        return std::all_of(
            piece.begin(), piece.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
    }

private:
    std::string_view m_File;
    bool m_EncodingKnown = false;
    ObjectFileText::Encoding m_Encoding = ObjectFileText::Encoding::Utf8;
};

// A line of a profile file as the lookups see it.
struct ProfileLine {
    enum class Kind { Ignored, Section, Entry };
    Kind kind = Kind::Ignored;
    // The section's or the key's name.
    std::string_view name;
    std::string_view value;
};

ProfileLine ReadProfileLine(std::string_view rawLine)
{
    const std::string_view line = trimBlanks(rawLine);
    if (line.empty() || line.front() == ';' || line.front() == '#') {
        return {};
    }
    const std::size_t closing = line.find(']');
    if (line.front() == '[' && closing != std::string_view::npos) {
        return { ProfileLine::Kind::Section, trimBlanks(line.substr(1, closing - 1)), {} };
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    std::string_view value = trimBlanks(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return { ProfileLine::Kind::Entry, trimBlanks(line.substr(0, equals)), value };
}

std::optional<std::u16string> findValue(
    ProfileText& contents, const std::u16string& upperSection, const std::u16string& upperKey)
{
    bool inSection = false;
    std::string_view rest = contents.bytes();
    while (const auto rawLine = TakeTextLine(rest)) {
        const ProfileLine line = ReadProfileLine(*rawLine);
        if (line.kind == ProfileLine::Kind::Section) {
            if (inSection) {
                return std::nullopt;
            }
            inSection = contents.sameName(line.name, upperSection);
        } else if (inSection && line.kind == ProfileLine::Kind::Entry
            && contents.sameName(line.name, upperKey)) {
            return contents.decoded(line.value);
        }
    }
    return std::nullopt;
}

// The lines of one section, without its header: the first entry of the key.
std::optional<std::u16string> findValueInSection(
    ProfileText& pieces, std::string_view section, const std::u16string& upperKey)
{
    while (const auto rawLine = TakeTextLine(section)) {
        const ProfileLine line = ReadProfileLine(*rawLine);
        if (line.kind == ProfileLine::Kind::Entry && pieces.sameName(line.name, upperKey)) {
            return pieces.decoded(line.value);
        }
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

// One pass over a profile file: the first section of each name, with the lines of those small
// enough to keep, so that lookups need not read the file again while its stamp stays the same.
// A large section (the tree of an object file) is only marked: lookups in it read the file.
class IniProfile::FileIndex {
public:
    FileIndex(std::u16string path, const FileStamp& stamp, std::string_view file)
        : m_Path(std::move(path))
        , m_Stamp(stamp)
    {
        ProfileText text(file);
        const std::string_view bytes = text.bytes();
        std::string_view rest = bytes;
        Section* open = nullptr;
        std::size_t openStart = 0;
        const auto close = [&](std::size_t end) {
            if (open && end - openStart <= MaxKeptSectionBytes) {
                open->kept = true;
                open->offset = m_Kept.size();
                open->length = end - openStart;
                m_Kept.append(bytes.substr(openStart, open->length));
            }
        };
        while (!rest.empty()) {
            const std::size_t lineStart = bytes.size() - rest.size();
            const auto rawLine = TakeTextLine(rest);
            const ProfileLine line = ReadProfileLine(*rawLine);
            if (line.kind != ProfileLine::Kind::Section) {
                continue;
            }
            close(lineStart);
            auto [place, isFirst] = m_Sections.try_emplace(ToUpper(text.decoded(line.name)));
            open = isFirst ? &place->second : nullptr;
            openStart = bytes.size() - rest.size();
        }
        close(bytes.size());
        if (!ProfileText::isAscii(m_Kept)) {
            m_Encoding = text.encoding();
        }
    }

    [[nodiscard]] const std::u16string& path() const { return m_Path; }

    [[nodiscard]] bool holds(const std::u16string& path, const FileStamp& stamp) const
    {
        return m_Stamp == stamp && m_Path == path;
    }

    // Nothing when the section is too large to have been kept.
    [[nodiscard]] std::optional<std::optional<std::u16string>> lookUp(
        const std::u16string& upperSection, const std::u16string& upperKey) const
    {
        const auto found = m_Sections.find(upperSection);
        if (found == m_Sections.end()) {
            return std::optional<std::u16string>();
        }
        if (!found->second.kept) {
            return std::nullopt;
        }
        ProfileText pieces(m_Encoding);
        return findValueInSection(
            pieces, std::string_view(m_Kept).substr(found->second.offset, found->second.length), upperKey);
    }

private:
    static constexpr std::size_t MaxKeptSectionBytes = std::size_t { 64 } * 1024;

    struct Section {
        bool kept = false;
        std::size_t offset = 0;
        std::size_t length = 0;
    };

    std::u16string m_Path;
    FileStamp m_Stamp;
    std::unordered_map<std::u16string, Section> m_Sections;
    std::string m_Kept;
    ObjectFileText::Encoding m_Encoding = ObjectFileText::Encoding::Utf8;
};

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

IniProfile::~IniProfile() = default;

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
    const std::u16string upperSection = ToUpper(section);
    const std::u16string upperKey = ToUpper(key);
    // Stamped before reading: a change after the stamp was taken makes the next stamp differ.
    const std::optional<FileStamp> stamp = m_Files.changeStamp(path);
    const auto index = stamp ? std::find_if(m_Indexes.begin(), m_Indexes.end(),
                           [&](const auto& each) { return each->holds(path, *stamp); })
                             : m_Indexes.end();
    std::optional<std::u16string> value;
    if (const auto kept
        = index == m_Indexes.end() ? std::nullopt : (*index)->lookUp(upperSection, upperKey)) {
        value = *kept;
    } else if (std::optional<std::string> bytes = m_Files.readFile(path)) {
        *bytes = WithUtf16AsUtf8(std::move(*bytes));
        if (stamp && index == m_Indexes.end()) {
            keep(std::make_unique<FileIndex>(path, *stamp, *bytes));
        }
        ProfileText contents(*bytes);
        value = findValue(contents, upperSection, upperKey);
    }
    if (value) {
        return cutToBuffer(std::move(*value), bufferSize);
    }
    return cutToBuffer(defaultValue, bufferSize);
}

void IniProfile::keep(std::unique_ptr<FileIndex> index)
{
    // A file's earlier index is stale now; the oldest of the others makes room.
    std::erase_if(m_Indexes, [&](const auto& each) { return each->path() == index->path(); });
    if (m_Indexes.size() == MaxKeptFiles) {
        m_Indexes.erase(m_Indexes.begin());
    }
    m_Indexes.push_back(std::move(index));
}

} // namespace vestrak
