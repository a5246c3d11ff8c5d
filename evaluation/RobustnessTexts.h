#pragma once

// The robustness findings in words, shared by the page and the command line
// so both say the same thing the same way.

#include "evaluation/Robustness.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace ponderix {

class Project;
class TextTable;

// Text keys of the verdict's word and of its explanation.
QStringView verdictWordKey(RobustnessVerdict verdict);
QStringView verdictReasonKey(RobustnessVerdict verdict);

// Option A "Name", Option C "Other" for any list of options.
QString optionsText(const Project& project, const std::vector<int>& options, const TextTable& texts);

// "2 steps", "1 step".
QString stepsText(int steps, const TextTable& texts);

// Importance of "Price" from 5 to 3, or Rating of Option A "Car" under
// "Price" from +4 to -4; with `withOutcome`, the best options after it follow.
QString changeText(const Project& project, const SingleChange& change, const TextTable& texts, bool withOutcome);

// "+4", "0", "-4": rating offsets as the matrix shows them.
QString offsetText(int offset);

} // namespace ponderix
