#pragma once

#include <QString>

namespace ponderix {

// The captions the matrix shows for its entries (the option letter itself is
// project/OptionLetter.h's optionLetter, shared with the pages and reports). The letter and the number
// belong to the position, not to the entry: they change when an entry moves.
QString optionTitle(int optionIndex);
QString criterionTitle(int criterionIndex);
QString ratingTitle(int optionIndex, int criterionIndex);
// "A:1", as the comment prompt and the rating titles name a rating.
QString ratingPosition(int optionIndex, int criterionIndex);

// A stored value 0..10 as the user reads it: "-5" .. "0" .. "+5".
QString signedValueText(int value);

// The fixed caption under every rating slider, its blanks placing the three
// numbers under the ends and the middle of the scale.
QString scaleCaption();

// The caption under every importance slider: the three legend words spread
// over the column's width.
QString legendText(int criteriaAddWidth);

} // namespace ponderix
