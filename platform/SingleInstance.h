#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace ponderix {

// Holds a lock named after the program for as long as it lives, so that a
// second copy of the program can tell that the first one is running. A lock
// left behind by a crashed copy is recognised and taken over.
class SingleInstance final {
public:
    explicit SingleInstance(const QString& lockFolder, const QString& programName);
    ~SingleInstance();

    bool isFirst() const { return m_first; }

    // $XDG_RUNTIME_DIR when set, else `fallbackFolder`.
    static QString lockFolder(const QString& fallbackFolder);

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_first = false;
};

} // namespace ponderix
