#include "base/TextTable.h"

#include "base/PoCatalog.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace ponderix {

namespace {

struct Entry {
    TextKey key;
    std::u16string_view name;
    std::u16string_view value;
};

constexpr Entry kEntries[] = {
#define PONDERIX_TEXT(key, value) {TextKey::key, u## #key, value},
#include "base/TextEntries.inc"
#undef PONDERIX_TEXT
};

constexpr std::size_t kKeyCount = std::size(kEntries);

// Look-up indexes by the key's number, so the entries must stand in the
// order of the enumeration, which they do by construction.
constexpr bool entriesFollowTheKeys()
{
    for (std::size_t i = 0; i < kKeyCount; ++i) {
        if (static_cast<std::size_t>(kEntries[i].key) != i)
            return false;
    }
    return true;
}
static_assert(entriesFollowTheKeys());

constexpr std::array<TextKey, kKeyCount> makeKeys()
{
    std::array<TextKey, kKeyCount> keys{};
    for (std::size_t i = 0; i < kKeyCount; ++i)
        keys[i] = kEntries[i].key;
    return keys;
}
constexpr std::array<TextKey, kKeyCount> kKeys = makeKeys();

const Entry& entry(TextKey key)
{
    return kEntries[static_cast<std::size_t>(key)];
}

QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::array<QString, kKeyCount> englishTexts()
{
    std::array<QString, kKeyCount> made;
    for (std::size_t i = 0; i < kKeyCount; ++i)
        made[i] = toQString(kEntries[i].value);
    return made;
}

// Made once, and again only when the language changes at start: every
// caller then shares the same string data.
std::array<QString, kKeyCount>& shownTexts()
{
    static std::array<QString, kKeyCount> texts = englishTexts();
    return texts;
}

constexpr TextKey kProgramConstants[] = {
    TextKey::AppData_Subdir,   TextKey::Copyright_Text, TextKey::Offline_Hilfe, TextKey::Online_Adresse,
    TextKey::Online_MoreTools, TextKey::Program_Name,   TextKey::Program_Short, TextKey::Registry_Subkey,
    TextKey::Settings_File,    TextKey::Temp_Subdir,    TextKey::Version_Name,
};

} // namespace

QString uiText(TextKey key)
{
    return shownTexts()[static_cast<std::size_t>(key)];
}

bool isProgramConstant(TextKey key)
{
    return std::find(std::begin(kProgramConstants), std::end(kProgramConstants), key) != std::end(kProgramConstants);
}

void translateTextTable(const PoCatalog& catalog)
{
    static const QHash<QString, TextKey> keysByName = [] {
        QHash<QString, TextKey> made;
        for (const Entry& entry : kEntries)
            made.insert(toQString(entry.name), entry.key);
        return made;
    }();
    std::array<QString, kKeyCount> texts = englishTexts();
    for (const PoEntry& entry : catalog.entries) {
        const auto key = keysByName.constFind(entry.context);
        if (key == keysByName.cend() || isProgramConstant(*key) || entry.fuzzy || entry.translation.isEmpty())
            continue;
        texts[static_cast<std::size_t>(*key)] = entry.translation;
    }
    shownTexts() = std::move(texts);
}

QString englishText(TextKey key)
{
    return toQString(entry(key).value);
}

QString textKeyName(TextKey key)
{
    return toQString(entry(key).name);
}

std::span<const TextKey> allTextKeys()
{
    return kKeys;
}

} // namespace ponderix
