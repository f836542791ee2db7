#include "cistatus/status_records.h"

namespace vestrak {

cStatus& StatusRecords::add(std::u16string_view section, std::u16string_view tagName)
{
    if (m_Count % BlockRecords == 0) {
        m_Blocks.push_back(std::make_shared<Block>());
    }
    Block& block = *m_Blocks.back();
    cStatus& record = block.records[m_Count % BlockRecords];
    ++m_Count;
    // Side by side in one piece: one look for room instead of two.
    const std::u16string_view names = block.names.keep(section, tagName);
    record.m_Section = names.substr(0, section.size());
    record.m_TagName = names.substr(section.size());
    return record;
}

std::shared_ptr<cStatus> StatusRecords::handle(std::size_t position) const
{
    const std::shared_ptr<Block>& block = m_Blocks[position / BlockRecords];
    return { block, &block->records[position % BlockRecords] };
}

} // namespace vestrak
