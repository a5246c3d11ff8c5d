#include "base/Language.h"

#include "base/EmbeddedTranslations.h"
#include "base/PoCatalog.h"
#include "base/TextTable.h"

#include <QHash>

#include <algorithm>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView kEnglish = u"en";

struct ChosenLanguage {
    QString code = kEnglish.toString();
    QHash<QString, QString> otherTexts; // by context, U+0004 and the English text, as gettext joins them
};

ChosenLanguage& chosen()
{
    static ChosenLanguage language;
    return language;
}

QString lookUpKey(QStringView context, const QString& english)
{
    return context + QChar(4) + english;
}

QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// "de_AT.UTF-8@euro" names the language "de".
QString languagePart(QStringView locale)
{
    qsizetype end = 0;
    while (end < locale.size() && locale[end].isLetter())
        ++end;
    return locale.first(end).toString().toLower();
}

// The first entry of a LANGUAGE list or a locale name that has a translation.
std::optional<QString> firstAvailable(const QString& preferences, const QStringList& available)
{
    for (const QString& preference : preferences.split(u':', Qt::SkipEmptyParts)) {
        const QString code = languagePart(preference);
        if (available.contains(code))
            return code;
    }
    return std::nullopt;
}

bool isPlainCLocale(const QString& locale)
{
    return locale == u"C" || locale == u"POSIX" || locale.startsWith(u"C."_s);
}

// Where each language puts a no-break space before the percent sign, as its
// typography wants it; the others write the sign straight after the number.
QString percentSpacing(const QString& code)
{
    static const QStringList spaced = {u"de"_s, u"fr"_s, u"es"_s};
    return spaced.contains(code) ? QString(QChar(0x00A0)) : QString();
}

} // namespace

QStringList availableLanguages()
{
    QStringList codes = {kEnglish.toString()};
    for (const EmbeddedTranslation& translation : embeddedTranslations())
        codes << toQString(translation.code);
    return codes;
}

LocaleEnvironment LocaleEnvironment::current()
{
    return {qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
            qEnvironmentVariable("LANG")};
}

QString languageFromEnvironment(const LocaleEnvironment& environment, const QStringList& available)
{
    // The locale in force is the first of these that is set; LC_ALL
    // overrides the others, as the C library reads them.
    QString locale;
    for (const QString* variable : {&environment.lcAll, &environment.lcMessages, &environment.lang}) {
        if (!variable->isEmpty()) {
            locale = *variable;
            break;
        }
    }
    // The C locale asks for untranslated messages, whatever LANGUAGE says.
    if (isPlainCLocale(locale))
        return kEnglish.toString();
    if (const std::optional<QString> preferred = firstAvailable(environment.language, available))
        return *preferred;
    return firstAvailable(locale, available).value_or(kEnglish.toString());
}

bool chooseLanguage(const QString& code)
{
    if (code == kEnglish)
        return chooseLanguage(code, {});
    for (const EmbeddedTranslation& translation : embeddedTranslations()) {
        if (toQString(translation.code) == code)
            return chooseLanguage(code, QByteArrayView(translation.poText.data(), translation.poText.size()));
    }
    return false;
}

bool chooseLanguage(const QString& code, QByteArrayView poText)
{
    const PoCatalog catalog = readPoCatalog(poText);
    if (!catalog.ok())
        return false;
    ChosenLanguage language{code, {}};
    for (const PoEntry& entry : catalog.entries) {
        if (!entry.fuzzy && !entry.translation.isEmpty())
            language.otherTexts.insert(lookUpKey(entry.context, entry.source), entry.translation);
    }
    translateTextTable(catalog);
    chosen() = std::move(language);
    return true;
}

QString chosenLanguage()
{
    return chosen().code;
}

QString translatedText(QStringView context, const QString& english)
{
    return chosen().otherTexts.value(lookUpKey(context, english), english);
}

LanguageOption takeLanguageOption(QStringList& arguments)
{
    LanguageOption option;
    for (qsizetype i = 0; i < arguments.size();) {
        const QString& argument = arguments[i];
        QString code;
        if (argument == u"--language" && i + 1 < arguments.size()) {
            code = arguments[i + 1];
            arguments.remove(i, 2);
        } else if (argument.startsWith(u"--language="_s)) {
            code = argument.sliced(11);
            arguments.remove(i);
        } else if (argument == u"--language") {
            arguments.remove(i);
        } else {
            ++i;
            continue;
        }
        // Which one was meant is anyone's guess: refused, as any option given twice.
        if (option.given) {
            option.problem = uiText(TextKey::TXT02043).arg(u"--language"_s);
            return option;
        }
        option.code = code;
        option.given = true;
    }
    const QStringList available = availableLanguages();
    if (option.given && !available.contains(option.code)) {
        option.problem = u"--language needs one of "_s + available.join(u", "_s)
                         + (option.code.isEmpty() ? QString() : u", not "_s + option.code);
    }
    return option;
}

void chooseLanguageOfThisRun(const LanguageOption& option)
{
    chooseLanguage(option.given ? option.code
                                : languageFromEnvironment(LocaleEnvironment::current(), availableLanguages()));
}

QString percentText(double value, int decimals, bool withPlusSign)
{
    const QString& code = chosen().code;
    QLocale locale(code);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'f', decimals);
    if (withPlusSign && value > 0)
        text.prepend(locale.positiveSign());
    return text + percentSpacing(code) + locale.percent();
}

QString quoted(const QString& text)
{
    static const QHash<QString, std::pair<QString, QString>> marks = {
        {u"de"_s, {u"\u201E"_s, u"\u201C"_s}}, {u"fr"_s, {u"\u00AB\u202F"_s, u"\u202F\u00BB"_s}},
        {u"es"_s, {u"\u00AB"_s, u"\u00BB"_s}}, {u"it"_s, {u"\u00AB"_s, u"\u00BB"_s}},
        {u"pt"_s, {u"\u201C"_s, u"\u201D"_s}},
    };
    const auto [open, close] = marks.value(chosen().code, {u"\""_s, u"\""_s});
    return open + text + close;
}

QString punctuation(QChar mark)
{
    return (chosen().code == u"fr"_s ? QString(QChar(0x202F)) : QString()) + mark;
}

QString countText(qlonglong count)
{
    return QLocale(chosen().code).toString(count);
}

} // namespace ponderix
