#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace ponderix::bench {

// One line of the closing table. A figure is "ok" when ours is within
// `limit` times the baseline, or within `limit` itself when there is no
// baseline (a budget, such as memory); without a measurement it is neither.
struct Figure {
    std::string name;
    std::string unit; // "ms", "MB"
    std::optional<double> ours;
    std::optional<double> baseline; // none for a fixed budget
    double limit = 0;
};

enum class Verdict { Ok, Over, NotMeasured };

Verdict verdictOf(const Figure& figure);
std::optional<double> ratioOf(const Figure& figure);

void printSummary(std::FILE* out, const std::vector<Figure>& figures);

} // namespace ponderix::bench
