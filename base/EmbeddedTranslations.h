#pragma once

#include <span>
#include <string_view>

namespace ponderix {

// A translation built into the program: its language code and the bytes of
// its PO file. The build generates the list from the languages of
// po/Languages.cmake.
struct EmbeddedTranslation {
    std::u16string_view code;
    std::span<const unsigned char> poText;
};

std::span<const EmbeddedTranslation> embeddedTranslations();

} // namespace ponderix
