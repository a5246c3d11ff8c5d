#include "project/ProjectWriter.h"

#include "base/Blanks.h"
#include "base/TextTable.h"
#include "project/Project.h"

#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <functional>
#include <string_view>

namespace ponderix {

namespace {

constexpr qsizetype kLongestEntity = 6; // &quot; and &apos;
// More than any line needs besides its texts: the longest, a rating's, has
// 67 bytes of markup and three numbers of at most 11 digits and sign.
constexpr qsizetype kLineMarkupRoom = 256;

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

constexpr std::string_view entityFor(char32_t codePoint)
{
    switch (codePoint) {
    case U'&':
        return "&amp;";
    case U'<':
        return "&lt;";
    case U'>':
        return "&gt;";
    case U'\'':
        return "&apos;";
    case U'"':
        return "&quot;";
    case U'\r':
        return "&#13;";
    case U'\n':
        return "&#10;";
    case U'\t':
        return "&#9;"; // a literal tab would become a blank when read back
    default:
        return {};
    }
}

// The ASCII characters that stand for themselves in an attribute: by far the
// most common case, answered by one look-up.
constexpr std::array<bool, 0x80> kStandsForItself = [] {
    std::array<bool, 0x80> table{};
    for (char32_t codePoint = 0x20; codePoint < 0x80; ++codePoint)
        table[codePoint] = entityFor(codePoint).empty();
    return table;
}();

char* encodeUtf8(char32_t codePoint, char* out)
{
    if (codePoint < 0x80) {
        *out++ = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        *out++ = static_cast<char>(0xC0 | (codePoint >> 6));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (codePoint >> 12));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (codePoint >> 18));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

// Writes into room made beforehand, without a check per piece, so that the
// position can live in a register: saving a million ratings should cost
// little more than writing their bytes.
class LineWriter final {
public:
    explicit LineWriter(char* out) : m_out(out) { }

    LineWriter& raw(std::string_view text)
    {
        std::memcpy(m_out, text.data(), text.size());
        m_out += text.size();
        return *this;
    }

    LineWriter& attribute(std::string_view name, int value)
    {
        raw(" ").raw(name).raw("=\"");
        m_out = std::to_chars(m_out, m_out + 11, value).ptr;
        return raw("\"");
    }

    LineWriter& attribute(std::string_view name, QStringView value)
    {
        return raw(" ").raw(name).raw("=\"").escaped(value).raw("\"");
    }

    char* end() const { return m_out; }

private:
    LineWriter& escaped(QStringView text);

    char* m_out;
};

LineWriter& LineWriter::escaped(QStringView text)
{
    const char16_t* unit = text.utf16();
    const char16_t* const end = unit + text.size();
    while (unit != end) {
        char32_t codePoint = *unit++;
        if (codePoint < 0x80 && kStandsForItself[codePoint]) {
            *m_out++ = static_cast<char>(codePoint);
            continue;
        }
        if (QChar::isHighSurrogate(codePoint) && unit != end && QChar::isLowSurrogate(*unit))
            codePoint = QChar::surrogateToUcs4(static_cast<char16_t>(codePoint), *unit++);
        if (!allowedInXml(codePoint))
            continue;
        const std::string_view entity = entityFor(codePoint);
        if (entity.empty())
            m_out = encodeUtf8(codePoint, m_out);
        else
            raw(entity);
    }
    return *this;
}

// The document in one buffer, grown by whole lines. With a sink, every full
// stretch of the buffer is handed on and the buffer used again, so a large
// project is saved without ever being held whole.
class DocumentBuilder final {
public:
    using Sink = std::function<bool(QByteArrayView)>;

    explicit DocumentBuilder(qsizetype expectedSize, Sink sink = {})
        : m_bytes(std::max(sink ? kStreamPiece : expectedSize, kLineMarkupRoom), Qt::Uninitialized),
          m_sink(std::move(sink))
    {
    }

    // Appends one line of markup and the given texts; `write` gets a
    // LineWriter with room for the texts in their longest escaped form.
    template <typename Write> void line(qsizetype textUnits, Write write)
    {
        const qsizetype room = kLineMarkupRoom + textUnits * kLongestEntity;
        if (m_bytes.size() - m_used < room) {
            if (m_sink)
                flush();
            if (m_bytes.size() - m_used < room)
                m_bytes.resize(std::max(2 * m_bytes.size(), m_used + room));
        }
        LineWriter writer(m_bytes.data() + m_used);
        write(writer);
        m_used = writer.end() - m_bytes.constData();
    }

