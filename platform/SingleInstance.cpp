#include "platform/SingleInstance.h"

#include <QDir>
#include <QLockFile>

namespace ponderix {

using namespace Qt::StringLiterals;

SingleInstance::SingleInstance(const QString& lockFolder, const QString& programName)
{
    QDir().mkpath(lockFolder);
    m_lock = std::make_unique<QLockFile>(QDir(lockFolder).filePath(programName + u".lock"_s));
    // Never stale by age: the first copy may run for days. A lock whose
    // process is gone is still recognised as stale and taken over.
    m_lock->setStaleLockTime(0);
    m_first = m_lock->tryLock(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFolder(const QString& fallbackFolder)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QDir(runtime).exists() ? runtime : fallbackFolder;
}

} // namespace ponderix
