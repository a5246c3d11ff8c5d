#include "evaluation/ChanceOfBest.h"

#include "evaluation/Scoring.h"

#include <algorithm>

namespace ponderix {

namespace {

constexpr int kScoreSpan = 201; // -100 .. +100

// The exact distribution of one option's score: the chances of every
// weighted sum are convolved criterion by criterion (the width grows only by
// the importance times the cell's own range each time), then every possible
// sum is rounded into its score.
std::vector<double> scoreDistribution(int option, const std::vector<int>& importance,
                                      const std::function<OffsetChances(int, int)>& cell)
{
    const int criteria = static_cast<int>(importance.size());
    std::vector<OffsetChances> cells;
    cells.reserve(importance.size());
    long long base = 0;  // the sum with every cell at its lowest offset
    long long reach = 0; // how far above that the sum can go
    for (int criterion = 0; criterion < criteria; ++criterion) {
        cells.push_back(cell(option, criterion));
        const long long weight = importance[static_cast<std::size_t>(criterion)];
        base += weight * cells.back().lowest;
        reach += weight * static_cast<long long>(cells.back().chance.size() - 1);
    }
    std::vector<double> current(static_cast<std::size_t>(reach + 1), 0.0);
    std::vector<double> next(current.size(), 0.0);
    current[0] = 1.0;
    long long high = 0;
    for (int criterion = 0; criterion < criteria; ++criterion) {
        const long long weight = importance[static_cast<std::size_t>(criterion)];
        const std::vector<double>& chances = cells[static_cast<std::size_t>(criterion)].chance;
        const long long newHigh = high + weight * static_cast<long long>(chances.size() - 1);
        std::fill(next.begin(), next.begin() + newHigh + 1, 0.0);
        for (std::size_t k = 0; k < chances.size(); ++k) {
            const double chance = chances[k];
            if (chance == 0.0)
                continue;
            double* target = next.data() + weight * static_cast<long long>(k);
            for (long long i = 0; i <= high; ++i)
                target[i] += chance * current[static_cast<std::size_t>(i)];
        }
        std::swap(current, next);
        high = newHigh;
    }
    std::vector<double> byScore(kScoreSpan, 0.0);
    for (long long at = 0; at <= high; ++at) {
        const double chance = current[static_cast<std::size_t>(at)];
        if (chance == 0.0)
            continue;
        const int score = std::clamp(scoreOfSum(base + at, criteria), -100, 100);
        byScore[static_cast<std::size_t>(score + 100)] += chance;
    }
    return byScore;
}

} // namespace

std::vector<double> chanceOfBeingBest(int optionCount, const std::vector<int>& importance,
                                      const std::function<OffsetChances(int option, int criterion)>& cell)
{
    const std::size_t count = static_cast<std::size_t>(std::max(optionCount, 0));
    std::vector<double> chance(count, 0.0);
    std::vector<std::vector<double>> distribution;
    std::vector<std::vector<double>> atMost; // P(score <= s)
    for (int option = 0; option < optionCount; ++option) {
        distribution.push_back(scoreDistribution(option, importance, cell));
        std::vector<double> cumulative(kScoreSpan);
        double running = 0.0;
        for (std::size_t s = 0; s < cumulative.size(); ++s) {
            running += distribution.back()[s];
            cumulative[s] = running;
        }
        atMost.push_back(std::move(cumulative));
    }
    // Scores of different options are independent, so option i is best with
    // score s when every other option scores s or less. The product over the
    // others comes from running products from both ends, which stays exact
    // where a division by a zero chance would not.
    std::vector<double> before(count + 1);
    std::vector<double> after(count + 1);
    for (std::size_t s = 0; s < kScoreSpan && count > 0; ++s) {
        before[0] = 1.0;
        for (std::size_t i = 0; i < count; ++i)
            before[i + 1] = before[i] * atMost[i][s];
        after[count] = 1.0;
        for (std::size_t i = count; i-- > 0;)
            after[i] = after[i + 1] * atMost[i][s];
        for (std::size_t i = 0; i < count; ++i)
            chance[i] += distribution[i][s] * before[i] * after[i + 1];
    }
    for (double& value : chance)
        value = std::clamp(value, 0.0, 1.0);
    return chance;
}

} // namespace ponderix
