#include "evaluation/Robustness.h"

#include "evaluation/ChanceOfBest.h"
#include "evaluation/Scoring.h"
#include "project/Project.h"

#include <algorithm>
#include <limits>
#include <tuple>

namespace ponderix {

namespace {

constexpr int kRatingSteps = kValueMax - kValueMin + 1;

// The matrix as plain numbers, read once: every single change is then a
// matter of adjusting one option's weighted sum, never of rescoring.
struct Matrix {
    int options = 0;
    int criteria = 0;
    std::vector<int> importance; // per criterion
    std::vector<int> value;      // option-major: value[option * criteria + criterion]
    std::vector<long long> sum;  // per option: importance x offset over every criterion

    int valueAt(int option, int criterion) const
    {
        return value[static_cast<std::size_t>(option) * static_cast<std::size_t>(criteria)
                     + static_cast<std::size_t>(criterion)];
    }
    int offsetAt(int option, int criterion) const { return valueAt(option, criterion) - kNeutralValue; }
    int score(long long weightedSum) const { return scoreOfSum(weightedSum, criteria); }
};

Matrix readMatrix(const Project& project)
{
    Matrix matrix;
    matrix.options = project.optionCount();
    matrix.criteria = project.criterionCount();
    for (const Criterion& criterion : project.criteria())
        matrix.importance.push_back(clampImportance(criterion.Importance));
    matrix.value.assign(static_cast<std::size_t>(matrix.options) * static_cast<std::size_t>(matrix.criteria),
                        kNeutralValue);
    matrix.sum.assign(static_cast<std::size_t>(matrix.options), 0);
    for (int option = 0; option < matrix.options; ++option) {
        long long sum = 0;
        for (int criterion = 0; criterion < matrix.criteria; ++criterion) {
            // Read the way the scoring reads: a missing rating is neutral.
            const Rating* rating = project.ratingOf(option, criterion);
            const int value = rating ? clampValue(rating->Value) : kNeutralValue;
            matrix.value[static_cast<std::size_t>(option) * static_cast<std::size_t>(matrix.criteria)
                         + static_cast<std::size_t>(criterion)] = value;
            sum += static_cast<long long>(matrix.importance[static_cast<std::size_t>(criterion)])
                   * (value - kNeutralValue);
        }
        matrix.sum[static_cast<std::size_t>(option)] = sum;
    }
    return matrix;
}

bool contains(const std::vector<int>& sorted, int option)
{
    return std::binary_search(sorted.begin(), sorted.end(), option);
}

// The first kMostListed of `options`, and how many it leaves out.
struct FirstOptions {
    std::vector<int> first;
    int more = 0;

