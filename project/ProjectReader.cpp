#include "project/ProjectReader.h"

#include "base/IntegerText.h"
#include "base/SystemReason.h"
#include "base/TextTable.h"

#include <QFile>
#include <QStringDecoder>

#include <expat.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

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
    if (!text)
        return QString();
    // QString::fromUtf8 takes a leading U+FEFF for a byte-order mark and drops
    // it. Inside a name or comment it is a character like any other, which
    // the writer keeps, so it must come back as written.
    constexpr std::string_view kZeroWidthNoBreakSpace = "\xEF\xBB\xBF";
    if (std::string_view(text).starts_with(kZeroWidthNoBreakSpace)) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(QByteArrayView(text));
    }
    return QString::fromUtf8(text);
}

// Walks the document as a stream of elements: the root, the three groups
// below it (any order, any number of times) and their entries, whose element
// names do not matter. Deeper elements are ignored.
class ProjectHandler final {
public:
    explicit ProjectHandler(XML_Parser parser) : m_parser(parser), m_rootName(uiText(TextKey::Program_Short).toUtf8())
    {
    }

    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<ProjectHandler*>(self)->start(name, attributes);
    }
    static void XMLCALL onEnd(void* self, const XML_Char*) { static_cast<ProjectHandler*>(self)->end(); }

    bool sawRoot() const { return m_sawRoot; }
    bool rootIsOurs() const { return m_rootIsOurs; }
    std::optional<ReadError::Kind> refusal() const { return m_refusal; }
    Project& project() { return m_project; }
    // Counts every start and end of an element, so that the feeder can tell
    // whether a slice of the file got past anything.
    std::uint64_t elementEvents() const { return m_elementEvents; }

private:
    void start(const XML_Char* name, const XML_Char** attributes)
    {
        ++m_elementEvents;
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
        ++m_elementEvents;
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
                                   integerAttribute(attributes, "IndexCriteria"), textAttribute(attributes, "Comment"),
                                   integerAttribute(attributes, "Value"));
            break;
        }
        // Stop as soon as the file is bound to be refused, before it costs memory.
        if (m_project.optionCount() > kReadableOptionLimit)
            refuse(ReadError::Kind::TooManyOptions);
        else if (m_project.criterionCount() > kReadableCriterionLimit)
            refuse(ReadError::Kind::TooManyCriteria);
        else if (m_project.ratingCount() > kReadableCellLimit)
            refuse(ReadError::Kind::TooLarge);
    }

    void refuse(ReadError::Kind kind)
    {
        m_refusal = kind;
        XML_StopParser(m_parser, XML_FALSE);
    }

    XML_Parser m_parser;
    QByteArray m_rootName;
    Project m_project;
    int m_depth = 0;
    Group m_group = Group::None;
    bool m_sawRoot = false;
    bool m_rootIsOurs = false;
    std::optional<ReadError::Kind> m_refusal;
    std::uint64_t m_elementEvents = 0;
};

// Feeds a document to expat piece by piece and turns the outcome into a result.
//
// Expat scans an unfinished token again from its start on every call, so a
// 50 MB comment fed in 64 KiB slices would be scanned some 800 times over.
// A slice that gets past no element therefore doubles the next one, which
// keeps all the scanning of a long token within about twice its length; the
// first element after it brings the slice back to its usual size, so an
// ordinary file is read through a small buffer.
class ProjectParser final {
public:
    static constexpr qsizetype kUsualSlice = 1 << 16;
    static constexpr qsizetype kLargestSlice = 1 << 30; // expat takes an int length

    ProjectParser() : m_parser(XML_ParserCreate(nullptr)), m_handler(m_parser.get())
    {
        XML_SetUserData(m_parser.get(), &m_handler);
        XML_SetElementHandler(m_parser.get(), &ProjectHandler::onStart, &ProjectHandler::onEnd);
    }
    ProjectParser(ProjectParser&&) = delete; // expat holds the handler's address

    qsizetype nextSliceSize() const { return m_slice; }

    // False when parsing has stopped, for an error or a refusal.
    bool feed(const char* data, qsizetype length, bool last)
    {
        const std::uint64_t eventsBefore = m_handler.elementEvents();
        const bool going =
            XML_Parse(m_parser.get(), data, static_cast<int>(length), last ? XML_TRUE : XML_FALSE) == XML_STATUS_OK;
        m_slice = m_handler.elementEvents() == eventsBefore ? std::min(2 * m_slice, kLargestSlice) : kUsualSlice;
        return going;
    }

    ReadResult finish()
    {
        if (const std::optional<ReadError::Kind> refusal = m_handler.refusal())
            return ReadError{*refusal, QString(), 0, 0};
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
        // Every listed rating fills at most one cell, so this many cells at
        // least would have to be made up.
        if (Project::cellCount(project.optionCount(), project.criterionCount()) - project.ratingCount()
            > kFilledInRatingLimit)
            return ReadError{ReadError::Kind::TooManyMissing, QString(), 0, 0};
        project.regularise();
        return std::move(project);
    }

private:
    ParserHandle m_parser;
    ProjectHandler m_handler;
    qsizetype m_slice = kUsualSlice;
};

} // namespace

ReadResult readProjectBytes(QByteArrayView bytes)
{
    ProjectParser parser;
    qsizetype offset = 0;
    do {
        const qsizetype length = std::min(parser.nextSliceSize(), bytes.size() - offset);
        const bool last = offset + length == bytes.size();
        if (!parser.feed(bytes.data() + offset, length, last))
            break;
        offset += length;
    } while (offset < bytes.size());
    return parser.finish();
}

namespace {

ReadError cannotRead(const QString& reason)
{
    return ReadError{ReadError::Kind::CannotRead, reason, 0, 0};
}

} // namespace

ReadResult readProjectFile(const QString& path)
{
    // Only regular files: a pipe or device could block the program forever.
    // Looked at before opening, so that no device is ever opened, and once
    // more through the open handle, in case the name was swapped in between.
    const QByteArray encodedPath = QFile::encodeName(path);
    struct stat facts { };
    if (::stat(encodedPath.constData(), &facts) != 0)
        return cannotRead(systemReason(errno));
    if (!S_ISREG(facts.st_mode))
        return cannotRead(notAFileReason(facts.st_mode));
    const int descriptor = ::open(encodedPath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return cannotRead(systemReason(errno));
    if (::fstat(descriptor, &facts) != 0) {
        const int reason = errno;
        ::close(descriptor);
        return cannotRead(systemReason(reason));
    }
    if (!S_ISREG(facts.st_mode)) {
        ::close(descriptor);
        return cannotRead(notAFileReason(facts.st_mode));
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return cannotRead(translatedSystemReason(file.errorString()));
    }

    ProjectParser parser;
    QByteArray slice;
    for (;;) {
        // Made anew only when the size changes, which happens during a long
        // token and when it ends, so a huge buffer is not kept past its need.
        if (slice.size() != parser.nextSliceSize())
            slice = QByteArray(parser.nextSliceSize(), Qt::Uninitialized);
        const qint64 length = file.read(slice.data(), slice.size());
        if (length < 0)
            return cannotRead(translatedSystemReason(file.errorString()));
        const bool last = length == 0;
        if (!parser.feed(slice.constData(), static_cast<qsizetype>(length), last) || last)
            break;
    }
    return parser.finish();
}

} // namespace ponderix
