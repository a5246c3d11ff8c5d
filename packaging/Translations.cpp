// The build's tool for the translations, kept out of the programs:
//   ponderix_translations pot SOURCE_FOLDER
//       prints the template po/ponderix.pot made from the English texts: the
//       text table, the demo project, the desktop entry and the metainfo;
//   ponderix_translations desktop|metainfo ENGLISH_FILE PO_FOLDER OUT CODE...
//       writes the desktop entry or the metainfo with each language's
//       translations in their standard per-language fields.
#include "base/PoCatalog.h"
#include "base/TextTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>

#include <cstdio>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

std::optional<QString> readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "ponderix_translations: cannot read %s\n", qPrintable(path));
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

bool writeText(const QString& path, const QString& text)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
        return true;
    std::fprintf(stderr, "ponderix_translations: cannot write %s\n", qPrintable(path));
    return false;
}

QString quoted(QString text)
{
    text.replace(u"\\"_s, u"\\\\"_s).replace(u"\""_s, u"\\\""_s).replace(u"\n"_s, u"\\n"_s).replace(u"\t"_s, u"\\t"_s);
    return u'"' + text + u'"';
}

// The template's entries, in the layout the translators' tools write.
class Template final {
public:
    QStringList lines = {
        u"# Ponderix: the texts a user sees, keyed as in the program's text table."_s,
        u"# msgctxt is the key, msgid the English text. Regenerate, do not edit."_s,
        u"msgid \"\""_s,
        u"msgstr \"\""_s,
        u"\"Project-Id-Version: Ponderix 1.0.0\\n\""_s,
        u"\"MIME-Version: 1.0\\n\""_s,
        u"\"Content-Type: text/plain; charset=UTF-8\\n\""_s,
        u"\"Content-Transfer-Encoding: 8bit\\n\""_s,
        QString(),
    };

    void add(const QString& context, const QString& english, const QStringList& comments = {})
    {
        for (const QString& comment : comments)
            lines << u"#. "_s + comment;
        if (english.contains(QRegularExpression(u"%\\d"_s)))
            lines << u"#, qt-format"_s;
        lines << u"msgctxt "_s + quoted(context) << u"msgid "_s + quoted(english) << u"msgstr \"\""_s << QString();
    }
};

// The value of a text table line as C++ reads it: only \" and \\ occur.
QString unescapedValue(QString value)
{
    static const QRegularExpression escape(u"\\\\(.)"_s);
    return value.replace(escape, u"\\1"_s);
}

void addTextTable(Template& pot, const QString& table)
{
    static const QRegularExpression entry(
        u"^PONDERIX_TEXT\\((\\w+), u\"((?:[^\"\\\\]|\\\\.)*)\"\\)\\s*(?://\\s*(.*))?$"_s);
    QHash<QString, TextKey> keys;
    for (TextKey key : allTextKeys())
        keys.insert(textKeyName(key), key);
    // The comment lines above an entry, up to the last blank line, tell the
    // translator where the text stands.
    QStringList comments;
    for (const QString& line : table.split(u'\n')) {
        const QString text = line.trimmed();
        if (text.startsWith(u"//"_s)) {
            comments << text.mid(2).trimmed();
            continue;
        }
        if (text.isEmpty()) {
            comments.clear();
            continue;
        }
        const QRegularExpressionMatch match = entry.match(text);
        if (!match.hasMatch())
            continue;
        const auto key = keys.constFind(match.captured(1));
        if (key == keys.cend() || isProgramConstant(*key)) {
            comments.clear();
            continue;
        }
        if (!match.captured(3).isEmpty())
            comments << match.captured(3);
        pot.add(match.captured(1), unescapedValue(match.captured(2)), comments);
        comments.clear();
    }
}

QString xmlUnescaped(QString text)
{
    static const QRegularExpression numeric(u"&#(x?)([0-9a-fA-F]+);"_s);
    for (QRegularExpressionMatch match = numeric.match(text); match.hasMatch(); match = numeric.match(text)) {
        const char32_t code = match.captured(2).toUInt(nullptr, match.captured(1).isEmpty() ? 10 : 16);
        text.replace(match.capturedStart(), match.capturedLength(), QString::fromUcs4(&code, 1));
    }
    return text.replace(u"&apos;"_s, u"'"_s)
        .replace(u"&quot;"_s, u"\""_s)
        .replace(u"&lt;"_s, u"<"_s)
        .replace(u"&gt;"_s, u">"_s)
        .replace(u"&amp;"_s, u"&"_s);
}

