#include "cistatus/status_records.h"

#include "cistatus/status_line.h"

#include <array>
#include <charconv>

namespace vestrak {

cStatus& StatusRecords::add(const StatusLine& line, std::uint32_t lineIndex)
{
    std::vector<std::shared_ptr<Block>>& blocks = m_Texts->blocks;
    if (m_Count % BlockRecords == 0) {
        blocks.push_back(std::make_shared<Block>());
    }
    Block& block = *blocks.back();
    const std::size_t slot = m_Count % BlockRecords;
    ++m_Count;
    block.places[slot] = { static_cast<std::uint32_t>(line.code.size()),
        static_cast<std::uint32_t>(line.text.size()), lineIndex };
    // One piece for the three: one look for room instead of three.
    m_Joined.assign(line.code).append(line.text).append(line.tagName);
    const std::u16string_view kept = block.texts.keep(m_Joined);
    cStatus& record = block.records[slot];
    record = cStatus {};
    // The section is a part of the code.
    record.m_Section = line.section.empty()
        ? std::u16string_view()
        : kept.substr(static_cast<std::size_t>(line.section.data() - line.code.data()), line.section.size());
    // Its start tells where the code and text end.
    record.m_TagName = kept.substr(line.code.size() + line.text.size());
    return record;
}

void StatusRecords::removeLast()
{
    --m_Count;
    if (m_Count % BlockRecords == 0) {
        m_Texts->blocks.pop_back();
    }
}

void StatusRecords::clear()
{
    m_Texts = std::make_shared<Texts>();
    m_Count = 0;
}

std::shared_ptr<cStatus> StatusRecords::handle(std::size_t position) const
{
    const std::shared_ptr<Block>& block = m_Texts->blocks[position / BlockRecords];
    return { block, &block->records[position % BlockRecords] };
}

std::u16string_view StatusRecords::nodeText(std::size_t position) const
{
    return m_Texts->text(position);
}

std::u16string_view StatusRecords::Texts::code(std::size_t position) const
{
    const Block& block = *blocks[position / BlockRecords];
    const NodeTextPlace& place = block.places[position % BlockRecords];
    const char16_t* tagName = block.records[position % BlockRecords].m_TagName.data();
    return { tagName - place.textLength - place.codeLength, place.codeLength };
}

std::u16string_view StatusRecords::Texts::text(std::size_t position) const
{
    const Block& block = *blocks[position / BlockRecords];
    const NodeTextPlace& place = block.places[position % BlockRecords];
    const char16_t* tagName = block.records[position % BlockRecords].m_TagName.data();
    return { tagName - place.textLength, place.textLength };
}

void StatusRecords::Texts::keyAndText(std::uint32_t position, std::u16string& key, std::u16string& text) const
{
    std::array<char, 16> digits {};
    const std::uint32_t lineIndex
        = blocks[position / BlockRecords]->places[position % BlockRecords].lineIndex;
    char* digitsEnd = std::to_chars(digits.data(), digits.data() + digits.size(), lineIndex).ptr;
    key.assign(code(position));
    key += u'/';
    key.append(digits.data(), digitsEnd);
    text.assign(this->text(position));
}

} // namespace vestrak
