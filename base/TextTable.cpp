#include "base/TextTable.h"

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

} // namespace

QString uiText(TextKey key)
{
    // Made once: every caller then shares the same string data.
    static const std::array<QString, kKeyCount> values = [] {
        std::array<QString, kKeyCount> made;
        for (std::size_t i = 0; i < kKeyCount; ++i)
            made[i] = toQString(kEntries[i].value);
        return made;
    }();
    return values[static_cast<std::size_t>(key)];
}

QString textKeyName(TextKey key)
{
    return toQString(entry(key).name);
}

std::span<const TextKey> allTextKeys()
{
    return kKeys;
}

QString quoted(const QString& text)
{
    return u'"' + text + u'"';
}

} // namespace ponderix
