#pragma once

// The team findings in words, shared by the team page and the command line.

#include "base/TextTable.h"
#include "evaluation/Team.h"

#include <QString>

namespace ponderix {

// Why the files cannot be combined, naming the file at fault.
QString refusalText(const TeamRefusal& refusal, const std::vector<TeamMember>& members);

// Text keys of the agreement verdict's word and of its explanation.
TextKey teamVerdictWordKey(TeamVerdict verdict);
TextKey teamVerdictReasonKey(TeamVerdict verdict);

// "2 of 3 members agree".
QString agreementText(const TeamResult& result);

// Option A "Car" under "Price": moves the team score by up to 12 points;
// anna +4, ben -2.
QString disagreementText(const TeamResult& result, const Disagreement& disagreement);

} // namespace ponderix
