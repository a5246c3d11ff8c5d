#include "evaluation/ChanceOfBest.h"

#include "evaluation/Scoring.h"
#include "project/Project.h"

#include <algorithm>
#include <array>
#include <functional>
#include <unordered_map>
#include <utility>

namespace ponderix {

namespace {

constexpr int kScoreSpan = 201; // -100 .. +100

// Sums at either end of the distribution whose chance is below this are
// left out as the convolution goes. Each step leaves out fewer than 30,001
// of them (the widest span of sums), so a project of 1,000 criteria loses at
// most 3e-23 of its probability in all: nothing that shows in a chance, but
// the far tails, which would otherwise fill most of the work with numbers
// too small to matter (and, below 1e-308, slow to compute), are skipped.
constexpr double kNegligible = 1e-30;

// One criterion's part in an option's sum: the cell's offsets, weighed.
struct Term {
    long long weight = 0;
    OffsetChances cell;

    // Within one analysis every option's terms carry the same weights, the
    // importances, in the same order: only the cells can differ.
    bool operator==(const Term& other) const
    {
        return cell.lowest == other.cell.lowest && cell.chance == other.cell.chance;
    }
};

// next[at] for every `at` from `low` to `high`: the chance of each sum one
// term of `weight` and `chances` further, from the chances of the sums
// before it. With the count of chances fixed, the compiler keeps each sum in
// a register and works on several at once.
template <std::size_t Count>
void gatherFixed(const std::vector<double>& chances, long long weight, const double* current, double* next,
                 long long low, long long high)
{
    std::array<double, Count> parts{};
    std::copy_n(chances.begin(), Count, parts.begin());
    const auto gather = [&](long long at) {
        double chance = parts[0] * current[at];
        for (std::size_t k = 1; k < Count; ++k)
            chance += parts[k] * current[at - weight * static_cast<long long>(k)];
        return chance;
    };
    // Two sums at a time, which the compiler may pack into one instruction.
    long long at = low;
    for (; at < high; at += 2) {
        const double first = gather(at);
        const double second = gather(at + 1);
        next[at] = first;
        next[at + 1] = second;
    }
    if (at == high)
        next[at] = gather(at);
}

template <std::size_t... Counts>
bool gatherTerm(const std::vector<double>& chances, long long weight, const double* current, double* next,
                long long low, long long high, std::index_sequence<Counts...>)
{
    return ((chances.size() == Counts + 1 && (gatherFixed<Counts + 1>(chances, weight, current, next, low, high), true))
            || ...);
}

void gatherTerm(const std::vector<double>& chances, long long weight, const double* current, double* next,
                long long low, long long high)
{
    // A cell's offsets span a rating's range at most: 1 to 11 of them.
    if (gatherTerm(chances, weight, current, next, low, high, std::make_index_sequence<kValueMax - kValueMin + 1>()))
        return;
    for (long long at = low; at <= high; ++at) {
        double chance = 0.0;
        for (std::size_t k = 0; k < chances.size(); ++k)
            chance += chances[k] * current[at - weight * static_cast<long long>(k)];
        next[at] = chance;
    }
}

// One option's terms, the lightest first: the order does not change the
// sum, and the lightest terms first keep the distribution narrow for longest.
std::vector<Term> termsOf(int option, const std::vector<int>& importance,
                          const std::function<OffsetChances(int, int)>& cell)
{
    std::vector<Term> terms;
    terms.reserve(importance.size());
    for (int criterion = 0; criterion < static_cast<int>(importance.size()); ++criterion)
        terms.push_back(Term{std::max(importance[static_cast<std::size_t>(criterion)], 0), cell(option, criterion)});
    std::stable_sort(terms.begin(), terms.end(), [](const Term& a, const Term& b) { return a.weight < b.weight; });
    return terms;
}

std::size_t hashOf(const std::vector<Term>& terms)
{
    std::size_t hash = terms.size();
    const auto mix = [&hash](std::size_t value) { hash ^= value + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2); };
    for (const Term& term : terms) {
        mix(std::hash<int>{}(term.cell.lowest));
        for (double chance : term.cell.chance)
            mix(std::hash<double>{}(chance));
    }
    return hash;
}

// The exact distribution of one option's score: the chances of every
// weighted sum are convolved criterion by criterion (the width grows only by
// the importance times the cell's own range each time), then every possible
// sum is rounded into its score.
std::vector<double> scoreDistribution(const std::vector<Term>& terms)
{
    const int criteria = static_cast<int>(terms.size());
    long long base = 0;   // the sum with every cell at its lowest offset
    long long reach = 0;  // how far above that the sum can go
    long long margin = 0; // the widest single term
    for (const Term& term : terms) {
        const long long span = term.weight * static_cast<long long>(term.cell.chance.size() - 1);
        base += term.weight * term.cell.lowest;
        reach += span;
        margin = std::max(margin, span);
    }

    // Each sum's chance is gathered from the sums one term below it, which
    // may lie up to `margin` below the first: room for zeros there.
    std::vector<double> currentStore(static_cast<std::size_t>(margin + reach + 1), 0.0);
    std::vector<double> nextStore(currentStore.size(), 0.0);
    double* current = currentStore.data() + margin;
    double* next = nextStore.data() + margin;
    current[0] = 1.0;
    // Only current[low..high] is live; outside it every chance is 0 or
    // negligible.
    long long low = 0;
    long long high = 0;
    for (const Term& term : terms) {
        const std::vector<double>& chances = term.cell.chance;
        const long long span = term.weight * static_cast<long long>(chances.size() - 1);
        const long long newHigh = high + span;
        std::fill(current + low - span, current + low, 0.0);
        std::fill(current + high + 1, current + newHigh + 1, 0.0);
        gatherTerm(chances, term.weight, current, next, low, newHigh);
        std::swap(current, next);
        high = newHigh;
        while (low < high && current[low] < kNegligible)
            ++low;
        while (high > low && current[high] < kNegligible)
            --high;
    }
    std::vector<double> byScore(kScoreSpan, 0.0);
    for (long long at = low; at <= high; ++at) {
        const double chance = current[at];
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
    // Options rated alike score alike: a tie of a thousand options rated
    // the same, as a blank template has, is worked out once (what sharing
    // saves shows only in the time taken, as in the benchmark's tie). Only a
    // hash of each option's terms is kept; a match is checked against the
    // earlier option's terms made again (only a hash collision, which no
    // test can make on purpose, reaches that check with unequal terms).
    std::unordered_multimap<std::size_t, int> worked; // options whose distribution was worked out
    for (int option = 0; option < optionCount; ++option) {
        const std::vector<Term> terms = termsOf(option, importance, cell);
        const std::size_t hash = hashOf(terms);
        const auto [from, to] = worked.equal_range(hash);
        const auto same =
            std::find_if(from, to, [&](const auto& entry) { return termsOf(entry.second, importance, cell) == terms; });
        if (same != to) {
            distribution.push_back(distribution[static_cast<std::size_t>(same->second)]);
        } else {
            distribution.push_back(scoreDistribution(terms));
            worked.emplace(hash, option);
        }
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
