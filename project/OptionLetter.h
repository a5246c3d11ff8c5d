#pragma once

#include <QString>

namespace ponderix {

// The name an option goes by beside its own: "A" for 0, "B" for 1, ...; past
// "Z" the letters continue in character order. A rule of the model, so that
// the matrix, the pages, the reports and the command line all name an option
// the same way.
QString optionLetter(int index);

} // namespace ponderix
