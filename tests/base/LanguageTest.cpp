#include "base/Language.h"
#include "base/PoCatalog.h"
#include "base/TextTable.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

QByteArray fixture()
{
    QFile file(QStringLiteral(PONDERIX_TEST_DATA "/translations/de-fixture.po"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every test leaves the program in English, as the others expect it.
class LanguageTest : public ::testing::Test {
protected:
    void TearDown() override { chooseLanguage(u"en"_s); }
};

} // namespace

TEST(PoCatalog, ReadsStringsOverSeveralLinesEscapesAndFlags)
{
    const PoCatalog catalog = readPoCatalog(fixture());
    ASSERT_TRUE(catalog.ok()) << catalog.error.toStdString() << " in line " << catalog.errorLine;
    ASSERT_EQ(catalog.entries.size(), 8u); // the header is not an entry
    EXPECT_EQ(catalog.entries[0].context, u"MEN00001"_s);
    EXPECT_EQ(catalog.entries[0].translation, u"&Datei"_s);
    EXPECT_EQ(catalog.entries[1].translation, u"Fehler"_s);
    EXPECT_TRUE(catalog.entries[2].fuzzy);
    EXPECT_FALSE(catalog.entries[1].fuzzy);
    EXPECT_EQ(catalog.entries[5].translation, u"Läuft schon: \"%1\"\tnoch\\da"_s);
    EXPECT_TRUE(catalog.entries[5].qtFormat);
    EXPECT_EQ(catalog.entries[5].line, 34);
}

TEST(PoCatalog, DamagedTextGivesItsFirstErrorAndLine)
{
    struct Case {
        const char* text;
        const char* error;
        int line;
    };
    const Case cases[] = {
        {"msgid \"a\"\n\nmsgid \"b\"\nmsgstr \"\"\n", "msgid without msgstr", 1},
        {"msgid \"a\nmsgstr \"\"\n", "a string must stand in double quotes", 1},
        {"msgid \"a\"\nmsgstr \"x\\q\"\n", "unknown escape \\q", 2},
        {"msgid \"a\"\nmsgstr \"x\"y\"\n", "a double quote inside a string needs a backslash", 2},
        {"\"loose\"\n", "a string outside an entry", 1},
        {"msgid \"a\"\nmsgtext \"b\"\n", "unknown keyword msgtext", 2},
        {"msgstr \"b\"\n\n", "msgstr without msgid", 0},
    };
    for (const Case& c : cases) {
        const PoCatalog catalog = readPoCatalog(QByteArrayView(c.text));
        EXPECT_EQ(catalog.error, QString::fromUtf8(c.error)) << c.text;
        EXPECT_EQ(catalog.errorLine, c.line) << c.text;
    }
}

TEST(PoCatalog, OctalEscapesAndEntriesWithoutBlankLinesBetween)
{
    const PoCatalog catalog =
        readPoCatalog("msgid \"a\"\nmsgstr \"\\101\\1012\"\nmsgctxt \"k\"\nmsgid \"b\"\nmsgstr \"B\"");
    ASSERT_TRUE(catalog.ok());
    ASSERT_EQ(catalog.entries.size(), 2u);
    EXPECT_EQ(catalog.entries[0].translation, u"AA2"_s);
    EXPECT_EQ(catalog.entries[1].context, u"k"_s);
}

TEST(Language, ComesFromTheDesktopsLocaleVariables)
{
    struct Case {
        LocaleEnvironment environment;
        const char* expected;
    };
    const QStringList available = {u"en"_s, u"de"_s, u"fr"_s, u"pt"_s};
    const Case cases[] = {
        {{u"ja:fr_CA:de"_s, {}, {}, u"de_DE.UTF-8"_s}, "fr"},   // the first preference with a translation
        {{u"ja"_s, {}, {}, u"de_AT.UTF-8@euro"_s}, "de"},       // none in LANGUAGE: the locale
        {{u"en_GB:de"_s, {}, {}, {}}, "en"},                    // English is a translation too
        {{{}, u"fr_FR.UTF-8"_s, u"de_DE"_s, u"pt_BR"_s}, "fr"}, // LC_ALL before the others
        {{{}, {}, u"de_DE"_s, u"pt_BR"_s}, "de"},
        {{{}, {}, {}, u"pt_PT.UTF-8"_s}, "pt"},
        {{{}, {}, {}, u"ja_JP.UTF-8"_s}, "en"},
        {{u"de"_s, u"C"_s, {}, u"fr_FR"_s}, "en"}, // the C locale wants untranslated texts
        {{u"de"_s, {}, {}, u"POSIX"_s}, "en"},
        {{u"de"_s, {}, {}, u"C.UTF-8"_s}, "en"},
        {{u"fr"_s, {}, {}, {}}, "fr"},
        {{}, "en"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(languageFromEnvironment(c.environment, available), QString::fromUtf8(c.expected))
            << c.environment.language.toStdString() << " / " << c.environment.lang.toStdString();
    }
}

TEST_F(LanguageTest, ATranslationReplacesOnlyConfirmedTextsOfTheTable)
{
    ASSERT_TRUE(chooseLanguage(u"de"_s, fixture()));
    EXPECT_EQ(chosenLanguage(), u"de"_s);
    EXPECT_EQ(uiText(TextKey::MEN00001), u"&Datei"_s);
    EXPECT_EQ(uiText(TextKey::TXT00001), u"Fehler"_s);
    EXPECT_EQ(uiText(TextKey::MEN00002), u"&Edit"_s);     // fuzzy
    EXPECT_EQ(uiText(TextKey::MEN00003), u"&Analysis"_s); // not translated
    EXPECT_EQ(uiText(TextKey::Program_Name), u"Ponderix"_s);
    EXPECT_TRUE(isProgramConstant(TextKey::Program_Short));
    EXPECT_FALSE(isProgramConstant(TextKey::MEN00001));
    EXPECT_EQ(translatedText(u"Demo", u"Price"_s), u"Preis"_s);
    EXPECT_EQ(translatedText(u"Demo", u"Diesel"_s), u"Diesel"_s);
    EXPECT_EQ(translatedText(u"Other", u"Price"_s), u"Price"_s);

    ASSERT_TRUE(chooseLanguage(u"en"_s));
    EXPECT_EQ(uiText(TextKey::MEN00001), u"&File"_s);
    EXPECT_EQ(translatedText(u"Demo", u"Price"_s), u"Price"_s);
}

TEST_F(LanguageTest, ADamagedOrMissingTranslationLeavesEnglish)
{
    EXPECT_FALSE(chooseLanguage(u"de"_s, "msgid \"a\"\n"));
    EXPECT_FALSE(chooseLanguage(u"xx"_s));
    EXPECT_EQ(chosenLanguage(), u"en"_s);
    EXPECT_EQ(uiText(TextKey::TXT00001), u"Error"_s);
}

TEST_F(LanguageTest, PercentagesFollowTheLanguage)
{
    struct Case {
        const char* language;
        double value;
        int decimals;
        bool sign;
        QString expected;
    };
    const QString space(QChar(0x00A0));
    const Case cases[] = {
        {"en", 65, 0, true, u"+65%"_s},
        {"en", -12, 0, true, u"-12%"_s},
        {"en", 0, 0, true, u"0%"_s},
        {"en", 62.5, 1, false, u"62.5%"_s},
        {"en", 100, 1, false, u"100.0%"_s},
        {"de", 65, 0, true, u"+65"_s + space + u'%'},
        {"de", 62.5, 1, false, u"62,5"_s + space + u'%'},
        {"fr", -12, 0, true, u"-12"_s + space + u'%'},
        {"es", 7.25, 1, false, u"7,3"_s + space + u'%'},
        {"it", 62.5, 1, false, u"62,5%"_s},
        {"pt", 65, 0, true, u"+65%"_s},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(chooseLanguage(QString::fromUtf8(c.language), QByteArrayView()));
        EXPECT_EQ(percentText(c.value, c.decimals, c.sign), c.expected) << c.language << ' ' << c.value;
    }
}

TEST_F(LanguageTest, NamesAndJoinsTakeTheLanguagesMarks)
{
    const struct {
        const char* language;
        QString quotedName;
        QString colon;
    } cases[] = {
        {"en", u"\"Car\""_s, u":"_s},
        {"de", u"\u201ECar\u201C"_s, u":"_s},
        {"fr", u"\u00AB\u202FCar\u202F\u00BB"_s, u"\u202F:"_s},
        {"es", u"\u00ABCar\u00BB"_s, u":"_s},
        {"it", u"\u00ABCar\u00BB"_s, u":"_s},
        {"pt", u"\u201CCar\u201D"_s, u":"_s},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(chooseLanguage(QString::fromUtf8(c.language), QByteArrayView()));
        EXPECT_EQ(quoted(u"Car"_s), c.quotedName) << c.language;
        EXPECT_EQ(punctuation(u':'), c.colon) << c.language;
    }
}

TEST(Language, OptionIsTakenOutWhereverItStands)
{
    struct Case {
        QStringList arguments;
        bool given;
        const char* code;
        QStringList rest;
        bool wrong;
    };
    const Case cases[] = {
        {{u"scores"_s, u"--language"_s, u"en"_s, u"a.pnx"_s}, true, "en", {u"scores"_s, u"a.pnx"_s}, false},
        {{u"--language=en"_s, u"demo"_s}, true, "en", {u"demo"_s}, false},
        {{u"demo"_s, u"-o"_s, u"x.pnx"_s}, false, "", {u"demo"_s, u"-o"_s, u"x.pnx"_s}, false},
        {{u"--language"_s, u"tlh"_s, u"demo"_s}, true, "tlh", {u"demo"_s}, true},
        {{u"demo"_s, u"--language"_s}, true, "", {u"demo"_s}, true},
    };
    for (const Case& c : cases) {
        QStringList arguments = c.arguments;
        const LanguageOption option = takeLanguageOption(arguments);
        EXPECT_EQ(option.given, c.given);
        EXPECT_EQ(option.code, QString::fromUtf8(c.code));
        EXPECT_EQ(arguments, c.rest);
        EXPECT_EQ(!option.problem.isEmpty(), c.wrong) << option.problem.toStdString();
        // The message names what may be given.
        if (c.wrong) {
            EXPECT_TRUE(option.problem.contains(availableLanguages().join(u", "_s))) << option.problem.toStdString();
        }
    }
    QStringList twice = {u"--language"_s, u"de"_s, u"scores"_s, u"--language=fr"_s};
    EXPECT_EQ(takeLanguageOption(twice).problem, u"--language is given twice"_s);
}
