#include "project/ProjectMessages.h"

#include "base/AtomicFile.h"
#include "base/Language.h"
#include "base/TextTable.h"
#include "project/ProjectReader.h"

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// Names the limit, so that whoever generated the file knows what to change.
Message tooLarge(TextKey sentence, qlonglong limit)
{
    return {uiText(TextKey::TXT00001),
            uiText(TextKey::TXT00860) + u"\r\n\r\n"_s + uiText(sentence).arg(countText(limit))};
}

} // namespace

Message readErrorMessage(const ReadError& error)
{
    const QString title = uiText(TextKey::TXT00001);
    switch (error.kind) {
    case ReadError::Kind::CannotRead:
        return {title, uiText(TextKey::TXT00094)};
    case ReadError::Kind::Syntax:
        return {title, uiText(TextKey::TXT00860) + u"\r\n\r\n"_s + uiText(TextKey::TXT00861) + u' ' + error.description
                           + u"\r\n"_s + uiText(TextKey::TXT00862) + u' ' + QString::number(error.line) + u"   "_s
                           + uiText(TextKey::TXT00863) + u' ' + QString::number(error.column)};
    case ReadError::Kind::NoRoot:
        return {title, uiText(TextKey::TXT00864)};
    case ReadError::Kind::WrongRoot:
        return {title, uiText(TextKey::TXT00865)};
    case ReadError::Kind::TooLarge:
        return tooLarge(TextKey::TXT00866, kReadableCellLimit);
    case ReadError::Kind::TooManyOptions:
        return tooLarge(TextKey::TXT00867, kReadableOptionLimit);
    case ReadError::Kind::TooManyCriteria:
        return tooLarge(TextKey::TXT00868, kReadableCriterionLimit);
    case ReadError::Kind::TooManyMissing:
        return tooLarge(TextKey::TXT00869, kFilledInRatingLimit);
    }
    return {};
}

Message writeErrorMessage(const QString& path, const WriteResult& result)
{
    return {uiText(TextKey::TXT00001), uiText(TextKey::TXT00093) + u"\r\n\r\n"_s + path + u"\r\n\r\n"_s + result.error};
}

} // namespace ponderix
