#pragma once

// The robustness analysis runs while the user waits for its window, so it is
// measured against the overview page of the same project, which the results
// window builds under the same wait.

namespace ponderix::bench {

inline constexpr const char* kRobustnessRegular = "robustness/analysis_10x40";
inline constexpr const char* kOverviewRegular = "robustness/overview_page_10x40";
inline constexpr const char* kRobustnessLargest = "robustness/analysis_26x300_spread1";
inline constexpr const char* kOverviewLargest = "robustness/overview_page_26x300";

// A team of 20 members, each rating the largest matrix, against the
// robustness analysis of one such matrix with ratings off by up to two.
inline constexpr const char* kTeamLargest = "team/analysis_20_members_26x300";
inline constexpr const char* kRobustnessSpread2 = "robustness/analysis_26x300_spread2";
inline constexpr int kTeamMembers = 20;

inline constexpr double kRobustnessRegularLimit = 2.0;  // times the overview page
inline constexpr double kRobustnessLargestLimit = 15.0; // times the overview page
inline constexpr double kTeamLimit = 2.0;               // times the robustness analysis

// The largest project a file may hold (1,000 x 1,000): the analysis against
// reading that file (measured in BenchMain.cpp, beside the load), and the
// robustness page, drawn from a finished analysis, against the overview page.
inline constexpr const char* kRobustnessHuge = "robustness/analysis_1000x1000_spread1";
inline constexpr const char* kRobustnessPageHuge = "robustness/robustness_page_1000x1000";
inline constexpr const char* kOverviewHuge = "robustness/overview_page_1000x1000";
inline constexpr double kRobustnessHugeLimit = 2.0;     // times reading the file
inline constexpr double kRobustnessPageHugeLimit = 2.0; // times the overview page

// A thousand options tied under a hundred criteria (a blank template of that
// size) against the same matrix with varied values: a tie has a change for
// every rating step of every option, each with the tie after it, yet the
// analysis keeps the first few of each and costs what any matrix costs.
inline constexpr const char* kRobustnessTied = "robustness/analysis_1000x100_tied";
inline constexpr const char* kRobustnessVaried = "robustness/analysis_1000x100_varied";
inline constexpr int kTiedOptionCount = 1000;
inline constexpr int kTiedCriterionCount = 100;
inline constexpr double kRobustnessTiedLimit = 2.0; // times the varied matrix

} // namespace ponderix::bench
