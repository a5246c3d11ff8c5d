#include "platform/Folders.h"

#include "base/Language.h"
#include "base/SystemReason.h"
#include "base/TextTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <optional>

#include <fcntl.h>
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

// Removes everything inside `folder`. Links are removed, never followed.
bool emptyFolder(const QString& folder)
{
    const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    bool emptied = true;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(everything)) {
        if (entry.isDir() && !entry.isSymLink())
            emptied = QDir(entry.filePath()).removeRecursively() && emptied;
        else
            emptied = QFile::remove(entry.filePath()) && emptied;
    }
    return emptied && QDir(folder).isEmpty(everything);
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

QString dialogStartPath(const QString& remembered, const QString& fallbackFolder)
{
    const QFileInfo file(remembered);
    if (file.isAbsolute() && file.dir().exists())
        return remembered;
    return fallbackFolder + file.fileName();
}

namespace {

// Beside the program in the build tree, else where the installation puts it.
std::optional<QString> findHelpDocument(const ApplicationFolders& folders, const QString& name)
{
    const QString besideProgram = folders.programFolder + name;
    if (QFileInfo(besideProgram).isFile())
        return besideProgram;
    const QString installed = QDir::cleanPath(folders.programFolder + u"../share/ponderix/"_s + name);
    if (QFileInfo(installed).isFile())
        return installed;
    return std::nullopt;
}

} // namespace

QString helpDocumentPath(const ApplicationFolders& folders)
{
    const QString english = uiText(TextKey::Offline_Hilfe);
    // "ponderix-help.html" in German is "ponderix-help.de.html".
    QString translated = english;
    translated.insert(english.lastIndexOf(u'.'), u'.' + chosenLanguage());
    if (const std::optional<QString> found = findHelpDocument(folders, translated))
        return *found;
    return findHelpDocument(folders, english).value_or(folders.programFolder + english);
}

PrivateFolder makePrivateFolder(const QString& folder, ForeignContents contents)
{
    const QString cleaned = QDir::cleanPath(folder);
    const QByteArray path = QFile::encodeName(cleaned);
    const auto refused = [&cleaned](const QString& reason) {
        return PrivateFolder{QDir::toNativeSeparators(cleaned) + u": "_s + reason};
    };
    const auto failed = [&refused](int error) { return refused(systemReason(error)); };

    if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        // The parent may be missing (a fresh home folder): create it, then retry.
        const int error = errno;
        if (error != ENOENT || !QDir().mkpath(QFileInfo(cleaned).path()))
            return failed(error);
        if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
            return failed(errno);
    }
    // Checked and tightened through one descriptor, so that what is checked
    // is what gets tightened.
    const int descriptor = open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        struct stat facts { };
        if (lstat(path.constData(), &facts) == 0 && S_ISLNK(facts.st_mode))
            return refused(uiText(TextKey::TXT00523));
        return failed(error);
    }
    struct stat facts { };
    if (fstat(descriptor, &facts) != 0) {
        const int error = errno;
        close(descriptor);
        return failed(error);
    }
    if (facts.st_uid != getuid()) {
        close(descriptor);
        return refused(uiText(TextKey::TXT00522));
    }
    const bool othersCouldWrite = (facts.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    if ((facts.st_mode & 077) != 0 && fchmod(descriptor, 0700) != 0) {
        const int error = errno;
        close(descriptor);
        return failed(error);
    }
    close(descriptor);
    // Nobody else can add anything now; what others put in before goes.
    if (othersCouldWrite && contents == ForeignContents::Discard && !emptyFolder(cleaned))
        return refused(uiText(TextKey::TXT00524));
    return {QString(), othersCouldWrite};
}

void removeFolder(const QString& folder)
{
    if (!folder.isEmpty())
        QDir(folder).removeRecursively();
}

} // namespace ponderix
