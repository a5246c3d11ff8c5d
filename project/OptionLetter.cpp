#include "project/OptionLetter.h"

#include "project/ProjectReader.h"

#include <algorithm>
#include <vector>

namespace ponderix {

namespace {

constexpr int kLetterCount = 26;

QString spelled(int index)
{
    // Bijective base 26: each place holds 1..26 (A..Z), not 0..25.
    QString letters;
    for (int rest = index;; rest = rest / kLetterCount - 1) {
        letters += QChar(u'A' + rest % kLetterCount);
        if (rest < kLetterCount)
            break;
    }
    std::ranges::reverse(letters);
    return letters;
}

} // namespace

QString optionLetter(int index)
{
    // The letters of every option a file may hold, made once: a large
    // project's outputs name its options millions of times.
    static const std::vector<QString> made = [] {
        std::vector<QString> letters;
        for (int i = 0; i < kReadableOptionLimit; ++i)
            letters.push_back(spelled(i));
        return letters;
    }();
    if (index < 0)
        return QStringLiteral("\uFFFD");
    return index < kReadableOptionLimit ? made[static_cast<std::size_t>(index)] : spelled(index);
}

std::optional<int> optionOfLetter(const QString& letter, int optionCount)
{
    if (letter.isEmpty())
        return std::nullopt;
    qint64 number = 0; // the index plus one
    for (QChar character : letter) {
        if (character < u'A' || character > u'Z')
            return std::nullopt;
        number = number * kLetterCount + (character.unicode() - u'A' + 1);
        if (number > optionCount)
            return std::nullopt; // also keeps a long text from overflowing
    }
    return static_cast<int>(number - 1);
}

} // namespace ponderix