QString xmlEscaped(const QString& text)
{
    return text.toHtmlEscaped();
}

void addDemo(Template& pot, const QString& demo)
{
    static const QRegularExpression attribute(u"(?:Name|Comment)=\"([^\"]*)\""_s);
    QStringList seen;
    for (const QRegularExpressionMatch& match : attribute.globalMatch(demo)) {
        const QString value = xmlUnescaped(match.captured(1));
        // The file's own name is not shown as a name of the decision.
        if (!value.endsWith(u".pnx"_s) && !seen.contains(value))
            seen << value;
    }
    pot.lines
        << u"#. The demo project offered in the user's language: option and criterion names and rating comments."_s;
    for (const QString& value : seen)
        pot.add(u"Demo"_s, value);
}

constexpr const char16_t* kDesktopFields[] = {u"GenericName", u"Comment", u"Keywords"};

QString desktopValue(const QString& desktop, QStringView field)
{
    for (const QString& line : desktop.split(u'\n')) {
        if (line.startsWith(field + u'='))
            return line.sliced(field.size() + 1);
    }
    return {};
}

void addDesktopEntry(Template& pot, const QString& desktop)
{
    for (const char16_t* field : kDesktopFields) {
        const QString name = QString::fromUtf16(field);
        const QStringList comments =
            name == u"Keywords"
                ? QStringList{u"Search words separated by \";\", ending with \";\"; keep the English ones out."_s}
                : QStringList{};
        pot.add(u"Desktop:"_s + name, desktopValue(desktop, name), comments);
    }
}

QString simplifiedElement(const QString& xml, const QString& element, qsizetype& from)
{
    const QRegularExpression pattern(u"<"_s + element + u">(.*?)</"_s + element + u">"_s,
                                     QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = pattern.match(xml, from);
    from = match.hasMatch() ? match.capturedEnd() : -1;
    return match.captured(1).simplified();
}

void addMetainfo(Template& pot, const QString& metainfo)
{
    qsizetype from = 0;
    pot.add(u"Metainfo:summary"_s, simplifiedElement(metainfo, u"summary"_s, from));
    from = 0;
    pot.add(u"Metainfo:p"_s, simplifiedElement(metainfo, u"p"_s, from));
    from = 0;
    for (int item = 1;; ++item) {
        const QString text = simplifiedElement(metainfo, u"li"_s, from);
        if (from < 0)
            break;
        pot.add(u"Metainfo:li"_s + QString::number(item), text);
    }
    from = 0;
    for (QString word = simplifiedElement(metainfo, u"keyword"_s, from); from >= 0;
         word = simplifiedElement(metainfo, u"keyword"_s, from))
        pot.add(u"Metainfo:keyword"_s, word);
}

int writeTemplate(const QString& source)
{
    const std::optional<QString> table = readText(source + u"/base/TextEntries.inc"_s);
    const std::optional<QString> demo = readText(source + u"/assets/DemoProject.pnx"_s);
    const std::optional<QString> desktop = readText(source + u"/packaging/ponderix.desktop"_s);
    const std::optional<QString> metainfo = readText(source + u"/packaging/io.github.ponderix.Ponderix.metainfo.xml"_s);
    if (!table || !demo || !desktop || !metainfo)
        return 1;
    Template pot;
    addTextTable(pot, *table);
    addDemo(pot, *demo);
    addDesktopEntry(pot, *desktop);
    addMetainfo(pot, *metainfo);
    const QByteArray bytes = pot.lines.join(u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    return 0;
}

// One language's confirmed translations by context and English text.
using Translations = QHash<QString, QString>;

std::optional<Translations> readTranslations(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "ponderix_translations: cannot read %s\n", qPrintable(path));
        return std::nullopt;
    }
    const PoCatalog catalog = readPoCatalog(file.readAll());
    if (!catalog.ok()) {
        std::fprintf(stderr, "%s:%d: %s\n", qPrintable(path), catalog.errorLine, qPrintable(catalog.error));
        return std::nullopt;
    }
    Translations translations;
    for (const PoEntry& entry : catalog.entries) {
        if (!entry.fuzzy && !entry.translation.isEmpty())
            translations.insert(entry.context + QChar(4) + entry.source, entry.translation.simplified());
    }
    return translations;
}

