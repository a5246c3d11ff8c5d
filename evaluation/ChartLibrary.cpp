#include "evaluation/ChartLibrary.h"

#include "base/SystemReason.h"
#include "base/TextTable.h"

#include <QFile>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ponderix {

namespace assets {
extern const std::span<const unsigned char> RMChartDLL_Res;
}

using namespace Qt::StringLiterals;

namespace {

QString lastLoaderError()
{
    const char* text = ::dlerror();
    return text ? QString::fromLocal8Bit(text) : uiText(TextKey::TXT00882);
}

// A library is loaded only from a folder nobody else can write into; else
// another user could swap the file between our write and the load.
QString folderProblem(const QByteArray& folder)
{
    struct stat status { };
    if (::lstat(folder.constData(), &status) != 0)
        return systemReason(errno);
    if (!S_ISDIR(status.st_mode))
        return systemReason(ENOTDIR);
    if (status.st_uid != ::geteuid() || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return systemReason(EACCES);
    return {};
}

// The loader maps a library's segments as its program headers describe them,
// and a file shorter than they claim faults at the first touch instead of
// failing the load. So an image is checked against its own headers, and
// against the kind of program we are, before it goes anywhere near dlopen.
bool isLoadableImage(std::span<const unsigned char> bytes)
{
    using Header = ElfW(Ehdr);
    using Segment = ElfW(Phdr);
    if (bytes.size() < sizeof(Header))
        return false;
    Header header;
    std::memcpy(&header, bytes.data(), sizeof header);
    Dl_info self{};
    if (!::dladdr(reinterpret_cast<void*>(&isLoadableImage), &self) || !self.dli_fbase)
        return false;
    const auto* own = static_cast<const Header*>(self.dli_fbase);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != own->e_ident[EI_CLASS]
        || header.e_ident[EI_DATA] != own->e_ident[EI_DATA] || header.e_machine != own->e_machine
        || header.e_type != ET_DYN || header.e_phentsize != sizeof(Segment) || header.e_phnum == 0)
        return false;
    const std::uint64_t size = bytes.size();
    if (header.e_phoff > size || header.e_phnum * std::uint64_t{sizeof(Segment)} > size - header.e_phoff)
        return false;
    for (std::size_t i = 0; i < header.e_phnum; ++i) {
        Segment segment;
        std::memcpy(&segment, bytes.data() + header.e_phoff + i * sizeof(Segment), sizeof segment);
        if (segment.p_offset > size || segment.p_filesz > size - segment.p_offset)
            return false;
    }
    return true;
}

// Writes the library image to a file that did not exist before, not through
// a link. A stale copy of our own from an earlier run is replaced; anything
// else in its place is left alone and fails the write.
QString writeLibraryFile(const QByteArray& path, std::span<const unsigned char> bytes)
{
    struct stat status { };
    if (::lstat(path.constData(), &status) == 0) {
        if (!S_ISREG(status.st_mode) || status.st_uid != ::geteuid())
            return systemReason(EEXIST);
        if (::unlink(path.constData()) != 0)
            return systemReason(errno);
    }
    const int file = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0)
        return systemReason(errno);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t step = ::write(file, bytes.data() + written, bytes.size() - written);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0) {
            const int error = step < 0 ? errno : EIO;
            ::close(file);
            ::unlink(path.constData());
            return systemReason(error);
        }
        written += static_cast<std::size_t>(step);
    }
    if (::close(file) != 0) {
        const int error = errno;
        ::unlink(path.constData());
        return systemReason(error);
    }
    return {};
}

template <typename Function> bool bind(void* handle, const char* name, Function& target)
{
    // dlsym hands back an object pointer; POSIX guarantees it converts to
    // the function pointer it really is.
    target = reinterpret_cast<Function>(::dlsym(handle, name));
    return target != nullptr;
}

bool bindAll(void* handle, ChartEntryPoints& entry)
{
    return bind(handle, "RMC_CREATECHART", entry.createChart) && bind(handle, "RMC_ADDREGION", entry.addRegion)
           && bind(handle, "RMC_ADDCAPTION", entry.addCaption) && bind(handle, "RMC_ADDGRID", entry.addGrid)
           && bind(handle, "RMC_ADDDATAAXIS", entry.addDataAxis) && bind(handle, "RMC_ADDLABELAXIS", entry.addLabelAxis)
           && bind(handle, "RMC_ADDXAXIS", entry.addXAxis) && bind(handle, "RMC_ADDYAXIS", entry.addYAxis)
           && bind(handle, "RMC_ADDBARSERIES", entry.addBarSeries) && bind(handle, "RMC_ADDXYSERIES", entry.addXYSeries)
           && bind(handle, "RMC_COLINE", entry.coLine) && bind(handle, "RMC_COTEXT", entry.coText)
           && bind(handle, "RMC_DRAW2FILE", entry.draw2File) && bind(handle, "RMC_DRAW2PAINTER", entry.draw2Painter)
           && bind(handle, "RMC_GETTEXTS", entry.getTexts) && bind(handle, "RMC_DELETECHART", entry.deleteChart)
           && bind(handle, "RMC_GETVERSION", entry.getVersion);
}

} // namespace

ChartLibrary::LoadResult ChartLibrary::load(const QString& temporaryFolder)
{
    return load(temporaryFolder, assets::RMChartDLL_Res);
}

ChartLibrary::LoadResult ChartLibrary::load(const QString& temporaryFolder, std::span<const unsigned char> libraryImage)
{
    LoadResult result;
    const QString path = temporaryFolder + u"/"_s + kChartLibraryFileName;
    const QByteArray folderName = QFile::encodeName(temporaryFolder);
    const QByteArray fileName = QFile::encodeName(path);
    result.error = folderProblem(folderName);
    if (!result.error.isEmpty())
        return result;
    if (!isLoadableImage(libraryImage)) {
        result.error = path + u": "_s + systemReason(ENOEXEC);
        return result;
    }
    result.error = writeLibraryFile(fileName, libraryImage);
    if (!result.error.isEmpty())
        return result;
    ::dlerror();
    void* handle = ::dlopen(fileName.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        result.error = lastLoaderError();
        return result;
    }
    ChartEntryPoints entryPoints;
    if (!bindAll(handle, entryPoints)) {
        ::dlclose(handle);
        return result;
    }
    result.library.reset(new ChartLibrary(handle, path, entryPoints));
    return result;
}

ChartLibrary::ChartLibrary(void* handle, QString path, const ChartEntryPoints& entryPoints)
    : m_handle(handle), m_path(std::move(path)), m_entryPoints(entryPoints)
{
}

ChartLibrary::~ChartLibrary()
{
    ::dlclose(m_handle);
    QFile::remove(m_path);
}

QString ChartLibrary::versionText() const
{
    return QString::number(m_entryPoints.getVersion(), 'f', 2);
}

Message chartLoadWarning(const QString& systemText)
{
    QString text = systemText;
    text.remove(u"\r\n"_s);
    // The message box breaks lines at a line feed; the library's name goes
    // on a line of its own under the reason.
    return {QString(), text + u"\n"_s + u"RMCHART.DLL"_s};
}

std::optional<Message> chartVersionWarning(const QString& versionText)
{
    if (versionText == kExpectedChartVersion)
        return std::nullopt;
    return Message{QString(), u"Warning : Version "_s + versionText + u" <> 4.12 of RMCHART.DLL"_s};
}

} // namespace ponderix
