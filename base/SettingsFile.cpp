#include "base/SettingsFile.h"

#include "base/Blanks.h"
#include "base/IntegerText.h"

#include <QFile>
#include <QStringView>

#include <algorithm>
#include <array>
#include <optional>
#include <variant>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

using Member = std::variant<QString Settings::*, int Settings::*>;

struct SettingsKey {
    QStringView name;
    Member member;
    bool blankTrimmed; // text stored without leading and trailing blanks
    // The range an integer is clamped to as it is read: a hand-edited or
    // damaged file must not hand the program a number that overflows where
    // it is used, nor stick by being written back at exit.
    int minimum = 0;
    int maximum = 0;
};

// Far beyond any screen, and small enough that a position plus a size
// cannot overflow. Below -1 a position still means "not stored": the window
// then opens centred.
constexpr int kWindowExtent = 1 << 24;

// Reader and writer both walk this table, so the written order and the keys
// the reader knows can never drift apart.
constexpr std::array<SettingsKey, 11> kKeys{{
    {u"LastDirectory", &Settings::LastDirectory, false},
    {u"LastProject", &Settings::LastProject, false},
    {u"WindowPosLeft", &Settings::WindowPosLeft, false, -kWindowExtent, kWindowExtent},
    {u"WindowPosTop", &Settings::WindowPosTop, false, -kWindowExtent, kWindowExtent},
    {u"WindowPosWidth", &Settings::WindowPosWidth, false, -1, kWindowExtent},
    {u"WindowPosHeight", &Settings::WindowPosHeight, false, -1, kWindowExtent},
    {u"ImagePath", &Settings::ImagePath, true},
    {u"ImageType", &Settings::ImageType, true},
    {u"ExportDateiName", &Settings::ExportDateiName, true},
    {u"ExportDateiTyp", &Settings::ExportDateiTyp, false, 0, 1}, // the text export's two layouts
    {u"CriteriaAddWidth", &Settings::CriteriaAddWidth, false, 0, kCriteriaAddWidthMax},
}};

constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";

bool isBlankOrTab(QChar character)
{
    return character == u' ' || character == u'\t';
}

QStringView withoutBlanksAndTabs(QStringView text)
{
    while (!text.isEmpty() && isBlankOrTab(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlankOrTab(text.back()))
        text.chop(1);
    return text;
}

// A line break inside a value would end its line early and let the rest be
// read as a key of its own ("\nWindowPosLeft = 5" inside a project path).
// Each CR and each LF becomes a blank rather than vanishing, so the parts on
// either side stay apart and the value keeps its length.
QString onOneLine(QString text)
{
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

struct Entry {
    QStringView key;
    QStringView value;
};

// Comment lines (";" first) and group headers ("[...]") need no case of their
// own: whatever stands before their "=", if they have one, begins with ";" or
// "[", which no key does, so they end up ignored like any unknown key.
std::optional<Entry> entryOf(QStringView line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return Entry{withoutBlanksAndTabs(line.first(equals)), withoutBlanksAndTabs(line.sliced(equals + 1))};
}

std::optional<std::size_t> keyIndex(QStringView key)
{
    for (std::size_t index = 0; index < kKeys.size(); ++index) {
        if (kKeys[index].name.compare(key, Qt::CaseInsensitive) == 0)
            return index;
    }
    return std::nullopt;
}

// The value arrives without surrounding blanks and tabs, which already gives
// the blank-trimmed texts their stored form.
void assign(Settings& settings, const SettingsKey& key, QStringView value)
{
    if (const auto* text = std::get_if<QString Settings::*>(&key.member))
        settings.*(*text) = value.toString();
    else
        settings.*std::get<int Settings::*>(key.member) =
            std::clamp(readInteger(value, IntegerSyntax::Decimal), key.minimum, key.maximum);
}

QString storedValue(const Settings& settings, const SettingsKey& key)
{
    if (const auto* integer = std::get_if<int Settings::*>(&key.member))
        return QString::number(settings.*(*integer));
    const QString text = onOneLine(settings.*std::get<QString Settings::*>(key.member));
    return key.blankTrimmed ? trimBlanks(text) : text;
}

} // namespace

Settings defaultSettings(const QString& documentsFolder)
{
    Settings settings;
    settings.LastDirectory = documentsFolder;
    settings.ExportDateiName = documentsFolder + u"export.txt"_s;
    return settings;
}

Settings readSettingsFile(const QString& filePath, const QString& documentsFolder)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return defaultSettings(documentsFolder);
    return parseSettings(file.readAll(), documentsFolder);
}

Settings parseSettings(const QByteArray& bytes, const QString& documentsFolder)
{
    // The decoder drops a leading byte-order mark, so files with and without
    // one read alike.
    const QString text = QString::fromUtf8(bytes);

    Settings settings = defaultSettings(documentsFolder);
    // When a hand-edited file names a key twice, the first line wins: it is
    // the one a reader scanning from the top finds, and the one the user
    // sees first when looking for the key.
    std::array<bool, kKeys.size()> seen{};
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const std::optional<Entry> entry = entryOf(line);
        if (!entry)
            continue;
        const std::optional<std::size_t> index = keyIndex(entry->key);
        if (!index || seen[*index])
            continue;
        seen[*index] = true;
        assign(settings, kKeys[*index], entry->value);
    }
    return settings;
}

QByteArray settingsFileBytes(const Settings& settings)
{
    QString text;
    for (const SettingsKey& key : kKeys)
        text += key.name % u" = " % storedValue(settings, key) % u"\r\n";
    return kByteOrderMark.toByteArray() + text.toUtf8();
}

WriteResult writeSettingsFile(const QString& filePath, const Settings& settings)
{
    return writeFileAtomically(filePath, settingsFileBytes(settings));
}

} // namespace ponderix