struct Language {
    QString code;
    Translations translations;

    QString find(const QString& context, const QString& english) const
    {
        return translations.value(context + QChar(4) + english);
    }
};

QString localizedDesktopEntry(const QString& desktop, const std::vector<Language>& languages)
{
    QStringList lines;
    for (const QString& line : desktop.split(u'\n')) {
        lines << line;
        for (const char16_t* field : kDesktopFields) {
            const QString name = QString::fromUtf16(field);
            if (!line.startsWith(name + u'='))
                continue;
            for (const Language& language : languages) {
                const QString text = language.find(u"Desktop:"_s + name, line.sliced(name.size() + 1));
                if (!text.isEmpty())
                    lines << name + u'[' + language.code + u"]="_s + text;
            }
        }
    }
    return lines.join(u'\n');
}

// The element's translations follow the English one, one line each, indented alike.
void addTranslatedElements(QStringList& lines, const QString& indent, const QString& element, const QString& context,
                           const QString& english, const std::vector<Language>& languages)
{
    for (const Language& language : languages) {
        const QString text = language.find(context, english);
        if (!text.isEmpty()) {
            lines << indent + u'<' + element + u" xml:lang=\""_s + language.code + u"\">"_s + xmlEscaped(text) + u"</"_s
                         + element + u'>';
        }
    }
}

QString localizedMetainfo(const QString& metainfo, const std::vector<Language>& languages)
{
    static const QRegularExpression single(u"^(\\s*)<(summary|li|keyword)>(.*)</\\2>\\s*$"_s);
    QStringList lines;
    QStringList paragraph;
    int item = 0;
    bool inParagraph = false;
    for (const QString& line : metainfo.split(u'\n')) {
        lines << line;
        const QString trimmed = line.trimmed();
        if (trimmed == u"<p>") {
            inParagraph = true;
            paragraph.clear();
        } else if (trimmed == u"</p>") {
            inParagraph = false;
            const QString indent = line.left(line.indexOf(u'<'));
            addTranslatedElements(lines, indent, u"p"_s, u"Metainfo:p"_s, paragraph.join(u' ').simplified(), languages);
        } else if (inParagraph) {
            paragraph << trimmed;
        } else if (const QRegularExpressionMatch match = single.match(line); match.hasMatch()) {
            const QString element = match.captured(2);
            const QString context =
                element == u"li" ? u"Metainfo:li"_s + QString::number(++item) : u"Metainfo:"_s + element;
            addTranslatedElements(lines, match.captured(1), element, context, match.captured(3), languages);
        }
    }
    return lines.join(u'\n');
}

int writeLocalized(const QString& kind, const QStringList& arguments)
{
    if (arguments.size() < 3)
        return 2;
    const std::optional<QString> english = readText(arguments[0]);
    if (!english)
        return 1;
    std::vector<Language> languages;
    for (const QString& code : arguments.mid(3)) {
        std::optional<Translations> translations = readTranslations(arguments[1] + u'/' + code + u".po"_s);
        if (!translations)
            return 1;
        languages.push_back({code, std::move(*translations)});
    }
    const QString text =
        kind == u"desktop" ? localizedDesktopEntry(*english, languages) : localizedMetainfo(*english, languages);
    return writeText(arguments[2], text) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 2 && arguments[0] == u"pot")
        return writeTemplate(arguments[1]);
    if (!arguments.isEmpty() && (arguments[0] == u"desktop" || arguments[0] == u"metainfo"))
        return writeLocalized(arguments[0], arguments.mid(1));
    std::fputs("usage: ponderix_translations pot SOURCE_FOLDER\n"
               "       ponderix_translations desktop|metainfo ENGLISH_FILE PO_FOLDER OUT CODE...\n",
               stderr);
    return 2;
}
