#include "platform/Folders.h"

#include "base/TextTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

QString withSeparator(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

QString standardFolder(QStandardPaths::StandardLocation location)
{
    return withSeparator(QStandardPaths::writableLocation(location));
}

// A save dialog started in a folder that does not exist opens in the
// program's working directory, where one Enter writes the file; a fresh
// account without ~/Documents or ~/Pictures starts in the home folder instead.
QString existingOrHome(const QString& folder)
{
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return withSeparator(QDir::homePath());
}

QString privateTemporaryFolder()
{
    const QString subfolder = uiText(TextKey::Temp_Subdir);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return withSeparator(runtime) + subfolder + u'/';
    return withSeparator(QDir::tempPath()) + subfolder + u'-' + QString::number(getuid()) + u'/';
}

} // namespace

QString ApplicationFolders::settingsFile() const
{
    return applicationData + uiText(TextKey::Settings_File);
}

ApplicationFolders resolveFolders()
{
    ApplicationFolders folders;
    folders.documents = existingOrHome(standardFolder(QStandardPaths::DocumentsLocation));
    folders.pictures = existingOrHome(standardFolder(QStandardPaths::PicturesLocation));
    const QString config = standardFolder(QStandardPaths::GenericConfigLocation);
    folders.applicationData = config.isEmpty() ? QString() : config + uiText(TextKey::AppData_Subdir);
    folders.temporary = privateTemporaryFolder();
    folders.state = stateFolder();
    folders.programPath = QCoreApplication::applicationFilePath();
    folders.programFolder = withSeparator(QCoreApplication::applicationDirPath());
    return folders;
}

QString stateFolder()
{
    // A relative value is to be ignored, as the base directory rules say.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!base.startsWith(u'/')) {
        const QString home = QDir::homePath();
        if (!home.startsWith(u'/'))
            return {};
        base = withSeparator(home) + u".local/state"_s;
    }
    return withSeparator(base) + uiText(TextKey::AppData_Subdir);
}

QString helpDocumentPath(const ApplicationFolders& folders)
{
    const QString name = uiText(TextKey::Offline_Hilfe);
    const QString besideProgram = folders.programFolder + name;
    if (QFileInfo(besideProgram).isFile())
        return besideProgram;
    const QString installed = QDir::cleanPath(folders.programFolder + u"../share/ponderix/"_s + name);
    if (QFileInfo(installed).isFile())
        return installed;
    return besideProgram;
}

bool makePrivateFolder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(QDir::cleanPath(folder));
    if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        // The parent may be missing (a fresh home folder): create it, then retry.
        if (!QDir().mkpath(QFileInfo(QDir::cleanPath(folder)).path()) || mkdir(path.constData(), 0700) != 0)
            return false;
    }
    struct stat facts {};
    if (lstat(path.constData(), &facts) != 0 || !S_ISDIR(facts.st_mode) || facts.st_uid != getuid())
        return false;
    if ((facts.st_mode & 077) != 0 && chmod(path.constData(), 0700) != 0)
        return false;
    return true;
}

void removeFolder(const QString& folder)
{
    if (!folder.isEmpty())
        QDir(folder).removeRecursively();
}

} // namespace ponderix
