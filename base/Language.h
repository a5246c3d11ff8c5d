#pragma once

#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace ponderix {

// The language of every text the user reads, by its code: "en" for the
// text table itself, or the code of a translation built into the program
// ("de", "fr", ...). Files, JSON and exit codes never depend on it.

// "en" first, then the built-in translations in the order of their list.
QStringList availableLanguages();

// The locale variables of a Linux desktop, as the environment gives them.
struct LocaleEnvironment {
    QString language; // LANGUAGE: a colon-separated list of preferences
    QString lcAll;
    QString lcMessages;
    QString lang;

    static LocaleEnvironment current();
};

// The first preference that has a translation ("de_AT.UTF-8" counts as
// "de"), from LANGUAGE, then the first set one of LC_ALL, LC_MESSAGES and
// LANG; English when none has one, and for the C and POSIX locales.
QString languageFromEnvironment(const LocaleEnvironment& environment, const QStringList& available);

// Makes `code` the language of uiText and of the functions below. False,
// leaving English, when the program has no translation for it.
bool chooseLanguage(const QString& code);

// The same with the text of a PO file given directly, as a test brings its
// own; false when the text cannot be read.
bool chooseLanguage(const QString& code, QByteArrayView poText);

QString chosenLanguage();

// The translation of an English text that is not in the text table, such as
// the demo project's names, under its PO context ("Demo"); the English text
// itself when the language has none.
QString translatedText(QStringView context, const QString& english);

// The option --language CODE (or --language=CODE), taken out of `arguments`
// wherever it stands. `problem` says what is wrong with it, for a usage
// message that names the allowed values.
struct LanguageOption {
    bool given = false;
    QString code;
    QString problem;
};
LanguageOption takeLanguageOption(QStringList& arguments);

// The language of a program's run: the one given with --language, else the
// one of the desktop's locale variables.
void chooseLanguageOfThisRun(const LanguageOption& option);

// A percentage as the chosen language writes it: "+65%" in English,
// "+65 %" in German, "62,5 %" in French. Only for what a person reads.
QString percentText(double value, int decimals, bool withPlusSign);

// A name, file or date inside a sentence, in the chosen language's
// quotation marks: "Car" in English, „Auto“ in German, « voiture » in French.
QString quoted(const QString& text);

// A colon, semicolon, question or exclamation mark between or after texts,
// with the narrow no-break space French puts before it.
QString punctuation(QChar mark);

// A count with the chosen language's digit grouping: "1,000" in English,
// "1.000" in German. Only for what a person reads.
QString countText(qlonglong count);

} // namespace ponderix