    // Hands what is written so far to the sink; false once any hand-over failed.
    bool flush()
    {
        if (m_sinkFailed || !m_sink(QByteArrayView(m_bytes.constData(), m_used)))
            m_sinkFailed = true;
        m_used = 0;
        return !m_sinkFailed;
    }

    QByteArray take()
    {
        m_bytes.truncate(m_used);
        return std::move(m_bytes);
    }

private:
    static constexpr qsizetype kStreamPiece = 1 << 20;

    QByteArray m_bytes; // its size is the room; m_used says how much is written
    qsizetype m_used = 0;
    Sink m_sink;
    bool m_sinkFailed = false;
};

qsizetype expectedDocumentSize(const Project& project)
{
    // Rough but generous: a rating line is about 90 bytes plus its comment.
    return 512 + project.optionCount() * 64 + project.criterionCount() * 80 + project.ratingCount() * 100;
}

} // namespace

namespace {

void writeDocument(DocumentBuilder& document, const Project& project, const QString& fileName,
                   const QDateTime& modified)
{
    const QByteArray root = uiText(TextKey::Program_Short).toUtf8();
    const std::string_view rootName(root.constData(), static_cast<std::size_t>(root.size()));
    const QString build = uiText(TextKey::Version_Name);
    const QString stamp = modified.toString(u"yyyy.MM.dd HH:mm:ss");

    document.line(root.size() + build.size() + fileName.size() + stamp.size(), [&](LineWriter& out) {
        out.raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<")
            .raw(rootName)
            .attribute("Build", build)
            .attribute("Name", fileName)
            .attribute("Modified", stamp)
            .raw(">\r\n");
    });

    // An empty group is still written, as one self-closing element.
    const auto group = [&document](std::string_view name, int size, const auto& writeEntries) {
        document.line(0, [&](LineWriter& out) {
            out.raw("  <").raw(name).attribute("Size", size).raw(size == 0 ? "/>\r\n" : ">\r\n");
        });
        if (size == 0)
            return;
        writeEntries();
        document.line(0, [&](LineWriter& out) { out.raw("  </").raw(name).raw(">\r\n"); });
    };
    group("Options", project.optionCount(), [&] {
        for (const Option& option : project.options()) {
            const QStringView name = withoutOuterBlanks(option.Name);
            document.line(name.size(), [&](LineWriter& out) {
                out.raw("    <Option").attribute("Index", option.Index).attribute("Name", name).raw("/>\r\n");
            });
        }
    });
    group("Criteria", project.criterionCount(), [&] {
        for (const Criterion& criterion : project.criteria()) {
            const QStringView name = withoutOuterBlanks(criterion.Name);
            document.line(name.size(), [&](LineWriter& out) {
                out.raw("    <Criterion")
                    .attribute("Index", criterion.Index)
                    .attribute("Name", name)
                    .attribute("Importance", criterion.Importance)
                    .raw("/>\r\n");
            });
        }
    });
    group("Ratings", project.ratingCount(), [&] {
        for (const Rating& rating : project.ratings()) {
            const QStringView comment = withoutOuterBlanks(rating.Comment);
            document.line(comment.size(), [&](LineWriter& out) {
                out.raw("    <Rating")
                    .attribute("IndexOption", rating.IndexOption)
                    .attribute("IndexCriteria", rating.IndexCriteria)
                    .attribute("Value", rating.Value)
                    .attribute("Comment", comment)
                    .raw("/>\r\n");
            });
        }
    });

    document.line(root.size(), [&](LineWriter& out) { out.raw("</").raw(rootName).raw(">\r\n"); });
}

} // namespace

QByteArray projectFileBytes(const Project& project, const QString& fileName, const QDateTime& modified)
{
    DocumentBuilder document(expectedDocumentSize(project));
    writeDocument(document, project, fileName, modified);
    return document.take();
}

WriteResult writeProjectFile(const Project& project, const QString& path, const QDateTime& modified)
{
    const QString fileName = QFileInfo(path).fileName();
    return writeFileAtomically(path, [&](QIODevice& device) {
        DocumentBuilder document(0, [&device](QByteArrayView piece) {
            return device.write(piece.data(), piece.size()) == piece.size();
        });
        writeDocument(document, project, fileName, modified);
        return document.flush();
    });
}

} // namespace ponderix
