#pragma once

#include "project/Project.h"

#include <QByteArray>

namespace ponderix::bench {

inline constexpr int kLargeOptionCount = 1000;
inline constexpr int kLargeCriterionCount = 1000;
inline constexpr int kLargeRatingCount = kLargeOptionCount * kLargeCriterionCount;

// A regular project of a million ratings, every one with a short comment, the
// way a generated matrix would look: "Option 17", "Criterion 17", "note 123".
Project largeProject();

// A regular project of the given size with varied importances and values
// and a comment on every fourth criterion: what the pages and the matrix view
// are measured with.
Project generatedProject(int options, int criteria);

// True when `project` has the shape largeProject() gives, so that a load that
// silently dropped or invented entries cannot pass for a fast one.
bool looksLikeLargeProject(const Project& project);

} // namespace ponderix::bench
