#pragma once

#include "base/TextTable.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace ponderix {

class Project;

// Computes and stores every option's score: the importance-weighted mean of
// its rating offsets, scaled to -100..+100 and rounded halves away from zero.
void ComputeScores(Project& project);

// A copy of the project with its scores computed, for whoever shows or
// writes results of a project it must not change (the open document).
Project scoredCopy(const Project& project);

// The score of one option from its ratings; exposed for the views that need
// a score without touching the project.
int scoreOf(const Project& project, int optionIndex);

// The score that a weighted sum of rating offsets (importance x offset,
// summed over every criterion) gives; the one rounding every view relies on.
int scoreOfSum(long long sum, int criterionCount);

// Text key of the verdict for a score: TXT00251 (best) .. TXT00255 (worst).
TextKey verdictBand(int score);

// "+65%", "0%", "-12%", in the chosen language's way of writing a percentage.
QString scoreText(int score);

// "+65%" whatever the language, for text that other programs read, such as
// the tab-separated twin of the report that spreadsheets open.
QString plainScoreText(int score);

// The positions holding the highest of `scores`, in order; empty without scores.
std::vector<int> bestOf(const std::vector<int>& scores);

struct BestOptions {
    std::optional<int> maximum; // empty when there are no options
    std::vector<int> indexes;   // every option scoring the maximum, in list order
};

// Reads the scores stored by ComputeScores.
BestOptions bestOptions(const Project& project);

// Option A "Name", Option C "Other" — for page headers and reports.
QString bestOptionsText(const Project& project, const BestOptions& best);

} // namespace ponderix
