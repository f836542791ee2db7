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

    // One run for the texts: one look for room instead of four.
    m_Joined.clear();
    StatusTexts::Append(m_Joined, line.section, line.code, line.text, line.tagName);
    block.lineIndexes[slot] = lineIndex;
    cStatus& record = block.records[slot];
    record = cStatus {};
    record.m_Texts = StatusTexts(m_Kept.keep(m_Joined, block.chunks).data());
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
    AppendDecoded(text, m_Texts->texts(position).text(), ObjectFileText::Encoding::Utf8);
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

void StatusRecords::Texts::keyAndText(std::uint32_t position, std::u16string& key, std::u16string& text) const
{
    std::array<char, 16> digits {};
    char* digitsEnd = std::to_chars(digits.data(), digits.data() + digits.size(), lineIndex(position)).ptr;
    const StatusTexts& kept = texts(position);
    key.clear();
    AppendDecoded(key, kept.code(), ObjectFileText::Encoding::Utf8);
    key += u'/';
    key.append(digits.data(), digitsEnd);
    text.clear();
    AppendDecoded(text, kept.text(), ObjectFileText::Encoding::Utf8);
}

std::optional<std::uint32_t> StatusRecords::Texts::referenceOfKey(std::u16string_view key) const
{
    const std::optional<std::uint32_t> keyLine = LineIndexOfKey(key);
    if (!keyLine)
        return std::nullopt;
    std::size_t first = 0;
    std::size_t end = count;
    while (first < end) {
        const std::size_t middle = first + (end - first) / 2;
        if (lineIndex(middle) < *keyLine)
            first = middle + 1;
        else
            end = middle;
    }
    if (first < count && lineIndex(first) == *keyLine)
        return static_cast<std::uint32_t>(first);
    return UINT32_MAX;
}

} // namespace vestrak
