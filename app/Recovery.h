#pragma once

#include "base/AtomicFile.h"
#include "project/Project.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

namespace ponderix {

// The recovery copy of unsaved work: the whole project in the program's own
// file format, and beside it a small file with the project's path and
// banner. It lives in the per-user state folder from the first unsaved
// change until the work is saved, replaced, or the program ends through the
// quit question; a crash, a kill or a power cut leaves it for the next start.
class RecoveryFile final {
public:
    // An empty folder turns recovery off: nothing is written or found.
    // `problem` says why, when the folder could not be made. A folder that
    // `othersCouldWrite` into until it was made private holds nothing that
    // is offered: it may not be the user's own work.
    explicit RecoveryFile(QString folder, QString problem = {}, bool othersCouldWrite = false);

    bool enabled() const { return !m_folder.isEmpty(); }
    const QString& problem() const { return m_problem; }
    QString projectPath() const;
    QString sidePath() const;
    bool exists() const;

    // The side file goes first: the project file is what marks a copy as there.
    // Whatever stands at either name is replaced, a link included: nothing
    // is written through a link to somewhere else.
    WriteResult write(const Project& project, const QString& projectPath, const QString& banner) const;
    void remove() const;

    struct Found {
        Project project;
        // Where the project is saved: only a project file (one that reads as
        // a project, or a new ".pnx" in an existing folder); else empty, and
        // Save asks where to save.
        QString path;
        QString banner;
        QDateTime written;
    };
    struct ReadOutcome {
        std::optional<Found> found;
        QString error; // why the copy could not be read, when it could not
    };
    ReadOutcome read() const;

    // Renames a copy that cannot be read, so that it is neither offered again
    // nor lost; the new name of the project file, empty when that failed.
    QString keepAside(const QDateTime& now) const;

private:
    QString m_folder;
    QString m_problem;
    bool m_othersCouldWrite = false;
};

// Keeps the recovery copy current: a change is written at most two seconds
// later, and the changes made meanwhile go with it, so typing does not write
// the project on every key.
class RecoveryKeeper final : public QObject {
    Q_OBJECT

public:
    static constexpr int kDelayMilliseconds = 2000;
    using Banner = std::function<QString()>;
    using Failure = std::function<void(const QString& reason)>;

    // `failure` hears of the first write that fails, or of the first change
    // that cannot be kept because the folder could not be made; later ones
    // stay quiet, so a full disk does not ask for attention every two
    // seconds.
    RecoveryKeeper(RecoveryFile file, const Project& project, Banner banner, Failure failure);

    void changed();
    void writeNow();
    // The work was saved or replaced, or the program ends as it should.
    void discard();

    bool pending() const { return m_timer.isActive(); }
    const RecoveryFile& file() const { return m_file; }

private:
    void reportFailure(const QString& reason);

    RecoveryFile m_file;
    const Project& m_project;
    Banner m_banner;
    Failure m_failure;
    QTimer m_timer;
    bool m_failureReported = false;
};

} // namespace ponderix
