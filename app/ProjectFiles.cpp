#include "app/ProjectFiles.h"

#include "base/AtomicFile.h"
#include "base/TextTable.h"
#include "editor/EditHistory.h"
#include "editor/MatrixView.h"
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

ProjectFiles::ProjectFiles(Project& project, MatrixView& view, Dialogs& dialogs, QString temporaryFolder, Clock clock)
    : m_project(project), m_view(view), m_dialogs(dialogs), m_temporaryFolder(std::move(temporaryFolder)),
      m_clock(std::move(clock))
{
}

QString ProjectFiles::folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

bool ProjectFiles::open(const QString& requestedPath, Question question, LastFolder lastFolder)
{
    if (question == Question::Ask) {
        const auto answer = m_dialogs.message(uiText(TextKey::TXT00217),
                                              uiText(TextKey::TXT00218) + u"\r\n"_s + uiText(TextKey::TXT00212),
                                              Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
        if (answer != Dialogs::Answer::Yes)
            return false;
    }
    QString path = requestedPath;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        path = m_dialogs.openFile(uiText(TextKey::TXT00217), m_project.lastFolder() + kProposedName, kProjectPattern, 0)
                   .path;
        if (path.isEmpty())
            return false;
    }
    // Remembered before reading, so the next dialog starts here even if this file fails.
    if (lastFolder == LastFolder::Update)
        m_project.setLastFolder(folderOf(path));

    ReadResult result = readProjectFile(path);
    if (!result.ok()) {
        const Message message = readErrorMessage(result.error());
        m_dialogs.message(message.title, message.text, Dialogs::Icon::None);
        return false;
    }
    // Only a completely read file replaces the project: a wrong file never
    // costs the user the open one.
    Project& loaded = result.project();
    if (qint64(loaded.optionCount()) * loaded.criterionCount() > kShowableRatingLimit) {
        m_dialogs.message(uiText(TextKey::TXT00001), tooLargeToShow(path, loaded), Dialogs::Icon::None);
        return false;
    }
    loaded.setLastFolder(m_project.lastFolder());
    loaded.setPath(path);
    replaceProject(std::move(loaded), bannerForFile(path));
    return true;
}

void ProjectFiles::replaceProject(Project&& loaded, const QString& banner)
{
    // The old cells go first: none of them may outlive the entries they show.
    m_view.clearCells();
    m_project = std::move(loaded);
    m_view.setBanner(banner);
    m_view.buildAllCells(true);
    // A missing group sizes the areas as for one entry.
    m_view.sizeAreas(std::max(m_project.optionCount(), 1), std::max(m_project.criterionCount(), 1));
    m_view.updateStatusLine();
    // Another project: nothing before this may be undone into it.
    m_view.history().clear();
}

void ProjectFiles::restore(Project&& project, const QString& path, const QString& banner)
{
    project.setLastFolder(m_project.lastFolder());
    project.setPath(path);
    replaceProject(std::move(project), banner);
}

QString ProjectFiles::chooseSavePath()
{
    QString path =
        m_dialogs.saveFile(uiText(TextKey::TXT00219), m_project.lastFolder() + kProposedName, kProjectPattern, 0).path;
    if (path.isEmpty())
        return {};
    // Compared exactly: "Projekt.PNX" becomes "Projekt.PNX.pnx".
    if (!path.endsWith(u".pnx"_s))
        path += u".pnx"_s;
    const QFileInfo existing(path);
    if (existing.exists() && existing.size() > 0) {
        const auto answer = m_dialogs.message(uiText(TextKey::TXT00219), uiText(TextKey::TXT00220),
                                              Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
        if (answer != Dialogs::Answer::Yes)
            return {};
    }
    return path;
}

bool ProjectFiles::save(const QString& requestedPath)
{
    const QString path = requestedPath.isEmpty() ? chooseSavePath() : requestedPath;
    if (path.isEmpty())
        return false;
    m_project.setLastFolder(folderOf(path));
    const WriteResult written = writeProjectFile(m_project, path, m_clock());
    if (!written) {
        // The old file is untouched; the user can free space or pick another place.
        const Message message = writeErrorMessage(path, written);
        m_dialogs.message(message.title, message.text, Dialogs::Icon::None);
        return false;
    }
    m_project.setPath(path);
    m_view.setBanner(bannerForFile(path));
    return true;
}

void ProjectFiles::openDemo()
{
    // Without the private temporary folder the copy has no place: a bare file
    // name would land in whatever folder the program was started from. The
    // open then asks for a file, as it does when the copy cannot be written.
    const QString demoPath = m_temporaryFolder.isEmpty() ? QString() : m_temporaryFolder + kDemoFileName;
    if (!demoPath.isEmpty())
        writeNewFile(demoPath, demoProjectBytes());
    const QString lastFolder = m_project.lastFolder();
    // The demo is not the user's file: a later Save asks for a name.
    if (!open(demoPath, Question::Ask, LastFolder::Keep))
        return;
    m_project.setPath(QString());
    m_project.setLastFolder(lastFolder);
    m_view.setBanner(uiText(TextKey::TXT00213));
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
