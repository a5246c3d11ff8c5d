#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace ponderix {

class Dialogs;
class Document;
class Project;
struct TeamResult;

// Opening and saving projects with their questions, dialogs and messages,
// and the demo project.
class ProjectFiles final {
public:
    using Clock = std::function<QDateTime()>;

    ProjectFiles(Document& document, Dialogs& dialogs, QString temporaryFolder,
                 Clock clock = &QDateTime::currentDateTime);

    enum class Question { Ask, DoNotAsk };
    enum class LastFolder { Update, Keep };

    // Replaces the project with the file at `path`; an empty or missing path
    // lets the user choose. The project stays as it was unless the whole file
    // was read. Returns true when a project was loaded.
    bool open(const QString& path, Question question, LastFolder lastFolder);

    // Saves under `path`, or asks for a name when it is empty. True only when
    // the whole file was written.
    bool save(const QString& path);

    // Writes the built-in demo project to the temporary folder and opens it.
    void openDemo();

    // Shows a project read from elsewhere (the recovery copy) as the open
    // project, with the path and banner it had.
    void restore(Project&& project, const QString& path, const QString& banner);

    // Writes a copy for a team member to rate: the same options, criteria
    // and importances, every rating neutral and no comment. The open project
    // stays as it is; a failure is said.
    void saveBlankCopy();

    // Lets the user choose the team members' files, reads them and works
    // out the team, with a progress dialog and Cancel once it takes a
    // second. Empty, after saying why, when cancelled, when a file cannot be
    // read or when the files are not ratings of one decision.
    std::optional<TeamResult> combineTeam();

    // Shows a project made here (the team's combined one) as a new project
    // that Save asks a name for, after the question that unsaved changes
    // will be lost. True when it replaced the open project.
    bool openUnsaved(Project&& project, const QString& banner);

    static QString folderOf(const QString& path);

private:
    QString chooseSavePath(const QString& title);
    bool askToReplaceOpenProject();
    bool writeProject(const Project& project, const QString& path);
    // `path` when it names a file, else what the user chooses in the Open
    // dialog (empty when cancelled).
    QString existingOrChosen(const QString& path);
    // Reads a project to show; empty, after saying why, when the file cannot
    // be read or holds more ratings than the matrix can show.
    std::optional<Project> readShowable(const QString& path);
    bool showable(const Project& project, const QString& name);
    const QString& startFolder() const;

    Document& m_document;
    Dialogs& m_dialogs;
    QString m_temporaryFolder;
    Clock m_clock;
};

// Whether a path given at start-up (command line or last project) is opened:
// an absolute path ending in ".pnx" in any letter case, naming a file that is
// not empty. Anything else is passed over without a word.
bool isOpenableAtStartup(const QString& path);

// The project banner for a file: its name without folder and without the last
// four characters ("Cars" for ".../Cars.pnx").
QString bannerForFile(const QString& path);

} // namespace ponderix
