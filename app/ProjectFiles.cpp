#include "app/ProjectFiles.h"

#include "base/AtomicFile.h"
#include "base/TextTable.h"
#include "document/Document.h"
#include "editor/MatrixView.h"
#include "evaluation/Team.h"
#include "evaluation/TeamTexts.h"
#include "platform/Dialogs.h"
#include "project/DemoProject.h"
#include "project/ProjectMessages.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

#include <QFileInfo>
#include <QLocale>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

const QString kProjectPattern = u"Ponderix (*.pnx)|*.pnx"_s;
const QString kProposedName = u"MyProject.pnx"_s;
const QString kDemoFileName = u"DemoProjekt.pnx"_s;

// Names the limit and the project's size, so the user knows what to cut.
QString tooLargeToShow(const QString& path, const Project& project)
{
    const QLocale english(QLocale::English);
    return path + u"\r\n\r\n"_s
           + uiText(TextKey::TXT00700)
                 .arg(english.toString(kShowableRatingLimit), english.toString(project.optionCount()),
                      english.toString(project.criterionCount()));
}

} // namespace

ProjectFiles::ProjectFiles(Document& document, Dialogs& dialogs, QString temporaryFolder, Clock clock)
    : m_document(document), m_dialogs(dialogs), m_temporaryFolder(std::move(temporaryFolder)), m_clock(std::move(clock))
{
}

const QString& ProjectFiles::startFolder() const
{
    return m_document.project().lastFolder();
}

QString ProjectFiles::folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

bool ProjectFiles::open(const QString& requestedPath, Question question, LastFolder lastFolder)
{
    if (question == Question::Ask && !askToReplaceOpenProject())
        return false;
    const QString path = existingOrChosen(requestedPath);
    if (path.isEmpty())
        return false;
    // Remembered before reading, so the next dialog starts here even if this file fails.
    if (lastFolder == LastFolder::Update)
        m_document.setLastFolder(folderOf(path));
    std::optional<Project> loaded = readShowable(path);
    if (!loaded)
        return false;
    m_document.replace(std::move(*loaded), bannerForFile(path), path);
    return true;
}

QString ProjectFiles::existingOrChosen(const QString& path)
{
    if (!path.isEmpty() && QFileInfo(path).isFile())
        return path;
    return m_dialogs.openFile(uiText(TextKey::TXT00217), startFolder() + kProposedName, kProjectPattern, 0).path;
}

std::optional<Project> ProjectFiles::readShowable(const QString& path)
{
    ReadResult result = readProjectFile(path);
    if (!result.ok()) {
        const Message message = readErrorMessage(result.error());
        m_dialogs.message(message.title, message.text, Dialogs::Icon::None);
        return std::nullopt;
    }
    // Only a completely read file replaces the project: a wrong file never
    // costs the user the open one.
    if (!showable(result.project(), path))
        return std::nullopt;
    return std::move(result.project());
}

bool ProjectFiles::showable(const Project& project, const QString& path)
{
    if (qint64(project.optionCount()) * project.criterionCount() <= kShowableRatingLimit)
        return true;
    m_dialogs.message(uiText(TextKey::TXT00001), tooLargeToShow(path, project), Dialogs::Icon::None);
    return false;
}

void ProjectFiles::restore(Project&& project, const QString& path, const QString& banner)
{
    m_document.replace(std::move(project), banner, path, Document::Arrival::Unsaved);
}

