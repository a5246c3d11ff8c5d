// Where the PDF record breaks its pages, on sections whose places are worked
// out by hand on pages 100 units tall, with the usual gap of 10 after a block.
#include "export/RecordPagination.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace ponderix;

namespace {

constexpr int kPage = 100;

struct Piece {
    std::string name;
    int height = 0;
    bool keepWithNext = false;
    int gapAfter = kRecordBlockGap;
};

// A section of the pieces; with `repeated`, its first piece is a table's
// head that comes again, as "again", on every page the rows continue on.
Section sectionOf(const std::vector<Piece>& pieces, bool repeated = false)
{
    Section section;
    for (const Piece& piece : pieces)
        section.blocks.push_back({piece.height, {}, piece.keepWithNext, false, piece.gapAfter});
    if (repeated) {
        section.repeatedHead = section.blocks.front();
        section.firstRow = 1;
    }
    return section;
}

// "B1 1/0" for a block on page 1 at the top; a slice adds "+offset:height".
std::vector<std::string> placed(const std::vector<std::vector<Piece>>& pieces, bool repeated = false)
{
    std::vector<Section> sections;
    for (const auto& section : pieces)
        sections.push_back(sectionOf(section, repeated));
    std::map<const Block*, std::string> names;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        for (std::size_t b = 0; b < sections[s].blocks.size(); ++b)
            names[&sections[s].blocks[b]] = pieces[s][b].name;
        if (sections[s].repeatedHead)
            names[&*sections[s].repeatedHead] = "again";
    }
    Paginator paginator(kPage);
    paginator.place(sections);
    std::vector<std::string> where;
    for (const Placement& at : paginator.placements()) {
        std::string line = names[at.block] + ' ' + std::to_string(at.page) + '/' + std::to_string(at.top);
        if (at.height != at.block->height)
            line += '+' + std::to_string(at.offset) + ':' + std::to_string(at.height);
        where.push_back(line);
    }
    return where;
}

} // namespace

TEST(RecordPagination, KeepsASectionThatFitsOnAPageOnOne)
{
    const struct {
        const char* what;
        std::vector<std::vector<Piece>> sections;
        std::vector<std::string> expected;
    } cases[] = {
        // A ends at 40, B would start at 50 and need 30 + 10 + 30 = 70: it
        // would end at 120, so all of it goes to the next page.
        {"a section that fits moves whole", {{{"A", 40}}, {{"B1", 30}, {"B2", 30}}}, {"A 0/0", "B1 1/0", "B2 1/40"}},
        // The same section fits below A where A is 10 shorter: 40 + 70 = 110
        // would not, 30 + 10 + 30 + 10 + 30 = 100 does, to the unit.
        {"a section that fits below stays", {{{"A", 20}}, {{"B1", 30}, {"B2", 30}}}, {"A 0/0", "B1 0/30", "B2 0/70"}},
        // 4 x 30 and 3 gaps make 150: no page holds it, so it starts below
        // A at 50 and breaks where the next block would cross 100.
        {"a longer section runs on from where it starts",
         {{{"A", 40}}, {{"B1", 30}, {"B2", 30}, {"B3", 30}, {"B4", 30}}},
         {"A 0/0", "B1 0/50", "B2 1/0", "B3 1/40", "B4 2/0"}},
        // The heading at 70 with its first row would reach 70 + 20 + 10 + 50.
        {"a heading stays with what follows it",
         {{{"A", 60}}, {{"H", 20, true}, {"R1", 50}, {"R2", 50}}},
         {"A 0/0", "H 1/0", "R1 1/30", "R2 2/0"}},
        // 250 units start a page of their own and run over three.
        {"a block taller than a page is sliced from a fresh page",
         {{{"A", 40}}, {{"C", 250}}},
         {"A 0/0", "C 1/0+0:100", "C 2/0+100:100", "C 3/0+200:50"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(placed(c.sections), c.expected) << c.what;
}

TEST(RecordPagination, RepeatsATablesHeadOnThePagesItContinuesOn)
{
    // Head 15 and rows of 40 without gaps: rows at 15 and 55 fill 95; the
    // third goes over, under the head again.
    const std::vector<std::vector<Piece>> table{
        {{"head", 15, true, 0}, {"R1", 40, false, 0}, {"R2", 40, false, 0}, {"R3", 40, false, 0}}};
    const std::vector<std::string> expected{"head 0/0", "R1 0/15", "R2 0/55", "again 1/0", "R3 1/15"};
    EXPECT_EQ(placed(table, true), expected);
}
