#pragma once

// The robustness findings in words, shared by the page and the command line
// so both say the same thing the same way.

#include "base/TextTable.h"
#include "evaluation/Robustness.h"

#include <QString>
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

// Importance of "Price" from 5 to 3, or Rating of Option A "Car" under
// "Price" from +4 to -4; with `withOutcome`, the best options after it follow.
QString changeText(const Project& project, const SingleChange& change, bool withOutcome);

// "+4", "0", "-4": rating offsets as the matrix shows them.
QString offsetText(int offset);

} // namespace ponderix
