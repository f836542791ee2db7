#pragma once

#include "../export.h"
#include "../ports/file_system.h"
#include "../ports/profile.h"

#include <memory>
#include <string>
#include <vector>

namespace vestrak {

/// Profile lookups on Linux, read with a reader of our own.
///
/// The user's profile is $VESTRAK_PROFILE when set, otherwise win.ini in the user's
/// configuration folder; a relative file name given to privateProfileString is resolved in the
/// folder of that profile, so a configuration file such as "Citect.INI" sits beside it.
///
/// The files are read as object files are (UTF-8 when valid, else Windows-1252) and:
/// - a line ends at CR LF, a lone CR or a lone LF;
/// - blanks (spaces and tabs) around a line, a section name, a key and a value are ignored;
/// - a line starting with ";" or "#" is a comment;
/// - "[name]" opens a section (text after the "]" is ignored); "key=value" is an entry, split at
///   the first "="; lines without "=" and entries before the first section are ignored;
/// - section and key names are matched without regard to case;
/// - only the first section of a name is looked at, and in it the first entry of a key, as the
///   object file's section reader does;
/// - a value enclosed in a matching pair of double quotes loses them;
/// - a missing file, section or key gives the default; the result (value or default) is cut to
///   bufferSize - 1 code units without splitting a surrogate pair; a buffer size of 0 gives "".
///
/// Files are read in pieces, so memory follows the sections kept, not the file; a line is looked
/// at as far as its first megabyte. What a pass over a file found is kept while the file's stamp
/// stays the same, for the last few files looked at, so that a control asking for many values of
/// one file reads it once. The first pass over a file may stop at the first section too large to
/// keep after the section asked for, when everything up to there is plain ASCII: the values an
/// object file keeps above its tree then cost a look at its head. A section such a pass did not
/// reach takes a pass over the whole file.
class VESTRAK_CONTROLS_EXPORT IniProfile : public Profile {
public:
    /// $VESTRAK_PROFILE when set, otherwise win.ini in the user's configuration folder.
    static std::u16string defaultUserProfile();

    /// Looks up profiles through files; userProfile is the user's profile file.
    explicit IniProfile(FileSystem& files, std::u16string userProfile = defaultUserProfile());
    ~IniProfile() override;
    IniProfile(const IniProfile&) = delete;
    IniProfile& operator=(const IniProfile&) = delete;

    std::u16string userProfileString(const std::u16string& section, const std::u16string& key,
        const std::u16string& defaultValue, std::size_t bufferSize) override;
    std::u16string privateProfileString(const std::u16string& section, const std::u16string& key,
        const std::u16string& defaultValue, const std::u16string& fileName, std::size_t bufferSize) override;

private:
    class FileIndex;
    static constexpr std::size_t MaxKeptFiles = 4;

    std::u16string lookUp(const std::u16string& section, const std::u16string& key,
        const std::u16string& defaultValue, const std::u16string& path, std::size_t bufferSize);
    void keep(std::unique_ptr<FileIndex> index);

    FileSystem& m_Files;
    std::u16string m_UserProfile;
    std::vector<std::unique_ptr<FileIndex>> m_Indexes;
};

} // namespace vestrak
