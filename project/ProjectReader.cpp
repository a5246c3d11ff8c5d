#include "project/ProjectReader.h"

#include "base/IntegerText.h"
#include "base/TextTable.h"

#include <QFile>
#include <QFileInfo>

#include <expat.h>

#include <cstring>
#include <memory>
#include <optional>

namespace ponderix {

namespace {

struct ParserDeleter {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using ParserHandle = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserDeleter>;

enum class Group { None, Options, Criteria, Ratings };

const char* attribute(const XML_Char** attributes, const char* name)
{
    for (const XML_Char** pair = attributes; *pair; pair += 2) {
        if (std::strcmp(pair[0], name) == 0)
            return pair[1];
    }
    return nullptr;
}

int integerAttribute(const XML_Char** attributes, const char* name)
{
    const char* text = attribute(attributes, name);
    return text ? readInteger(std::string_view(text), IntegerSyntax::WithRadixPrefixes) : 0;
}

QString textAttribute(const XML_Char** attributes, const char* name)
{
    const char* text = attribute(attributes, name);
    return text ? QString::fromUtf8(text) : QString();
}

// Walks the document as a stream of elements: the root, the three groups
// below it (any order, any number of times) and their entries, whose element
// names do not matter. Deeper elements are ignored.
class ProjectHandler final {
public:
    explicit ProjectHandler(XML_Parser parser)
        : m_parser(parser), m_rootName(uiText(TextKey::Program_Short).toUtf8())
    {
    }

    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<ProjectHandler*>(self)->start(name, attributes);
    }
    static void XMLCALL onEnd(void* self, const XML_Char*) { static_cast<ProjectHandler*>(self)->end(); }

    bool sawRoot() const { return m_sawRoot; }
    bool rootIsOurs() const { return m_rootIsOurs; }
    bool tooLarge() const { return m_tooLarge; }
    Project& project() { return m_project; }

private:
    void start(const XML_Char* name, const XML_Char** attributes)
    {
        ++m_depth;
        if (m_depth == 1) {
            m_sawRoot = true;
            m_rootIsOurs = m_rootName == name;
        } else if (m_depth == 2 && m_rootIsOurs) {
            m_group = groupNamed(name);
        } else if (m_depth == 3 && m_rootIsOurs) {
            appendEntry(attributes);
        }
    }

    void end()
    {
        if (m_depth == 2)
            m_group = Group::None;
        --m_depth;
    }

    static Group groupNamed(const char* name)
    {
        if (std::strcmp(name, "Options") == 0)
            return Group::Options;
        if (std::strcmp(name, "Criteria") == 0)
            return Group::Criteria;
        if (std::strcmp(name, "Ratings") == 0)
            return Group::Ratings;
        return Group::None;
    }

    void appendEntry(const XML_Char** attributes)
    {
        switch (m_group) {
        case Group::None:
            return;
        case Group::Options:
            m_project.appendOption(textAttribute(attributes, "Name"));
            break;
        case Group::Criteria:
            m_project.appendCriterion(textAttribute(attributes, "Name"), integerAttribute(attributes, "Importance"));
            break;
        case Group::Ratings:
            m_project.appendRating(integerAttribute(attributes, "IndexOption"),
                                   integerAttribute(attributes, "IndexCriteria"),
                                   textAttribute(attributes, "Comment"), integerAttribute(attributes, "Value"));
            break;
        }
        // Stop as soon as the file is bound to be refused, before it costs memory.
        if (Project::cellCount(m_project.optionCount(), m_project.criterionCount()) > kReadableCellLimit
            || m_project.ratingCount() > kReadableCellLimit) {
            m_tooLarge = true;
            XML_StopParser(m_parser, XML_FALSE);
        }
    }

    XML_Parser m_parser;
    QByteArray m_rootName;
    Project m_project;
    int m_depth = 0;
    Group m_group = Group::None;
    bool m_sawRoot = false;
    bool m_rootIsOurs = false;
    bool m_tooLarge = false;
};

// Feeds a document to expat piece by piece and turns the outcome into a result.
class ProjectParser final {
public:
    ProjectParser() : m_parser(XML_ParserCreate(nullptr)), m_handler(m_parser.get())
    {
        XML_SetUserData(m_parser.get(), &m_handler);
        XML_SetElementHandler(m_parser.get(), &ProjectHandler::onStart, &ProjectHandler::onEnd);
    }
    ProjectParser(ProjectParser&&) = delete; // expat holds the handler's address

    // False when parsing has stopped, for an error or a refusal.
    bool feed(const char* data, int length, bool last)
    {
        return XML_Parse(m_parser.get(), data, length, last ? XML_TRUE : XML_FALSE) == XML_STATUS_OK;
    }

    ReadResult finish()
    {
        if (m_handler.tooLarge())
            return ReadError{ReadError::Kind::TooLarge, QString(), 0, 0};
        const XML_Error code = XML_GetErrorCode(m_parser.get());
        if (code != XML_ERROR_NONE) {
            return ReadError{ReadError::Kind::Syntax, QString::fromUtf8(XML_ErrorString(code)),
                             static_cast<int>(XML_GetCurrentLineNumber(m_parser.get())),
                             static_cast<int>(XML_GetCurrentColumnNumber(m_parser.get()))};
        }
        if (!m_handler.sawRoot())
            return ReadError{ReadError::Kind::NoRoot, QString(), 0, 0};
        if (!m_handler.rootIsOurs())
            return ReadError{ReadError::Kind::WrongRoot, QString(), 0, 0};
        Project& project = m_handler.project();
        project.regularise();
        return std::move(project);
    }

private:
    ParserHandle m_parser;
    ProjectHandler m_handler;
};

} // namespace

ReadResult readProjectBytes(QByteArrayView bytes)
{
    ProjectParser parser;
    // Fed in slices: expat takes an int length, and a huge buffer should not
    // need one contiguous copy inside the parser.
    constexpr qsizetype slice = 1 << 20;
    qsizetype offset = 0;
    do {
        const qsizetype length = std::min(slice, bytes.size() - offset);
        const bool last = offset + length == bytes.size();
        if (!parser.feed(bytes.data() + offset, static_cast<int>(length), last))
            break;
        offset += length;
    } while (offset < bytes.size());
    return parser.finish();
}

ReadResult readProjectFile(const QString& path)
{
    // Only regular files: a folder cannot be read, and a pipe or device could
    // block the program forever.
    if (!QFileInfo(path).isFile())
        return ReadError{ReadError::Kind::CannotRead, QStringLiteral("not a regular file"), 0, 0};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadError{ReadError::Kind::CannotRead, file.errorString(), 0, 0};
    ProjectParser parser;
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 length = file.read(chunk.data(), chunk.size());
        if (length < 0)
            return ReadError{ReadError::Kind::CannotRead, file.errorString(), 0, 0};
        const bool last = length == 0;
        if (!parser.feed(chunk.constData(), static_cast<int>(length), last) || last)
            break;
    }
    return parser.finish();
}

} // namespace ponderix
