#include "platform/SingleInstance.h"

#include "base/SystemReason.h"
#include "base/TextTable.h"

#include <QDir>
#include <QLockFile>
#include <QSysInfo>

#include <cerrno>

#include <signal.h>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// Whether the process named in the lock file still runs. A lock written on
// another machine (a shared home folder) or one that cannot be read is taken
// to be held: refusing a copy wrongly costs less than running two.
bool heldByLiveCopy(const QLockFile& lock)
{
    qint64 processId = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&processId, &host, &application) || processId <= 0)
        return true;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return true;
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

} // namespace

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
    if (m_lock->error() == QLockFile::LockFailedError) {
        // A lock left by a crashed copy that could not be removed (the
        // folder has become read-only since) holds nobody back either.
        if (heldByLiveCopy(*m_lock))
            return;
        m_first = true;
        m_problem = QDir::toNativeSeparators(path) + u": "_s + uiText(TextKey::TXT00525);
        return;
    }
    m_first = true;
    const int why = reason != 0 ? reason : (m_lock->error() == QLockFile::PermissionError ? EACCES : EIO);
    m_problem = QDir::toNativeSeparators(path) + u": "_s + systemReason(why);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFolder(const QString& fallbackFolder)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QDir(runtime).exists() ? runtime : fallbackFolder;
}

} // namespace ponderix
