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

// Option A "Name", Option C "Other": the first kMostListed of `options`,
// then how many more there are besides `more` left out already: "and 3 more".
QString optionsText(const Project& project, const std::vector<int>& options, int more = 0);

// "and 3 more": what a list shown in part leaves out.
QString andMoreText(int more);

// "2 steps", "1 step".
QString stepsText(int steps);

// The count and the word that goes with it: "1 point", "12 points".
QString countText(int count, TextKey singular, TextKey plural);
QString pointsText(int points);

// The steps the fewest-step changes take, and how many such changes there
// are when there are several: "1 step", "2 steps (16 changes of 2 steps each)".
QString smallestChangesText(const SmallestChanges& smallest);

// Each of the changes in words with the best options after it, the first
// `most` of those kept, then how many more there are: "3 more changes not shown".
QStringList listedChanges(const Project& project, const SmallestChanges& smallest, int most = kMostListed);

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
