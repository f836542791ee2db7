#include "cistatus/status_records.h"

#include "cistatus/status_line.h"
#include "text/encoding.h"
#include "text/line_key.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>

namespace vestrak {

cStatus& StatusRecords::add(StatusTexts texts, const Chunk& chunk, std::uint32_t lineIndex)
{
    std::vector<std::shared_ptr<Block>>& blocks = m_Texts->blocks;
    std::size_t& count = m_Texts->count;
    if (count % BlockRecords == 0) {
        blocks.push_back(std::make_shared<Block>());
    }
    Block& block = *blocks.back();
    const std::size_t slot = count % BlockRecords;
    ++count;

    std::vector<Texts::Run>& runs = m_Texts->runs;
    const auto position = static_cast<std::uint32_t>(count - 1);
    if (runs.empty() || runs.back().linesSkipped != lineIndex - position) {
        runs.push_back({ position, lineIndex - position });
    }
    if (block.chunks.empty() || block.chunks.back() != chunk) {
        block.chunks.push_back(chunk);
    }
    cStatus& record = block.records[slot];
    record = cStatus {};
    record.m_Texts = texts;
    return record;
}

void StatusRecords::removeLast()
{
    if (--m_Texts->count % BlockRecords == 0) {
        m_Texts->blocks.pop_back();
    }
    if (m_Texts->runs.back().position == m_Texts->count) {
        m_Texts->runs.pop_back();
    }
}

void StatusRecords::clear()
{
    m_Texts = std::make_shared<Texts>();
    m_LentTexts = m_Texts;
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

StatusTexts StatusRecords::TextKeeper::keep(const Utf8StatusLine& line, std::vector<Chunk>& holder)
{
    // One run for the texts: one look for room instead of four.
    const StatusTexts::Writer texts(line.section, line.code, line.text, line.tagName);
    const std::size_t bytes = texts.bytes();
    char* kept = nullptr;
    if (bytes > ChunkBytes) {
        // Bytes longer than a chunk get one of their own.
        holder.push_back(std::make_shared_for_overwrite<char[]>(bytes));
        kept = holder.back().get();
    } else {
        if (bytes > ChunkBytes - m_Used) {
            m_Chunk = std::make_shared_for_overwrite<char[]>(ChunkBytes);
            m_Used = 0;
        }
        if (holder.empty() || holder.back() != m_Chunk) {
            holder.push_back(m_Chunk);
        }
        kept = m_Chunk.get() + m_Used;
        m_Used += bytes;
    }
    texts.write(kept);
    return StatusTexts(kept);
}

std::uint32_t StatusRecords::Texts::lineIndex(std::size_t position) const
{
    const auto after = std::upper_bound(runs.begin(), runs.end(), position,
        [](std::size_t wanted, const Run& run) { return wanted < run.position; });
    return static_cast<std::uint32_t>(position) + std::prev(after)->linesSkipped;
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
