#pragma once

// The robustness findings in words, shared by the page and the command line
// so both say the same thing the same way.

#include "base/TextTable.h"
#include "evaluation/Robustness.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace ponderix {

class Project;

// Text keys of the verdict's word and of its explanation.
TextKey verdictWordKey(RobustnessVerdict verdict);
TextKey verdictReasonKey(RobustnessVerdict verdict);

// Option A "Name", Option C "Other" for any list of options.
QString optionsText(const Project& project, const std::vector<int>& options);

// "2 steps", "1 step".
QString stepsText(int steps);

// The count and the word that goes with it: "1 point", "12 points".
QString countText(int count, TextKey singular, TextKey plural);
QString pointsText(int points);

// The steps the fewest-step changes take, and how many such changes there
// are when there are several: "1 step", "2 steps (16 changes of 2 steps each)".
QString smallestChangesText(const SmallestChanges& smallest);

// How many changes a screen reader hears of one list at the most.
inline constexpr int kMostListedChanges = 10;

// Each of `changes` in words with the best options after it, the first
// `most` of them, then how many more there are: "3 more changes not shown".
QStringList listedChanges(const Project& project, const std::vector<SingleChange>& changes, int most);

// Importance of "Price" from 5 to 3, or Rating of Option A "Car" under
// "Price" from +4 to -4; with `withOutcome`, the best options after it follow.
QString changeText(const Project& project, const SingleChange& change, bool withOutcome);

// One row of the findings at the top of the page: "Lead:" and "12 points".
struct FindingRow {
    QString label;
    QString value;
    bool verdict = false; // the row that sums the findings up
};

// The best choice and its score, the runner-up, the lead, the verdict and
// how many steps the closest change takes, in that order; none without
// options.
std::vector<FindingRow> findingRows(const Project& project, const Robustness& robustness);

// What a challenger needs: Option B "Car": needs 1 step (2 changes of 1 step
// each), or that no single change makes it a best choice.
QString challengerText(const Project& project, const Challenger& challenger);

// "+4", "0", "-4": rating offsets as the matrix shows them.
QString offsetText(int offset);

} // namespace ponderix
