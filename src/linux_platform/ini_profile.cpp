#include "linux_platform/ini_profile.h"

#include "linux_platform/user_config_folder.h"
#include "text/encoding.h"
#include "text/line_cutter.h"
#include "text/text.h"

#include <algorithm>
#include <deque>
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

// The names and values of a profile file, read as its bytes: lines, blanks and the characters of
// its layout are single bytes in either encoding, so only the names and the value looked at are
// decoded.
class ProfileText {
public:
    explicit ProfileText(ObjectFileText::Encoding encoding)
        : m_Encoding(encoding)
    {
    }

    std::u16string decoded(std::string_view piece) const
    {
        if (isAscii(piece)) {
            return { piece.begin(), piece.end() };
        }
        std::u16string text;
        AppendDecoded(text, piece, m_Encoding);
        return text;
    }

    bool sameName(std::string_view name, const std::u16string& upperWanted) const
    {
        return ToUpper(decoded(name)) == upperWanted;
    }

    static bool isAscii(std::string_view piece)
    {
        return std::all_of(
            piece.begin(), piece.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
    }

private:
    ObjectFileText::Encoding m_Encoding;
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

// A line longer than a piece of the file is looked at as far as this: a file without line ends
// costs no more memory than that, whatever its size.
constexpr std::size_t MaxLineBytes = std::size_t { 1024 } * 1024;

// Hands the lines of the file, read in pieces, to scanner.line(bytes) until it returns false. The
// encoding the whole file is decoded with, known only at its end; nothing when it cannot be read.
template<typename Scanner>
std::optional<ObjectFileText::Encoding> ScanProfileFile(
    FileSystem& files, const std::u16string& path, Scanner& scanner)
{
    ObjectFileBytes text;
    Utf8Check check;
    bool checking = true;
    bool ended = false;
    LineCutter<Scanner> cutter(scanner);
    const auto add = [&](std::string_view bytes) {
        if (checking && text.mark() == ObjectFileBytes::Mark::None) {
            checking = check.add(bytes);
        }
        ended = !cutter.add(bytes);
        return !ended;
    };
    if (!files.readFileInPieces(path, [&](std::string_view piece) { return add(text.add(piece)); })) {
        return std::nullopt;
    }
    if (!ended && add(text.finish())) {
        cutter.finish();
    }
    const bool utf8 = text.mark() != ObjectFileBytes::Mark::None || check.valid();
    return utf8 ? ObjectFileText::Encoding::Utf8 : ObjectFileText::Encoding::Windows1252;
}

// Looks for the first entry of the key in the first section of that name, of a file whose
// encoding is known.
class ValueScanner {
public:
    ValueScanner(
        const std::u16string& upperSection, const std::u16string& upperKey, ObjectFileText::Encoding encoding)
        : m_UpperSection(upperSection)
        , m_UpperKey(upperKey)
        , m_Text(encoding)
    {
    }

    [[nodiscard]] static std::size_t wantedLineBytes() { return MaxLineBytes; }

    bool line(std::string_view bytes)
    {
        const ProfileLine line = ReadProfileLine(bytes);
        if (line.kind == ProfileLine::Kind::Section) {
            if (m_InSection) {
                return false;
            }
            m_InSection = m_Text.sameName(line.name, m_UpperSection);
        } else if (m_InSection && line.kind == ProfileLine::Kind::Entry
            && m_Text.sameName(line.name, m_UpperKey)) {
            m_Value = m_Text.decoded(line.value);
            return false;
        }
        return true;
    }

    [[nodiscard]] std::optional<std::u16string> value() && { return std::move(m_Value); }

private:
    const std::u16string& m_UpperSection;
    const std::u16string& m_UpperKey;
    ProfileText m_Text;
    bool m_InSection = false;
    std::optional<std::u16string> m_Value;
};

// The lines of one section, without its header: the first entry of the key.
std::optional<std::u16string> findValueInSection(
    const ProfileText& pieces, std::string_view section, const std::u16string& upperKey)
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

// One pass over a profile file, read in pieces: the first section of each name, with the lines of
// those small enough to keep, so that lookups need not read the file again while its stamp stays
// the same. A large section (the tree of an object file) is only marked, and so are the sections
// beyond what the index may hold (a file of countless headers): lookups in them read the file.
//
// A pass for one section may stop at the first large section after it, so that the values an
// object file keeps above its tree cost a look at its head, not a reading of the whole file. It
// stops only where the encoding, known at the end of a file, cannot change what it kept: every
// name and kept line up to there is plain ASCII. Such an index is partial: a section it lacks
// takes a pass over the whole file.
class IniProfile::FileIndex {
public:
    // Nothing when the file cannot be read. The pass reads the whole file unless a section is
    // wanted (upper-cased).
    static std::unique_ptr<FileIndex> read(FileSystem& files, const std::u16string& path,
        const std::optional<FileStamp>& stamp, std::optional<std::u16string> wantedSection)
    {
        auto index = std::unique_ptr<FileIndex>(new FileIndex(path, stamp, std::move(wantedSection)));
        const std::optional<ObjectFileText::Encoding> encoding = ScanProfileFile(files, path, *index);
        if (!encoding) {
            return nullptr;
        }
        // Every byte the partial index kept is ASCII, which either encoding reads alike.
        index->finish(index->m_Partial ? ObjectFileText::Encoding::Utf8 : *encoding);
        return index;
    }

    [[nodiscard]] const std::u16string& path() const { return m_Path; }
    // Only for an index that is not partial.
    [[nodiscard]] ObjectFileText::Encoding encoding() const { return m_Encoding; }
    [[nodiscard]] bool partial() const { return m_Partial; }

    [[nodiscard]] bool holds(const std::u16string& path, const FileStamp& stamp) const
    {
        return m_Stamp == stamp && m_Path == path;
    }

    // Nothing when the file has to be read for the answer.
    [[nodiscard]] std::optional<std::optional<std::u16string>> lookUp(
        const std::u16string& upperSection, const std::u16string& upperKey) const
    {
        const auto found = m_Sections.find(upperSection);
        if (found == m_Sections.end() && !m_Complete) {
            return std::nullopt;
        }
        if (found == m_Sections.end()) {
            return std::optional<std::u16string>();
        }
        if (!found->second.kept) {
            return std::nullopt;
        }
        return findValueInSection(ProfileText(m_Encoding),
            std::string_view(m_Kept).substr(found->second.offset, found->second.length), upperKey);
    }

    // For ScanProfileFile.
    [[nodiscard]] static std::size_t wantedLineBytes() { return MaxLineBytes; }
    bool line(std::string_view bytes)
    {
        const ProfileLine line = ReadProfileLine(bytes);
        if (line.kind != ProfileLine::Kind::Section) {
            return keepLine(bytes);
        }
        m_Open = nullptr;
        m_AsciiSoFar = m_AsciiSoFar && ProfileText::isAscii(line.name);
        if (!m_Complete || !spend(line.name.size() + SectionCost)) {
            m_Complete = false;
            return true;
        }
        m_Read.push_back({ std::string(line.name), { .kept = true, .offset = m_Kept.size() } });
        m_Open = &m_Read.back().second;
        if (!m_WantedFound && m_WantedSection && m_AsciiSoFar && SameAsciiName(line.name, *m_WantedSection)) {
            m_WantedFound = m_Open;
        }
        return true;
    }

private:
    // What the index may hold of a file, names and kept lines together.
    static constexpr std::size_t MaxIndexBytes = std::size_t { 1024 } * 1024;
    static constexpr std::size_t MaxKeptSectionBytes = std::size_t { 64 } * 1024;
    // What a section's entry costs beside its name.
    static constexpr std::size_t SectionCost = 64;

    struct Section {
        bool kept = false;
        std::size_t offset = 0;
        std::size_t length = 0;
    };

    FileIndex(
        std::u16string path, const std::optional<FileStamp>& stamp, std::optional<std::u16string> wanted)
        : m_Path(std::move(path))
        , m_Stamp(stamp.value_or(FileStamp {}))
        , m_WantedSection(std::move(wanted))
    {
    }

    static bool SameAsciiName(std::string_view name, const std::u16string& upperWanted)
    {
        return std::equal(name.begin(), name.end(), upperWanted.begin(), upperWanted.end(),
            [](char byte, char16_t unit) { return ToUpper(static_cast<char16_t>(byte)) == unit; });
    }

    // The wanted section lies whole, kept, in a part of the file that reads alike in either
    // encoding.
    [[nodiscard]] bool mayStopHere() const
    {
        return m_WantedFound && m_WantedFound != m_Open && m_WantedFound->kept && m_AsciiSoFar;
    }

    bool spend(std::size_t bytes)
    {
        if (bytes > MaxIndexBytes - m_Spent) {
            return false;
        }
        m_Spent += bytes;
        return true;
    }

    // False when the pass may stop: a large section begins after the wanted one.
    bool keepLine(std::string_view bytes)
    {
        if (!m_Open) {
            return true;
        }
        if (m_Open->length + bytes.size() + 1 > MaxKeptSectionBytes || !spend(bytes.size() + 1)) {
            m_Spent -= m_Open->length;
            m_Kept.resize(m_Open->offset);
            *m_Open = {};
            m_Open = nullptr;
            m_Partial = mayStopHere();
            m_Complete = m_Complete && !m_Partial;
            return !m_Partial;
        }
        m_AsciiSoFar = m_AsciiSoFar && ProfileText::isAscii(bytes);
        m_Kept.append(bytes);
        m_Kept.push_back('\n');
        m_Open->length += bytes.size() + 1;
        return true;
    }

    // Names can be compared only once the encoding is known; the first section of a name wins.
    void finish(ObjectFileText::Encoding encoding)
    {
        m_Open = nullptr;
        m_Encoding = encoding;
        const ProfileText text(encoding);
        for (auto& [name, section] : m_Read) {
            m_Sections.try_emplace(ToUpper(text.decoded(name)), section);
        }
        m_Read = {};
    }

    std::u16string m_Path;
    FileStamp m_Stamp;
    // The sections as read, before their names are decoded.
    std::deque<std::pair<std::string, Section>> m_Read;
    Section* m_Open = nullptr;
    std::size_t m_Spent = 0;
    bool m_Complete = true;
    // The section a partial pass is for, and the first of that name once read.
    std::optional<std::u16string> m_WantedSection;
    const Section* m_WantedFound = nullptr;
    bool m_AsciiSoFar = true;
    bool m_Partial = false;
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
    const auto kept = stamp ? std::find_if(m_Indexes.begin(), m_Indexes.end(),
                          [&](const auto& each) { return each->holds(path, *stamp); })
                            : m_Indexes.end();
    const FileIndex* index = kept == m_Indexes.end() ? nullptr : kept->get();
    std::optional<std::optional<std::u16string>> answer;
    if (index) {
        answer = index->lookUp(upperSection, upperKey);
    }
    // A file not read before may be read as far as the section asked for; a partial index that
    // lacks the section is replaced by one of the whole file.
    std::unique_ptr<FileIndex> unkept;
    if (!answer && (!index || index->partial())) {
        std::unique_ptr<FileIndex> fresh = FileIndex::read(
            m_Files, path, stamp, index ? std::nullopt : std::optional<std::u16string>(upperSection));
        if (!fresh) {
            return cutToBuffer(defaultValue, bufferSize);
        }
        index = fresh.get();
        answer = index->lookUp(upperSection, upperKey);
        if (stamp) {
            keep(std::move(fresh));
        } else {
            unkept = std::move(fresh);
        }
    }
    std::optional<std::u16string> value;
    if (answer) {
        value = *answer;
    } else {
        // A fresh index lives on in the kept indexes or in unkept, not in the scope that read it.
        // cppcheck-suppress invalidLifetime
        ValueScanner scanner(upperSection, upperKey, index->encoding());
        if (ScanProfileFile(m_Files, path, scanner)) {
            value = std::move(scanner).value();
        }
    }
    return cutToBuffer(std::move(value).value_or(defaultValue), bufferSize);
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
