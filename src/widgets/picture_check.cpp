#include "widgets/picture_check.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vestrak {

namespace {

using namespace std::string_view_literals;

struct Signature {
    PictureFormat format;
    std::string_view bytes;
};

constexpr std::array<Signature, 5> Signatures { {
    { PictureFormat::Bmp, "BM"sv },
    { PictureFormat::Jpeg, "\xFF\xD8\xFF"sv },
    { PictureFormat::Gif, "GIF8"sv },
    { PictureFormat::Tiff, "II*\0"sv },
    { PictureFormat::Tiff, "MM\0*"sv },
} };

// A BMP file header, then an information header that starts with its own size; version 5 of it,
// the largest, has 124 bytes.
constexpr std::size_t BmpFileHeaderBytes = 14;
constexpr std::array<std::uint32_t, 8> BmpInformationHeaderBytes { 12, 16, 40, 52, 56, 64, 108, 124 };
constexpr std::size_t LongestHeaderBytes = BmpFileHeaderBytes + BmpInformationHeaderBytes.back();
// The start of a JPEG image, the first segment's marker and its length, which counts itself.
constexpr std::size_t JpegHeaderBytes = 6;
// "GIF87a" or "GIF89a" and the logical screen descriptor.
constexpr std::size_t GifHeaderBytes = 13;
// The byte order, the number 42 and where the first image directory starts, after these bytes.
constexpr std::size_t TiffHeaderBytes = 8;

std::uint32_t Byte(std::string_view bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes[at]);
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t count)
{
    std::uint32_t number = 0;
    for (std::size_t index = count; index-- > 0;)
        number = number << 8 | Byte(bytes, at + index);
    return number;
}

std::uint32_t BigEndian(std::string_view bytes, std::size_t at, std::size_t count)
{
    std::uint32_t number = 0;
    for (std::size_t index = 0; index < count; ++index)
        number = number << 8 | Byte(bytes, at + index);
    return number;
}

enum class Header { Whole, CutShort, Damaged };

Header BmpHeader(std::string_view head)
{
    if (head.size() < BmpFileHeaderBytes + 4)
        return Header::CutShort;
    const std::uint32_t informationBytes = LittleEndian(head, BmpFileHeaderBytes, 4);
    if (std::find(BmpInformationHeaderBytes.begin(), BmpInformationHeaderBytes.end(), informationBytes)
        == BmpInformationHeaderBytes.end())
        return Header::Damaged;
    return head.size() < BmpFileHeaderBytes + informationBytes ? Header::CutShort : Header::Whole;
}

Header JpegHeader(std::string_view head)
{
    if (head.size() < JpegHeaderBytes)
        return Header::CutShort;
    return BigEndian(head, 4, 2) < 2 ? Header::Damaged : Header::Whole;
}

Header GifHeader(std::string_view head)
{
    if (head.size() < GifHeaderBytes)
        return Header::CutShort;
    const std::string_view version = head.substr(3, 3);
    return version == "87a" || version == "89a" ? Header::Whole : Header::Damaged;
}

Header TiffHeader(std::string_view head)
{
    if (head.size() < TiffHeaderBytes)
        return Header::CutShort;
    const std::uint32_t firstDirectory
        = head.starts_with("II") ? LittleEndian(head, 4, 4) : BigEndian(head, 4, 4);
    return firstDirectory < TiffHeaderBytes ? Header::Damaged : Header::Whole;
}

Header HeaderOf(PictureFormat format, std::string_view head)
{
    switch (format) {
    case PictureFormat::Bmp:
        return BmpHeader(head);
    case PictureFormat::Jpeg:
        return JpegHeader(head);
    case PictureFormat::Gif:
        return GifHeader(head);
    case PictureFormat::Tiff:
        return TiffHeader(head);
    }
    return Header::Damaged;
}

std::u16string Widened(std::string_view ascii)
{
    return { ascii.begin(), ascii.end() };
}

// Judges the first bytes of a file (all of them when it is shorter than the longest header).
void Judge(std::string_view head, PictureCheck& check)
{
    if (head.empty()) {
        check.problem = u"it is empty";
        return;
    }
    for (const Signature& signature : Signatures) {
        const std::u16string name = Widened(PictureFormatName(signature.format));
        if (head.size() < signature.bytes.size() && signature.bytes.starts_with(head)) {
            check.problem = u"it ends inside its " + name + u" header";
            return;
        }
        if (!head.starts_with(signature.bytes))
            continue;
        switch (HeaderOf(signature.format, head)) {
        case Header::Whole:
            check.format = signature.format;
            return;
        case Header::CutShort:
            check.problem = u"it ends inside its " + name + u" header";
            return;
        case Header::Damaged:
            check.problem = u"its " + name + u" header is damaged";
            return;
        }
    }
    check.problem = u"it is not a BMP, JPEG, GIF or TIFF picture";
}

} // namespace

std::string_view PictureFormatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp:
        return "BMP";
    case PictureFormat::Jpeg:
        return "JPEG";
    case PictureFormat::Gif:
        return "GIF";
    case PictureFormat::Tiff:
        return "TIFF";
    }
    return {};
}

PictureCheck CheckPicture(FileSystem& files, const std::u16string& path, PictureBytes wanted)
{
    PictureCheck check;
    if (!files.isOrdinaryFile(path)) {
        check.problem = u"it is missing or not an ordinary file";
        return check;
    }
    bool judged = false;
    const bool read = files.readFileInPieces(path, [&](std::string_view piece) {
        check.bytes += piece;
        if (!judged && check.bytes.size() >= LongestHeaderBytes) {
            Judge(std::string_view(check.bytes).substr(0, LongestHeaderBytes), check);
            judged = true;
        }
        return !judged || (check.format && wanted == PictureBytes::WholeFile);
    });
    if (!read) {
        check.format.reset();
        check.bytes.clear();
        check.problem = u"it cannot be read";
        return check;
    }
    if (!judged)
        Judge(check.bytes, check);
    if (!check.format || wanted == PictureBytes::HeaderOnly)
        check.bytes.clear();
    return check;
}

} // namespace vestrak
