#pragma once

// The exact chance of each option to score the maximum when every rating is
// drawn at random, independently per cell, from a small set of offsets: the
// closed form behind the robustness analysis (ratings a little off) and the
// team analysis (each cell rated by one member picked at random).

#include <functional>
#include <vector>

namespace ponderix {

// The chances of one cell's rating offset: chance[k] is the chance of the
// offset `lowest + k`. The chances add up to 1.
struct OffsetChances {
    int lowest = 0;
    std::vector<double> chance;
};

// Per option, the probability that its score (the program's own rounding of
// importance x offset summed over the criteria) equals the highest score;
// tied options each count. `importance` is per criterion.
std::vector<double> chanceOfBeingBest(int optionCount, const std::vector<int>& importance,
                                      const std::function<OffsetChances(int option, int criterion)>& cell);

} // namespace ponderix
