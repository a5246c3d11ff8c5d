#pragma once

// How solid the best choice is: what single edits would change it, and how
// likely it stays best when every rating might be a little off. Everything
// is worked out from the project's values with the program's own scoring,
// so the answers agree with the results window; the project is only read.

#include "project/Project.h"

#include <array>
#include <optional>
#include <vector>

namespace ponderix {

inline constexpr int kSmallestSpread = 1;
inline constexpr int kLargestSpread = 2;
// A best choice that only a change of this many steps or more can move
// counts as robust.
inline constexpr int kRobustSteps = 3;
// A tie of many options has thousands of equally small changes, each with
// hundreds of options tied after it. Of each such list the analysis keeps
// this many and counts the rest, so its size follows the matrix and not the
// square of the options; the page, the window and the record list as many.
inline constexpr int kMostListed = 10;

// One edit of the matrix: an importance set to another value, or one rating
// moved to another value.
struct SingleChange {
    enum class Kind { Importance, Rating };

    Kind kind = Kind::Importance;
    int criterion = 0; // position
    int option = -1;   // position; rating changes only
    int from = 0;      // importance 1..5, or rating offset -5..+5
    int to = 0;
    std::vector<int> best; // the first kMostListed best options after the change, in list order
    int moreBest = 0;      // how many more there are than `best` holds

    int steps() const { return to > from ? to - from : from - to; }
    int bestCount() const { return static_cast<int>(best.size()) + moreBest; }
    bool operator==(const SingleChange&) const = default;
};

// The changes of the fewest steps that do something, in the order of the
// matrix: importance changes (criterion, new value), then rating changes
// (criterion, option, new value).
struct SmallestChanges {
    int steps = 0;
    std::vector<SingleChange> changes; // the first kMostListed
    int more = 0;                      // how many more there are than `changes` holds

    int count() const { return static_cast<int>(changes.size()) + more; }
};

struct Challenger {
    int option = 0;
    std::optional<SmallestChanges> lift; // empty when no single change puts it among the best
};

struct ImportanceWhatIf {
    int criterion = 0;
    int current = kImportanceMin; // the importance it has now
    // The best options when only this criterion's importance is 1, 2, .. 5.
    std::array<std::vector<int>, 5> best;
};

enum class RobustnessVerdict { Undecided, Robust, Sensitive, Fragile };

struct Robustness {
    std::vector<int> scores;    // per option, as the results window shows them
    std::vector<int> best;      // every option scoring the maximum
    std::optional<int> maximum; // empty without options
    std::vector<int> runnerUp;  // every option with the highest score below the maximum
    std::optional<int> runnerUpScore;
    std::optional<int> lead; // maximum - runner-up score
    RobustnessVerdict verdict = RobustnessVerdict::Undecided;
    std::vector<ImportanceWhatIf> importance; // per criterion
    std::optional<SmallestChanges> closest;   // empty when no single change alters the best options
    std::vector<Challenger> challengers;      // every option outside the best, in list order
    int spread = kSmallestSpread;
    std::vector<double> chance; // per option: probability of scoring the maximum under the spread
};

// The whole analysis; `spread` is 1 or 2 (other values are taken as the
// nearest of them).
Robustness analyseRobustness(const Project& project, int spread = kSmallestSpread);

// Per option, the exact probability that its score equals the highest score
// when every rating independently moves by -spread..+spread (uniformly,
// clamped to the rating range) and the importances stay.
std::vector<double> chanceOfBeingBest(const Project& project, int spread);

// "robust", "sensitive", ... as scripts read them.
const char* verdictName(RobustnessVerdict verdict);

// Criterion positions, most sensitive first: the fewest importance steps that
// change the best options, then the most importance values that do, then list
// order.
std::vector<int> criteriaBySensitivity(const Robustness& robustness);

} // namespace ponderix
