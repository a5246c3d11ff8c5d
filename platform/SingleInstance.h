#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace ponderix {

// Holds a lock named after the program for as long as it lives, so that a
// second copy of the program can tell that the first one is running. A lock
// left behind by a crashed copy is recognised and taken over. Only a lock
// held by a live copy makes this one a second copy: a lock that cannot be
// made at all (a read-only or full disk) must not keep the user out of the
// program, so that copy runs unguarded and `problem()` says why.
class SingleInstance final {
public:
    explicit SingleInstance(const QString& lockFolder, const QString& programName);
    ~SingleInstance();

    bool isFirst() const { return m_first; }
    // Why no lock could be made: the lock file's path and the system's
    // reason. Empty when this copy holds the lock or another copy does.
    const QString& problem() const { return m_problem; }

    // $XDG_RUNTIME_DIR when set, else `fallbackFolder`.
    static QString lockFolder(const QString& fallbackFolder);

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_first = false;
    QString m_problem;
};

} // namespace ponderix
