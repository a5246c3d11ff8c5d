#include "project/ProjectWriter.h"

#include "app/TextTable.h"
#include "project/Project.h"

#include <QFileInfo>

#include <charconv>

namespace ponderix {

namespace {

// Appends text bytes straight into the document, without a temporary
// QByteArray per attribute: saving a million ratings should cost little more
// than writing their bytes.
class DocumentBuilder final {
public:
    explicit DocumentBuilder(qsizetype expectedSize) { m_bytes.reserve(expectedSize); }

    DocumentBuilder& raw(const char* text)
    {
        m_bytes.append(text);
        return *this;
    }

    DocumentBuilder& number(long long value)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_bytes.append(digits, end - digits);
        return *this;
    }

    DocumentBuilder& attribute(const char* name, long long value)
    {
        raw(" ").raw(name).raw("=\"").number(value).raw("\"");
        return *this;
    }

    DocumentBuilder& attribute(const char* name, const QString& value)
    {
        raw(" ").raw(name).raw("=\"").escaped(value).raw("\"");
        return *this;
    }

    QByteArray take() { return std::move(m_bytes); }

private:
    DocumentBuilder& escaped(const QString& text);
    void appendCodePoint(char32_t codePoint);

    QByteArray m_bytes;
};

// Characters XML 1.0 forbids cannot be written in any form; they are left out
// so that every file the program writes can be read back by the program.
bool allowedInXml(char32_t codePoint)
{
    if (codePoint < 0x20)
        return codePoint == U'\t' || codePoint == U'\n' || codePoint == U'\r';
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
        return false;
    return codePoint != 0xFFFE && codePoint != 0xFFFF;
}

const char* entityFor(char32_t codePoint)
{
    switch (codePoint) {
    case U'&': return "&amp;";
    case U'<': return "&lt;";
    case U'>': return "&gt;";
    case U'\'': return "&apos;";
    case U'"': return "&quot;";
    case U'\r': return "&#13;";
    case U'\n': return "&#10;";
    case U'\t': return "&#9;"; // a literal tab would become a blank when read back
    default: return nullptr;
    }
}

void DocumentBuilder::appendCodePoint(char32_t codePoint)
{
    if (codePoint < 0x80) {
        m_bytes.append(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        m_bytes.append(static_cast<char>(0xC0 | (codePoint >> 6)));
        m_bytes.append(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        m_bytes.append(static_cast<char>(0xE0 | (codePoint >> 12)));
        m_bytes.append(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        m_bytes.append(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        m_bytes.append(static_cast<char>(0xF0 | (codePoint >> 18)));
        m_bytes.append(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        m_bytes.append(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        m_bytes.append(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

DocumentBuilder& DocumentBuilder::escaped(const QString& text)
{
    const QChar* units = text.constData();
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        char32_t codePoint = units[i].unicode();
        if (units[i].isHighSurrogate() && i + 1 < length && units[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(units[i], units[i + 1]);
            ++i;
        }
        if (!allowedInXml(codePoint))
            continue;
        if (const char* entity = entityFor(codePoint))
            raw(entity);
        else
            appendCodePoint(codePoint);
    }
    return *this;
}

qsizetype expectedDocumentSize(const Project& project)
{
    // Rough but generous: a rating line is about 90 bytes plus its comment.
    return 512 + project.optionCount() * 64 + project.criterionCount() * 80 + project.ratingCount() * 100;
}

} // namespace

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return first == 0 && last == text.size() ? text : text.mid(first, last - first);
}

QByteArray projectFileBytes(const Project& project, const QString& fileName, const QDateTime& modified)
{
    const TextTable& texts = TextTable::builtIn();
    const QByteArray root = texts.text(u"Program_Short").toUtf8();
    DocumentBuilder document(expectedDocumentSize(project));

    document.raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<").raw(root.constData());
    document.attribute("Build", texts.text(u"Version_Name"))
        .attribute("Name", fileName)
        .attribute("Modified", modified.toString(u"yyyy.MM.dd HH:mm:ss"))
        .raw(">\r\n");

    // An empty group is still written, as one self-closing element.
    const auto group = [&document](const char* name, int size, const auto& writeEntries) {
        document.raw("  <").raw(name).attribute("Size", size);
        if (size == 0) {
            document.raw("/>\r\n");
            return;
        }
        document.raw(">\r\n");
        writeEntries();
        document.raw("  </").raw(name).raw(">\r\n");
    };
    group("Options", project.optionCount(), [&] {
        for (const Option& option : project.options())
            document.raw("    <Option").attribute("Index", option.Index).attribute("Name", trimBlanks(option.Name)).raw("/>\r\n");
    });
    group("Criteria", project.criterionCount(), [&] {
        for (const Criterion& criterion : project.criteria()) {
            document.raw("    <Criterion")
                .attribute("Index", criterion.Index)
                .attribute("Name", trimBlanks(criterion.Name))
                .attribute("Importance", criterion.Importance)
                .raw("/>\r\n");
        }
    });
    group("Ratings", project.ratingCount(), [&] {
        for (const Rating& rating : project.ratings()) {
            document.raw("    <Rating")
                .attribute("IndexOption", rating.IndexOption)
                .attribute("IndexCriteria", rating.IndexCriteria)
                .attribute("Value", rating.Value)
                .attribute("Comment", trimBlanks(rating.Comment))
                .raw("/>\r\n");
        }
    });

    document.raw("</").raw(root.constData()).raw(">\r\n");
    return document.take();
}

WriteResult writeProjectFile(const Project& project, const QString& path, const QDateTime& modified)
{
    return writeFileAtomically(path, projectFileBytes(project, QFileInfo(path).fileName(), modified));
}

} // namespace ponderix
