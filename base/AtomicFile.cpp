#include "base/AtomicFile.h"

#include "base/SystemReason.h"
#include "base/TextTable.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ponderix {

namespace {

WriteResult failed(QSaveFile& file)
{
    const QString reason = translatedSystemReason(file.errorString());
    file.cancelWriting();
    return {false, reason};
}

WriteResult systemFailure(const QString& path, int error)
{
    return {false, path + u": " + systemReason(error)};
}

} // namespace

WriteResult writeNewFile(const QString& path, QByteArrayView bytes)
{
    const QByteArray name = QFile::encodeName(path);
    if (::unlink(name.constData()) != 0 && errno != ENOENT)
        return systemFailure(path, errno);
    const int file = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0)
        return systemFailure(path, errno);
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    int error = 0;
    while (left > 0 && error == 0) {
        const ssize_t step = ::write(file, next, static_cast<std::size_t>(left));
        if (step > 0) {
            next += step;
            left -= step;
        } else if (step == 0 || errno != EINTR) {
            error = step == 0 ? EIO : errno;
        }
    }
    if (::close(file) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(name.constData());
        return systemFailure(path, error);
    }
    return {true, QString()};
}

namespace {

// A pipe or a terminal has no old contents to keep, and renaming a file over
// its name would take it away from whoever reads it.
WriteResult writeThrough(const QString& path, const ContentProducer& produce)
{
    // Without the blocking flag a pipe nobody reads fails at once instead of
    // waiting for a reader forever.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return systemFailure(path, errno);
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    QFile stream;
    if (!stream.open(descriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return {false, translatedSystemReason(stream.errorString())};
    }
    if (!produce(stream) || !stream.flush())
        return {false, translatedSystemReason(stream.errorString())};
    return {true, QString()};
}

} // namespace

bool sameFile(const QString& first, const QString& second)
{
    struct stat one { };
    struct stat other { };
    return ::stat(QFile::encodeName(first).constData(), &one) == 0
           && ::stat(QFile::encodeName(second).constData(), &other) == 0 && one.st_dev == other.st_dev
           && one.st_ino == other.st_ino;
}

WriteResult writeFileAtomically(const QString& path, const ContentProducer& produce)
{
    struct stat target { };
    if (::stat(QFile::encodeName(path).constData(), &target) == 0 && !S_ISREG(target.st_mode)) {
        if (S_ISFIFO(target.st_mode) || S_ISCHR(target.st_mode))
            return writeThrough(path, produce);
        // QSaveFile would replace a folder's entry only to fail late; say so early.
        if (S_ISDIR(target.st_mode))
            return {false, uiText(TextKey::TXT00945).arg(path)};
        return {false, path + u": " + notAFileReason(target.st_mode)};
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, translatedSystemReason(file.errorString())};
    if (!produce(file) || !file.flush())
        return failed(file);
    if (!file.commit())
        return {false, translatedSystemReason(file.errorString())};
    return {true, QString()};
}

WriteResult writeFileAtomically(const QString& path, QByteArrayView bytes)
{
    return writeFileAtomically(path, [bytes](QIODevice& device) {
        return device.write(bytes.data(), bytes.size()) == bytes.size();
    });
}

} // namespace ponderix
