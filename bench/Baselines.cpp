#include "bench/Baselines.h"

#include <QFile>

#include <expat.h>

#include <cstdio>
#include <memory>
#include <type_traits>

#include <unistd.h>

namespace ponderix::bench {

namespace {

struct ParserDeleter {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using ParserHandle = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserDeleter>;

void XMLCALL ignoreStart(void*, const XML_Char*, const XML_Char**) { }
void XMLCALL ignoreEnd(void*, const XML_Char*) { }

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

bool parseWithEmptyHandlers(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const ParserHandle parser(XML_ParserCreate(nullptr));
    // Handlers are registered all the same, so that expat does every step
    // for the baseline that it does for the reader, up to the calls.
    XML_SetElementHandler(parser.get(), &ignoreStart, &ignoreEnd);
    QByteArray chunk(kReadChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 length = file.read(chunk.data(), chunk.size());
        if (length < 0)
            return false;
        const bool last = length == 0;
        if (XML_Parse(parser.get(), chunk.constData(), static_cast<int>(length), last ? XML_TRUE : XML_FALSE)
            != XML_STATUS_OK)
            return false;
        if (last)
            return true;
    }
}

bool writeDurably(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".partial";
    FileHandle file(std::fopen(temporary.constData(), "wb"));
    if (!file)
        return false;
    const auto size = static_cast<std::size_t>(bytes.size());
    // QSaveFile syncs the data to the disk before its rename, so the baseline
    // does too: without it the save would be charged for a disk write the
    // baseline leaves in the page cache, and the ratio would measure the disk.
    const bool written = std::fwrite(bytes.constData(), 1, size, file.get()) == size && std::fflush(file.get()) == 0
                         && ::fdatasync(::fileno(file.get())) == 0;
    const bool closed = std::fclose(file.release()) == 0;
    return written && closed && std::rename(temporary.constData(), target.constData()) == 0;
}

} // namespace ponderix::bench
