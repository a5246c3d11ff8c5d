#include "base/PoCatalog.h"

#include <QByteArray>
#include <QByteArrayList>

#include <optional>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

enum class Field { None, Context, Source, Plural, Translation, OtherForm };

// The bytes of one quoted PO string: `line` starts at its opening quote.
// Empty on a damaged string, with `problem` saying why.
std::optional<QByteArray> unquote(QByteArrayView line, QString& problem)
{
    if (line.size() < 2 || line.front() != '"' || line.back() != '"') {
        problem = u"a string must stand in double quotes"_s;
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(line.size());
    const qsizetype end = line.size() - 1;
    for (qsizetype i = 1; i < end; ++i) {
        const char c = line[i];
        if (c == '"') {
            problem = u"a double quote inside a string needs a backslash"_s;
            return std::nullopt;
        }
        if (c != '\\') {
            bytes += c;
            continue;
        }
        if (++i == end) {
            problem = u"a string ends in a lone backslash"_s;
            return std::nullopt;
        }
        switch (line[i]) {
        case 'n':
            bytes += '\n';
            break;
        case 't':
            bytes += '\t';
            break;
        case 'r':
            bytes += '\r';
            break;
        case 'a':
            bytes += '\a';
            break;
        case 'b':
            bytes += '\b';
            break;
        case 'f':
            bytes += '\f';
            break;
        case 'v':
            bytes += '\v';
            break;
        case '\\':
        case '"':
        case '\'':
        case '?':
            bytes += line[i];
            break;
        default:
            if (line[i] < '0' || line[i] > '7') {
                problem = u"unknown escape \\"_s + QChar::fromLatin1(line[i]);
                return std::nullopt;
            }
            // Up to three octal digits, as C reads them.
            int value = 0;
            for (int digits = 0; digits < 3 && i < end && line[i] >= '0' && line[i] <= '7'; ++digits, ++i)
                value = value * 8 + (line[i] - '0');
            --i;
            bytes += static_cast<char>(value);
        }
    }
    return bytes;
}

// Collects the entry being read and hands it over when the next one starts.
class Reader final {
public:
    PoCatalog catalog;

    bool keyword(QByteArrayView word, QByteArrayView rest, int lineNumber)
    {
        Field field = Field::None;
        if (word == "msgctxt")
            field = Field::Context;
        else if (word == "msgid")
            field = Field::Source;
        else if (word == "msgid_plural")
            field = Field::Plural;
        else if (word == "msgstr" || word == "msgstr[0]")
            field = Field::Translation;
        else if (word.startsWith("msgstr["))
            field = Field::OtherForm;
        else
            return fail(u"unknown keyword "_s + QString::fromUtf8(word), lineNumber);
        // A new msgctxt or msgid after a complete entry starts the next one,
        // even without a blank line between them.
        if ((field == Field::Context || field == Field::Source) && m_hasTranslation && !finish())
            return false;
        if (field == Field::Source) {
            m_hasSource = true;
            m_entry.line = lineNumber;
        }
        if (field == Field::Translation)
            m_hasTranslation = true;
        m_field = field;
        return append(rest, lineNumber);
    }

    bool append(QByteArrayView quoted, int lineNumber)
    {
        if (m_field == Field::None)
            return fail(u"a string outside an entry"_s, lineNumber);
        QString problem;
        const std::optional<QByteArray> bytes = unquote(quoted, problem);
        if (!bytes)
            return fail(problem, lineNumber);
        if (m_field == Field::Context)
            m_context += *bytes;
        else if (m_field == Field::Source)
            m_source += *bytes;
        else if (m_field == Field::Translation)
            m_translation += *bytes;
        return true;
    }

    bool flags(QByteArrayView list)
    {
        // Flags stand before the entry they belong to.
        if (m_hasTranslation && !finish())
            return false;
        for (const QByteArray& flag : list.toByteArray().split(',')) {
            const QByteArray name = flag.trimmed();
            m_entry.fuzzy = m_entry.fuzzy || name == "fuzzy";
            m_entry.qtFormat = m_entry.qtFormat || name == "qt-format";
        }
        return true;
    }

    // Hands over the entry read so far; false when it lacks a part.
    bool finish()
    {
        if (!m_hasSource && !m_hasTranslation && m_context.isNull()) {
            m_entry = {};
            return true;
        }
        if (!m_hasSource || !m_hasTranslation)
            return fail(m_hasSource ? u"msgid without msgstr"_s : u"msgstr without msgid"_s, m_entry.line);
        m_entry.context = QString::fromUtf8(m_context);
        m_entry.source = QString::fromUtf8(m_source);
        m_entry.translation = QString::fromUtf8(m_translation);
        // The header is the entry with an empty msgid; it carries no text.
        if (!m_entry.source.isEmpty() || !m_entry.context.isEmpty())
            catalog.entries.push_back(std::move(m_entry));
        m_entry = {};
        m_context = QByteArray();
        m_source.clear();
        m_translation.clear();
        m_hasSource = m_hasTranslation = false;
        m_field = Field::None;
        return true;
    }

    bool fail(const QString& problem, int lineNumber)
    {
        catalog.error = problem;
        catalog.errorLine = lineNumber;
        return false;
    }

private:
    PoEntry m_entry;
    QByteArray m_context; // null while the entry has no msgctxt
    QByteArray m_source;
    QByteArray m_translation;
    bool m_hasSource = false;
    bool m_hasTranslation = false;
    Field m_field = Field::None;
};

bool readLine(Reader& reader, QByteArrayView line, int lineNumber)
{
    line = line.trimmed();
    if (line.isEmpty())
        return reader.finish();
    if (line.startsWith("#,"))
        return reader.flags(line.sliced(2));
    // Comments, and messages the translators' tools keep as obsolete.
    if (line.front() == '#')
        return true;
    if (line.front() == '"')
        return reader.append(line, lineNumber);
    const qsizetype blank = line.indexOf(' ');
    if (blank < 0)
        return reader.fail(u"a keyword without its string"_s, lineNumber);
    return reader.keyword(line.first(blank), line.sliced(blank + 1).trimmed(), lineNumber);
}

} // namespace

PoCatalog readPoCatalog(QByteArrayView text)
{
    Reader reader;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        ++lineNumber;
        if (!readLine(reader, text.sliced(start, end - start), lineNumber))
            return std::move(reader.catalog);
        start = end + 1;
    }
    reader.finish();
    return std::move(reader.catalog);
}

} // namespace ponderix
