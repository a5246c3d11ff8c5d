#include "project/ProjectMessages.h"

#include "base/AtomicFile.h"
#include "base/TextTable.h"
#include "project/ProjectReader.h"

#include <QLocale>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// Names the limit, so that whoever generated the file knows what to change.
Message tooLarge(qlonglong limit, QStringView what)
{
    return {u"Error"_s, u"File could not be opened!\r\n\r\nThe project holds more than %1 %2."_s
                            .arg(QLocale(QLocale::English).toString(limit), what)};
}

} // namespace

Message readErrorMessage(const ReadError& error)
{
    switch (error.kind) {
    case ReadError::Kind::CannotRead:
        return {uiText(TextKey::TXT00001), uiText(TextKey::TXT00094)};
    case ReadError::Kind::Syntax:
        return {u"Error"_s, u"File could not be opened!\r\n\r\nXML Error Message: "_s + error.description
                                + u"\r\nLine: "_s + QString::number(error.line) + u"   Character: "_s
                                + QString::number(error.column)};
    case ReadError::Kind::NoRoot:
        return {u"Error"_s, u"XML file is corrupt!"_s};
    case ReadError::Kind::WrongRoot:
        return {u"Error"_s, u"File is not a project!"_s};
    case ReadError::Kind::TooLarge:
        return tooLarge(kReadableCellLimit, u"ratings");
    case ReadError::Kind::TooManyOptions:
        return tooLarge(kReadableOptionLimit, u"options");
    case ReadError::Kind::TooManyCriteria:
        return tooLarge(kReadableCriterionLimit, u"criteria");
    case ReadError::Kind::TooManyMissing:
        return {u"Error"_s,
                u"File could not be opened!\r\n\r\nThe file leaves out more than %1 of the project's ratings."_s.arg(
                    QLocale(QLocale::English).toString(static_cast<qlonglong>(kFilledInRatingLimit)))};
    }
    return {};
}

Message writeErrorMessage(const QString& path, const WriteResult& result)
{
    return {uiText(TextKey::TXT00001), uiText(TextKey::TXT00093) + u"\r\n\r\n"_s + path + u"\r\n\r\n"_s + result.error};
}

} // namespace ponderix