    explicit FirstOptions(const std::vector<int>& options)
        : first(options.begin(),
                options.begin() + static_cast<std::ptrdiff_t>(std::min(options.size(), std::size_t{kMostListed}))),
          more(static_cast<int>(options.size() - first.size()))
    {
    }
};

// Keeps the first kMostListed changes of the fewest steps offered so far, in
// the order offered, and counts the others of that many steps.
class Smallest {
public:
    bool wants(int steps) const { return !m_found || steps <= m_found->steps; }
    // `make` builds the change only when it is kept: a tie offers a change
    // per rating step and option, most of them only to be counted.
    template <typename Make> void add(int steps, const Make& make)
    {
        if (!m_found || steps < m_found->steps)
            m_found = SmallestChanges{steps, {}, 0};
        if (m_found->changes.size() < static_cast<std::size_t>(kMostListed))
            m_found->changes.push_back(make());
        else
            ++m_found->more;
    }
    std::optional<SmallestChanges> take() { return std::move(m_found); }

private:
    std::optional<SmallestChanges> m_found;
};

// What the best options become when one option's score changes and every
// other score stays: against the highest score of the other options and the
// options holding it, the changed option either wins alone, joins them, or
// drops out.
enum class Outcome { Alone, Joins, DropsOut };

struct OptionView {
    std::optional<int> othersMaximum;
    std::array<bool, 3> differs{};      // per Outcome: whether the best options then differ from now
    std::vector<FirstOptions> best;     // per Outcome
    std::vector<int> liftedChallengers; // challengers among the others holding othersMaximum
};

std::vector<OptionView> viewsPerOption(const std::vector<int>& scores, const std::vector<int>& best,
                                       const std::vector<bool>& isChallenger)
{
    const int count = static_cast<int>(scores.size());
    std::vector<OptionView> views(scores.size());
    // The highest score, how many hold it, and the next one below it.
    int top = std::numeric_limits<int>::min();
    int second = std::numeric_limits<int>::min();
    int topCount = 0;
    for (int score : scores) {
        if (score > top) {
            second = top;
            top = score;
            topCount = 1;
        } else if (score == top) {
            ++topCount;
        } else {
            second = std::max(second, score);
        }
    }
    for (int option = 0; option < count; ++option) {
        OptionView& view = views[static_cast<std::size_t>(option)];
        if (count == 1) {
            // The only option: it stays best whatever happens to it.
            view.best.assign(3, FirstOptions(best));
            continue;
        }
        const bool soleTop = scores[static_cast<std::size_t>(option)] == top && topCount == 1;
        view.othersMaximum = soleTop ? second : top;
        std::vector<int> othersBest;
        for (int other = 0; other < count; ++other) {
            if (other != option && scores[static_cast<std::size_t>(other)] == *view.othersMaximum) {
                othersBest.push_back(other);
                if (isChallenger[static_cast<std::size_t>(other)])
                    view.liftedChallengers.push_back(other);
            }
        }
        std::vector<int> joined = othersBest;
        joined.insert(std::upper_bound(joined.begin(), joined.end(), option), option);
        const std::array<std::vector<int>, 3> outcomes{std::vector<int>{option}, std::move(joined),
                                                       std::move(othersBest)};
        for (std::size_t outcome = 0; outcome < outcomes.size(); ++outcome) {
            view.differs[outcome] = outcomes[outcome] != best;
            view.best.emplace_back(outcomes[outcome]);
        }
    }
    return views;
}

// The offsets one rating of `value` takes when moved by -spread..+spread
// and clamped: a rating at the edge cannot go further, so the clamped draws
// pile up on the edge itself.
OffsetChances movedRating(int value, int spread)
{
    const int lowest = clampValue(value - spread);
    OffsetChances cell{lowest - kNeutralValue,
                       std::vector<double>(static_cast<std::size_t>(clampValue(value + spread) - lowest + 1), 0.0)};
    const double each = 1.0 / static_cast<double>(2 * spread + 1);
    for (int draw = -spread; draw <= spread; ++draw)
        cell.chance[static_cast<std::size_t>(clampValue(value + draw) - lowest)] += each;
    return cell;
}

std::vector<double> chanceUnderSpread(const Matrix& matrix, int spread)
{
    return chanceOfBeingBest(matrix.options, matrix.importance, [&](int option, int criterion) {
        return movedRating(matrix.valueAt(option, criterion), spread);
    });
}

} // namespace

std::vector<double> chanceOfBeingBest(const Project& project, int spread)
{
    return chanceUnderSpread(readMatrix(project), std::clamp(spread, kSmallestSpread, kLargestSpread));
}

Robustness analyseRobustness(const Project& project, int spread)
{
    Robustness result;
    result.spread = std::clamp(spread, kSmallestSpread, kLargestSpread);
    const Matrix matrix = readMatrix(project);
    for (long long sum : matrix.sum)
        result.scores.push_back(matrix.score(sum));
    result.best = bestOf(result.scores);
    if (!result.best.empty())
        result.maximum = result.scores[static_cast<std::size_t>(result.best.front())];
    for (int option = 0; option < matrix.options; ++option) {
        const int score = result.scores[static_cast<std::size_t>(option)];
        if (score < *result.maximum && (!result.runnerUpScore || score > *result.runnerUpScore))
            result.runnerUpScore = score;
    }
    if (result.runnerUpScore) {
        for (int option = 0; option < matrix.options; ++option) {
            if (result.scores[static_cast<std::size_t>(option)] == *result.runnerUpScore)
                result.runnerUp.push_back(option);
        }
        result.lead = *result.maximum - *result.runnerUpScore;
    }

    std::vector<bool> isChallenger(static_cast<std::size_t>(matrix.options), false);
    std::vector<Smallest> lifts(static_cast<std::size_t>(matrix.options));
    for (int option = 0; option < matrix.options; ++option)
        isChallenger[static_cast<std::size_t>(option)] = !contains(result.best, option);
    Smallest closest;

    // Importance changes: each moves every option's sum by the change times
    // that option's offset under the criterion.
    std::vector<int> scores(static_cast<std::size_t>(matrix.options));
    for (int criterion = 0; criterion < matrix.criteria; ++criterion) {
        ImportanceWhatIf whatIf;
        whatIf.criterion = criterion;
        whatIf.current = matrix.importance[static_cast<std::size_t>(criterion)];
        const int current = matrix.importance[static_cast<std::size_t>(criterion)];
        for (int importance = kImportanceMin; importance <= kImportanceMax; ++importance) {
            std::vector<int>& best = whatIf.best[static_cast<std::size_t>(importance - kImportanceMin)];
            if (importance == current) {
                best = result.best;
                continue;
            }
            for (int option = 0; option < matrix.options; ++option) {
                scores[static_cast<std::size_t>(option)] =
                    matrix.score(matrix.sum[static_cast<std::size_t>(option)]
                                 + static_cast<long long>(importance - current) * matrix.offsetAt(option, criterion));
            }
            best = bestOf(scores);
            const int steps = std::abs(importance - current);
            const auto change = [&] {
                const FirstOptions after(best);
                return SingleChange{SingleChange::Kind::Importance,
                                    criterion,
                                    -1,
                                    current,
                                    importance,
                                    after.first,
                                    after.more};
            };
            if (best != result.best && closest.wants(steps))
                closest.add(steps, change);
            for (int option : best) {
                Smallest& lift = lifts[static_cast<std::size_t>(option)];
                if (isChallenger[static_cast<std::size_t>(option)] && lift.wants(steps))
                    lift.add(steps, change);
            }
        }
        result.importance.push_back(std::move(whatIf));
    }

    // Rating changes move only their own option's score.
    const std::vector<OptionView> views = viewsPerOption(result.scores, result.best, isChallenger);
    for (int criterion = 0; criterion < matrix.criteria; ++criterion) {
        const int importance = matrix.importance[static_cast<std::size_t>(criterion)];
        for (int option = 0; option < matrix.options; ++option) {
            const OptionView& view = views[static_cast<std::size_t>(option)];
            const int value = matrix.valueAt(option, criterion);
            for (int newValue = kValueMin; newValue < kValueMin + kRatingSteps; ++newValue) {
                if (newValue == value)
                    continue;
                const int steps = std::abs(newValue - value);
                const int score = matrix.score(matrix.sum[static_cast<std::size_t>(option)]
                                               + static_cast<long long>(importance) * (newValue - value));
                Outcome outcome = Outcome::Alone;
                if (view.othersMaximum)
                    outcome = score > *view.othersMaximum    ? Outcome::Alone
                              : score == *view.othersMaximum ? Outcome::Joins
                                                             : Outcome::DropsOut;
                const auto change = [&] {
                    const FirstOptions& after = view.best[static_cast<std::size_t>(outcome)];
                    return SingleChange{SingleChange::Kind::Rating, criterion,   option,    value - kNeutralValue,
                                        newValue - kNeutralValue,   after.first, after.more};
                };
                if (view.differs[static_cast<std::size_t>(outcome)] && closest.wants(steps))
                    closest.add(steps, change);
                if (!view.othersMaximum)
                    continue;
                Smallest& own = lifts[static_cast<std::size_t>(option)];
                if (outcome != Outcome::DropsOut && isChallenger[static_cast<std::size_t>(option)] && own.wants(steps))
                    own.add(steps, change);
                if (outcome != Outcome::Alone) {
                    for (int lifted : view.liftedChallengers) {
                        Smallest& lift = lifts[static_cast<std::size_t>(lifted)];
                        if (lift.wants(steps))
                            lift.add(steps, change);
                    }
                }
            }
        }
    }

    result.closest = closest.take();
    for (int option = 0; option < matrix.options; ++option) {
        if (isChallenger[static_cast<std::size_t>(option)])
            result.challengers.push_back({option, lifts[static_cast<std::size_t>(option)].take()});
    }
    if (result.best.size() != 1)
        result.verdict = RobustnessVerdict::Undecided;
    else if (!result.closest || result.closest->steps >= kRobustSteps)
        result.verdict = RobustnessVerdict::Robust;
    else
        result.verdict = result.closest->steps == 2 ? RobustnessVerdict::Sensitive : RobustnessVerdict::Fragile;

    result.chance = chanceUnderSpread(matrix, result.spread);
    return result;
}

const char* verdictName(RobustnessVerdict verdict)
{
    switch (verdict) {
    case RobustnessVerdict::Undecided:
        return "undecided";
    case RobustnessVerdict::Robust:
        return "robust";
    case RobustnessVerdict::Sensitive:
        return "sensitive";
    case RobustnessVerdict::Fragile:
        return "fragile";
    }
    return "";
}

std::vector<int> criteriaBySensitivity(const Robustness& robustness)
{
    struct Rank {
        int fewestSteps;
        int changingValues;
        int criterion;
    };
    std::vector<Rank> ranks;
    for (const ImportanceWhatIf& whatIf : robustness.importance) {
        Rank rank{std::numeric_limits<int>::max(), 0, whatIf.criterion};
        for (int importance = kImportanceMin; importance <= kImportanceMax; ++importance) {
            const std::vector<int>& best = whatIf.best[static_cast<std::size_t>(importance - kImportanceMin)];
            if (best == robustness.best)
                continue;
            rank.fewestSteps = std::min(rank.fewestSteps, std::abs(importance - whatIf.current));
            ++rank.changingValues;
        }
        ranks.push_back(rank);
    }
    std::stable_sort(ranks.begin(), ranks.end(), [](const Rank& a, const Rank& b) {
        // More changing values rank higher, hence the swapped middle terms.
        return std::tie(a.fewestSteps, b.changingValues, a.criterion)
               < std::tie(b.fewestSteps, a.changingValues, b.criterion);
    });
    std::vector<int> order;
    for (const Rank& rank : ranks)
        order.push_back(rank.criterion);
    return order;
}

} // namespace ponderix
