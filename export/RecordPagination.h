#pragma once

// How the PDF record falls into pages: pieces laid out as one (a heading, a
// table row, a result page) in sections that stay on one page where they fit
// on one.

#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace ponderix {

// Between the pieces of the record, in its layout units (hundredths of an
// inch).
inline constexpr int kRecordBlockGap = 10;

// A piece of the record that is laid out as one: a heading, a table row, a
// result page. It paints itself with its top-left corner at (0, 0).
struct Block {
    int height = 0;
    std::function<void(QPainter&)> paint;
    bool keepWithNext = false;      // a heading never ends a page
    bool step = false;              // a finished part of the progress once painted
    int gapAfter = kRecordBlockGap; // none between the rows of a table
};

// Blocks kept on one page when they fit on one; a table's header row comes
// again at the top of every page the table continues on.
struct Section {
    std::vector<Block> blocks;
    std::optional<Block> repeatedHead;
    std::size_t firstRow = 0; // blocks from here on continue under the repeated head
};

struct Placement {
    int page = 0;   // from 0
    int top = 0;    // on the page
    int offset = 0; // of the block: a block taller than a page is shown in slices
    int height = 0; // shown on this page
    const Block* block = nullptr;
};

// Places sections one after the other on pages `pageHeight` tall. A section
// that fits on one page never starts on a page it would run off; one taller
// than a page starts where the last ended and breaks between its blocks, a
// heading staying with what follows it. A block taller than a page starts a
// page and runs on over as many as it needs.
class Paginator final {
public:
    explicit Paginator(int pageHeight) : m_pageHeight(pageHeight) { }

    // The sections must outlive the placements, which point into them.
    void place(const std::vector<Section>& sections);

    int pageCount() const { return m_page + 1; }
    const std::vector<Placement>& placements() const { return m_placements; }

private:
    void newPage();
    void placeWhole(const Block& block);
    void placeBlock(const Block& block);

    int m_pageHeight = 0;
    int m_page = 0;
    int m_y = 0;
    std::vector<Placement> m_placements;
};

} // namespace ponderix
