#pragma once

#include <QString>

#include <cstdint>
#include <span>

namespace ponderix {

// One key per entry of the text table. A misspelt key does not build.
enum class TextKey : std::uint16_t {
#define PONDERIX_TEXT(key, value) key,
#include "base/TextEntries.inc"
#undef PONDERIX_TEXT
};

// The text or program constant a key stands for.
QString uiText(TextKey key);

// The table's own English text of a key, whatever the chosen language.
QString englishText(TextKey key);

// The key's own name ("TXT00251"), for listings and machine-readable output.
QString textKeyName(TextKey key);

// Every key, in the order of the table.
std::span<const TextKey> allTextKeys();

// Folder and file names, the program's name, version and addresses: the
// same in every language, since files and other programs rely on them.
bool isProgramConstant(TextKey key);

struct PoCatalog;

// Makes uiText give the catalog's translation of each key (its msgctxt)
// that has a confirmed, non-empty one, and the English text for the rest;
// an empty catalog brings back English throughout.
void translateTextTable(const PoCatalog& catalog);

} // namespace ponderix
