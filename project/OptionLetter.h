#pragma once

#include <QString>

#include <optional>

namespace ponderix {

// The name an option goes by beside its own, as spreadsheets name columns:
// "A" for 0, "B" for 1, ..., "Z" for 25, then "AA", "AB", ..., "ZZ", "AAA".
// A rule of the model, so that the matrix, the pages, the reports and the
// command line all name an option the same way. Only capitals A-Z, so a
// letter never carries a control character or a combining mark.
QString optionLetter(int index);

// The inverse of optionLetter among `optionCount` options: the index whose
// letter is exactly `letter`, or nothing (empty, lower case, other
// characters, or no such option).
std::optional<int> optionOfLetter(const QString& letter, int optionCount);

} // namespace ponderix
