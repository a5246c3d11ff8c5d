#include "base/IntegerText.h"

#include <cstdint>
#include <limits>
#include <type_traits>

namespace ponderix {

namespace {

int digitValue(char32_t character, int base)
{
    int digit = -1;
    if (character >= U'0' && character <= U'9')
        digit = static_cast<int>(character - U'0');
    else if (character >= U'a' && character <= U'f')
        digit = static_cast<int>(character - U'a') + 10;
    else if (character >= U'A' && character <= U'F')
        digit = static_cast<int>(character - U'A') + 10;
    return digit < base ? digit : -1;
}

template <typename Text> int readIntegerFrom(const Text& text, IntegerSyntax syntax)
{
    std::size_t position = 0;
    const std::size_t length = static_cast<std::size_t>(text.size());
    auto at = [&](std::size_t index) -> char32_t {
        if constexpr (std::is_same_v<Text, QStringView>)
            return text[static_cast<qsizetype>(index)].unicode();
        else
            return static_cast<unsigned char>(text[index]);
    };

    while (position < length && (at(position) == U' ' || at(position) == U'\t'))
        ++position;
    bool negative = false;
    if (position < length && (at(position) == U'+' || at(position) == U'-')) {
        negative = at(position) == U'-';
        ++position;
    }
    int base = 10;
    if (syntax == IntegerSyntax::WithRadixPrefixes && position < length) {
        if (at(position) == U'$') {
            base = 16;
            ++position;
        } else if (at(position) == U'%') {
            base = 2;
            ++position;
        }
    }
    // Accumulate the magnitude with a ceiling just above the 32-bit range, so
    // arbitrarily long digit runs cannot overflow while still saturating.
    constexpr std::int64_t ceiling = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; position < length; ++position) {
        const int digit = digitValue(at(position), base);
        if (digit < 0)
            break;
        magnitude = std::min(magnitude * base + digit, ceiling);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<int>(value);
}

} // namespace

int readInteger(std::string_view text, IntegerSyntax syntax)
{
    return readIntegerFrom(text, syntax);
}

int readInteger(QStringView text, IntegerSyntax syntax)
{
    return readIntegerFrom(text, syntax);
}

} // namespace ponderix
