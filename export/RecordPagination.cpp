#include "export/RecordPagination.h"

#include <algorithm>

namespace ponderix {

namespace {

// Its blocks and the gaps between them.
int sectionHeight(const Section& section)
{
    int total = 0;
    for (const Block& block : section.blocks)
        total += block.height + block.gapAfter;
    if (!section.blocks.empty())
        total -= section.blocks.back().gapAfter;
    return total;
}

} // namespace

void Paginator::place(const std::vector<Section>& sections)
{
    for (const Section& section : sections) {
        const int total = sectionHeight(section);
        if (total <= m_pageHeight && m_y + total > m_pageHeight)
            newPage();
        for (std::size_t at = 0; at < section.blocks.size(); ++at) {
            const Block& block = section.blocks[at];
            int needed = block.height;
            if (block.keepWithNext && at + 1 < section.blocks.size())
                needed += block.gapAfter + section.blocks[at + 1].height;
            if (m_y > 0 && m_y + needed > m_pageHeight && needed <= m_pageHeight) {
                newPage();
                if (section.repeatedHead && at >= section.firstRow)
                    placeWhole(*section.repeatedHead);
            }
            placeBlock(block);
        }
    }
}

void Paginator::newPage()
{
    ++m_page;
    m_y = 0;
}

void Paginator::placeWhole(const Block& block)
{
    m_placements.push_back({m_page, m_y, 0, block.height, &block});
    m_y += block.height + block.gapAfter;
}

// A block taller than a page (a comment of many pages) starts a page and
// runs on over as many as it needs.
void Paginator::placeBlock(const Block& block)
{
    if (block.height <= m_pageHeight - m_y) {
        placeWhole(block);
        return;
    }
    if (m_y > 0)
        newPage();
    for (int offset = 0; offset < block.height; offset += m_pageHeight) {
        if (offset > 0)
            newPage();
        const int shown = std::min(m_pageHeight, block.height - offset);
        m_placements.push_back({m_page, 0, offset, shown, &block});
        m_y = shown + block.gapAfter;
    }
}

} // namespace ponderix
