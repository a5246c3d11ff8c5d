#include "base/AtomicFile.h"

#include "base/SystemReason.h"
#include "base/TextTable.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#include <fcntl.h>
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

WriteResult writeFileAtomically(const QString& path, const ContentProducer& produce)
{
    // QSaveFile would replace a folder's entry only to fail late; say so early.
    if (QFileInfo(path).isDir())
        return {false, uiText(TextKey::TXT00945).arg(path)};
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
