#include "cistatus/status_records.h"

#include "cistatus/status_line.h"
#include "text/encoding.h"
#include "text/line_key.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace vestrak {

cStatus& StatusRecords::add(const Utf8StatusLine& line, std::uint32_t lineIndex)
{
    std::vector<std::shared_ptr<Block>>& blocks = m_Texts->blocks;
    std::size_t& count = m_Texts->count;
    if (count % BlockRecords == 0) {
        blocks.push_back(std::make_shared<Block>());
    }
    Block& block = *blocks.back();
    const std::size_t slot = count % BlockRecords;
    ++count;

    // One run for the three texts: one look for room instead of three.
    m_Joined.clear();
    StatusText::AppendLength(m_Joined, line.section.size());
    m_Joined += line.code;
    const std::size_t codeLength = line.code.size();
    m_Joined += line.text;
    const std::size_t tagNameStart = m_Joined.size();
    StatusText::AppendLength(m_Joined, line.tagName.size());
    m_Joined += line.tagName;
    const char* kept = m_Kept.keep(m_Joined, block.chunks).data();

    block.places[slot] = { lineIndex, static_cast<std::uint32_t>(codeLength) };
    cStatus& record = block.records[slot];
    record = cStatus {};
    record.m_Section = StatusText(kept);
    record.m_TagName = StatusText(kept + tagNameStart);
    return record;
}

void StatusRecords::removeLast()
{
    if (--m_Texts->count % BlockRecords == 0) {
        m_Texts->blocks.pop_back();
    }
}

void StatusRecords::clear()
{
    m_Texts = std::make_shared<Texts>();
    m_Kept = KeptBytes();
}

std::shared_ptr<cStatus> StatusRecords::handle(std::size_t position) const
{
    const std::shared_ptr<Block>& block = m_Texts->blocks[position / BlockRecords];
    return { block, &block->records[position % BlockRecords] };
}

void StatusRecords::nodeText(std::size_t position, std::u16string& text) const
{
    text.clear();
    AppendDecoded(text, m_Texts->text(position), ObjectFileText::Encoding::Utf8);
}

std::string_view StatusRecords::KeptBytes::keep(std::string_view bytes, std::vector<Chunk>& holder)
{
    char* start = nullptr;
    if (bytes.size() > ChunkBytes) {
        // Bytes longer than a chunk get one of their own.
        holder.push_back(std::make_shared_for_overwrite<char[]>(bytes.size()));
        start = holder.back().get();
    } else {
        if (bytes.size() > ChunkBytes - m_Used) {
            m_Chunk = std::make_shared_for_overwrite<char[]>(ChunkBytes);
            m_Used = 0;
        }
        if (holder.empty() || holder.back() != m_Chunk) {
            holder.push_back(m_Chunk);
        }
        start = m_Chunk.get() + m_Used;
        m_Used += bytes.size();
    }
    std::copy(bytes.begin(), bytes.end(), start);
    return { start, bytes.size() };
}

std::string_view StatusRecords::Texts::code(std::size_t position) const
{
    const Block& block = *blocks[position / BlockRecords];
    const std::string_view section = block.records[position % BlockRecords].m_Section.bytes();
    return { section.data(), block.places[position % BlockRecords].codeLength };
}

std::string_view StatusRecords::Texts::text(std::size_t position) const
{
    const std::string_view code = this->code(position);
    const char* textStart = code.data() + code.size();
    // The tag name's length follows the text.
    const char* textEnd
        = blocks[position / BlockRecords]->records[position % BlockRecords].m_TagName.lengthAndBytes();
    return { textStart, static_cast<std::size_t>(textEnd - textStart) };
}

void StatusRecords::Texts::keyAndText(std::uint32_t position, std::u16string& key, std::u16string& text) const
{
    std::array<char, 16> digits {};
    const std::uint32_t lineIndex
        = blocks[position / BlockRecords]->places[position % BlockRecords].lineIndex;
    char* digitsEnd = std::to_chars(digits.data(), digits.data() + digits.size(), lineIndex).ptr;
    key.clear();
    AppendDecoded(key, code(position), ObjectFileText::Encoding::Utf8);
    key += u'/';
    key.append(digits.data(), digitsEnd);
    text.clear();
    AppendDecoded(text, this->text(position), ObjectFileText::Encoding::Utf8);
}

std::optional<std::uint32_t> StatusRecords::Texts::referenceOfKey(std::u16string_view key) const
{
    const std::optional<std::uint32_t> lineIndex = LineIndexOfKey(key);
    if (!lineIndex)
        return std::nullopt;
    const auto lineOf = [this](std::size_t position) {
        return blocks[position / BlockRecords]->places[position % BlockRecords].lineIndex;
    };
    std::size_t first = 0;
    std::size_t end = count;
    while (first < end) {
        const std::size_t middle = first + (end - first) / 2;
        if (lineOf(middle) < *lineIndex)
            first = middle + 1;
        else
            end = middle;
    }
    if (first < count && lineOf(first) == *lineIndex)
        return static_cast<std::uint32_t>(first);
    return UINT32_MAX;
}

} // namespace vestrak