bool ProjectFiles::askToReplaceOpenProject()
{
    const auto answer =
        m_dialogs.message(uiText(TextKey::TXT00217), uiText(TextKey::TXT00218) + u"\r\n"_s + uiText(TextKey::TXT00212),
                          Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
    return answer == Dialogs::Answer::Yes;
}

QString ProjectFiles::chooseSavePath(const QString& title)
{
    QString path = m_dialogs.saveFile(title, startFolder() + kProposedName, kProjectPattern, 0).path;
    if (path.isEmpty())
        return {};
    // Compared exactly: "Projekt.PNX" becomes "Projekt.PNX.pnx".
    if (!path.endsWith(u".pnx"_s))
        path += u".pnx"_s;
    const QFileInfo existing(path);
    if (existing.exists() && existing.size() > 0) {
        const auto answer =
            m_dialogs.message(title, uiText(TextKey::TXT00220), Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
        if (answer != Dialogs::Answer::Yes)
            return {};
    }
    return path;
}

bool ProjectFiles::save(const QString& requestedPath)
{
    const QString path = requestedPath.isEmpty() ? chooseSavePath(uiText(TextKey::TXT00219)) : requestedPath;
    if (path.isEmpty() || !writeProject(m_document.project(), path))
        return false;
    m_document.markSaved(path, bannerForFile(path));
    return true;
}

bool ProjectFiles::writeProject(const Project& project, const QString& path)
{
    m_document.setLastFolder(folderOf(path));
    const WriteResult written = writeProjectFile(project, path, m_clock());
    if (!written) {
        // The old file is untouched; the user can free space or pick another place.
        const Message message = writeErrorMessage(path, written);
        m_dialogs.message(message.title, message.text, Dialogs::Icon::None);
        return false;
    }
    return true;
}

void ProjectFiles::saveBlankCopy()
{
    const QString path = chooseSavePath(uiText(TextKey::TXT00801));
    if (path.isEmpty())
        return;
    // The blank copy would put zeros over every rating of the project it
    // is made from, while the window still shows them.
    const QString& own = m_document.project().path();
    if (!own.isEmpty() && sameFile(path, own)) {
        m_dialogs.message(uiText(TextKey::TXT00801), uiText(TextKey::BlankCopyOverItsProject).arg(path),
                          Dialogs::Icon::Warning);
        return;
    }
    writeProject(blankCopy(m_document.project()), path);
}

std::optional<TeamResult> ProjectFiles::combineTeam()
{
    const QStringList files = m_dialogs.openFiles(uiText(TextKey::TXT00800), startFolder(), kProjectPattern);
    if (files.isEmpty())
        return std::nullopt;
    m_document.setLastFolder(folderOf(files.front()));
    // Worked out on a thread of its own: a hundred large members take
    // seconds, and the user may cancel. What went wrong is said afterwards,
    // by the program's own thread.
    std::optional<TeamResult> team;
    std::optional<Message> problem;
    Dialogs::Icon icon = Dialogs::Icon::None;
    m_dialogs.runWithProgress(uiText(TextKey::TXT00802), uiText(TextKey::TeamCombining), uiText(TextKey::TXT00915),
                              [&](const Dialogs::ProgressReport& report) {
                                  const int total = int(files.size()) + 1;
                                  std::vector<TeamMember> members;
                                  for (const QString& file : files) {
                                      if (!report(int(members.size()), total))
                                          return;
                                      ReadResult result = readProjectFile(file);
                                      if (!result.ok()) {
                                          problem = readErrorMessage(result.error());
                                          // Which of the members' files it was.
                                          problem->text = file + u"\r\n\r\n"_s + problem->text;
                                          return;
                                      }
                                      members.push_back({file, std::move(result.project())});
                                  }
                                  if (const std::optional<TeamRefusal> refusal = teamRefusal(members)) {
                                      problem = Message{uiText(TextKey::TXT00804), refusalText(*refusal, members)};
                                      icon = Dialogs::Icon::Warning;
                                      return;
                                  }
                                  if (report(int(files.size()), total))
                                      team = analyseTeam(members);
                              });
    if (problem)
        m_dialogs.message(problem->title, problem->text, icon);
    return team;
}

bool ProjectFiles::openUnsaved(Project&& project, const QString& banner)
{
    if (!showable(project, banner) || !askToReplaceOpenProject())
        return false;
    m_document.replace(std::move(project), banner, QString(), Document::Arrival::Unsaved);
    return true;
}

void ProjectFiles::openDemo()
{
    // Without the private temporary folder the copy has no place: a bare file
    // name would land in whatever folder the program was started from. The
    // open then asks for a file, as it does when the copy cannot be written.
    const QString copyPath = m_temporaryFolder.isEmpty() ? QString() : m_temporaryFolder + kDemoFileName;
    if (!copyPath.isEmpty())
        writeNewFile(copyPath, demoProjectBytesInChosenLanguage());
    if (!askToReplaceOpenProject())
        return;
    const QString demoPath = existingOrChosen(copyPath);
    std::optional<Project> demo = demoPath.isEmpty() ? std::nullopt : readShowable(demoPath);
    // The copy in the private temporary folder is not the user's file: the
    // demo arrives untitled, so that it is never recorded as the last
    // project and Save asks for a name instead of writing where a normal
    // quit deletes it.
    if (demo)
        m_document.replace(std::move(*demo), uiText(TextKey::TXT00213));
}

bool isOpenableAtStartup(const QString& path)
{
    if (!path.startsWith(u'/') || !path.right(4).toLower().endsWith(u".pnx"_s))
        return false;
    const QFileInfo file(path);
    return file.isFile() && file.size() > 0;
}

QString bannerForFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.size() > 4 ? name.left(name.size() - 4) : QString();
}

} // namespace ponderix
