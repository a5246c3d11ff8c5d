#include "platform/SingleInstance.h"

#include <QDir>
#include <QLockFile>

#include <cerrno>
#include <cstring>

namespace ponderix {

using namespace Qt::StringLiterals;

SingleInstance::SingleInstance(const QString& lockFolder, const QString& programName)
{
    QDir().mkpath(lockFolder);
    const QString path = QDir(lockFolder).filePath(programName + u".lock"_s);
    m_lock = std::make_unique<QLockFile>(path);
    // Never stale by age: the first copy may run for days. A lock whose
    // process is gone is still recognised as stale and taken over.
    m_lock->setStaleLockTime(0);
    errno = 0;
    if (m_lock->tryLock(0)) {
        m_first = true;
        return;
    }
    // QLockFile keeps only the kind of failure; the system's reason is what
    // its last call into the system left behind.
    const int reason = errno;
    if (m_lock->error() == QLockFile::LockFailedError)
        return;
    m_first = true;
    QString why;
    if (reason != 0)
        why = QString::fromLocal8Bit(std::strerror(reason));
    else
        why = QString::fromLocal8Bit(std::strerror(m_lock->error() == QLockFile::PermissionError ? EACCES : EIO));
    m_problem = QDir::toNativeSeparators(path) + u": "_s + why;
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFolder(const QString& fallbackFolder)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QDir(runtime).exists() ? runtime : fallbackFolder;
}

} // namespace ponderix
