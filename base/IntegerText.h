#pragma once

#include <QStringView>

#include <string_view>

namespace ponderix {

enum class IntegerSyntax {
    Decimal,          // settings file
    WithRadixPrefixes // project files: "$" introduces hexadecimal, "%" binary digits
};

// Reads the integer at the start of a text the forgiving way files written by
// hand need: leading blanks and tabs are skipped, an optional sign is taken,
// then digits up to the first character that is not one. No digits give 0;
// values beyond the 32-bit range saturate instead of wrapping.
int readInteger(std::string_view text, IntegerSyntax syntax);
int readInteger(QStringView text, IntegerSyntax syntax);

} // namespace ponderix
