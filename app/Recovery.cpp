#include "app/Recovery.h"

#include "base/SystemReason.h"
#include "base/TextTable.h"
#include "project/ProjectMessages.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

const QString kProjectName = u"Recovery.pnx"_s;
const QString kSideName = u"Recovery.json"_s;
const QString kPathKey = u"path"_s;
const QString kBannerKey = u"banner"_s;

// The copy's files must be the user's own, written here: a link or a file of
// another account may point the restored work anywhere.
bool isOwnRegularFile(const QString& path)
{
    struct stat facts { };
    return lstat(QFile::encodeName(path).constData(), &facts) == 0 && S_ISREG(facts.st_mode)
           && facts.st_uid == getuid();
}

// A link at a name the copy is written to goes first, so that the new file
// takes its place instead of the write following it.
void removeLink(const QString& path)
{
    if (QFileInfo(path).isSymLink())
        QFile::remove(path);
}

// Whether a file begins as a project file does: its root element within the
// first few kilobytes. Reading the whole file would keep the question
// waiting for seconds on a large project.
bool beginsAsProject(const QString& path)
{
    QFile file(path);
    // Only another account's file fails here, which the tests, run as root,
    // cannot make.
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QRegularExpression root(u"<"_s + uiText(TextKey::Program_Short) + u"[\\s/>]"_s);
    return root.match(QString::fromUtf8(file.read(4096))).hasMatch();
}

// `path`, cleaned, when it names a project file: an existing file that
// begins as a project, or a ".pnx" not yet there in an existing folder;
// else nothing.
QString projectFileOrNothing(const QString& given)
{
    const QString path = QDir::cleanPath(given);
    const QFileInfo file(path);
    if (given.isEmpty() || !file.isAbsolute())
        return {};
    if (file.exists())
        return file.isFile() && beginsAsProject(path) ? path : QString();
    return path.endsWith(u".pnx"_s) && QFileInfo(file.path()).isDir() ? path : QString();
}

} // namespace

RecoveryFile::RecoveryFile(QString folder, QString problem, bool othersCouldWrite)
    : m_folder(std::move(folder)), m_problem(std::move(problem)), m_othersCouldWrite(othersCouldWrite)
{
    if (!m_folder.isEmpty() && !m_folder.endsWith(u'/'))
        m_folder += u'/';
}

QString RecoveryFile::projectPath() const
{
    return enabled() ? m_folder + kProjectName : QString();
}

QString RecoveryFile::sidePath() const
{
    return enabled() ? m_folder + kSideName : QString();
}

bool RecoveryFile::exists() const
{
    return enabled() && QFileInfo::exists(projectPath());
}

WriteResult RecoveryFile::write(const Project& project, const QString& path, const QString& banner) const
{
    if (!enabled())
        return {false, QString()};
    const QJsonObject side{{kPathKey, path}, {kBannerKey, banner}};
    removeLink(sidePath());
    removeLink(projectPath());
    WriteResult written = writeFileAtomically(sidePath(), QJsonDocument(side).toJson());
    if (written)
        written = writeProjectFile(project, projectPath(), QDateTime::currentDateTime());
    // The system's reason alone ("Permission denied") does not tell the
    // user which folder to mend.
    if (written)
        return written;
    const QString folder = QDir::cleanPath(m_folder);
    if (!written.error.contains(folder))
        written.error = folder + u": "_s + written.error;
    return written;
}

void RecoveryFile::remove() const
{
    if (!enabled())
        return;
    // The project file first: without it no copy is offered, whatever stays.
    QFile::remove(projectPath());
    QFile::remove(sidePath());
}

RecoveryFile::ReadOutcome RecoveryFile::read() const
{
    if (!exists())
        return {std::nullopt, QString()};
    if (m_othersCouldWrite)
        return {std::nullopt, m_folder + u": "_s + uiText(TextKey::TXT00840)};
    for (const QString& path : {projectPath(), sidePath()}) {
        if (!isOwnRegularFile(path))
            return {std::nullopt, path + u": "_s + uiText(TextKey::TXT00841)};
    }
    ReadResult result = readProjectFile(projectPath());
    if (!result.ok())
        return {std::nullopt, readErrorMessage(result.error()).text};
    QFile sideFile(sidePath());
    if (!sideFile.open(QIODevice::ReadOnly))
        return {std::nullopt, translatedSystemReason(sideFile.errorString())};
    QJsonParseError parseError{};
    const QJsonDocument side = QJsonDocument::fromJson(sideFile.readAll(), &parseError);
    if (!side.isObject() || !side.object().value(kPathKey).isString() || !side.object().value(kBannerKey).isString())
        return {std::nullopt, parseError.error != QJsonParseError::NoError ? parseError.errorString() : sidePath()};
    Found found{std::move(result.project()), projectFileOrNothing(side.object().value(kPathKey).toString()),
                side.object().value(kBannerKey).toString(), QFileInfo(projectPath()).lastModified()};
    return {std::move(found), QString()};
}

QString RecoveryFile::keepAside(const QDateTime& now) const
{
    const QString stem = m_folder + u"Recovery-damaged-"_s + now.toString(u"yyyyMMdd-HHmmss"_s);
    QString name = stem;
    for (int attempt = 2; QFileInfo::exists(name + u".pnx"_s) || QFileInfo::exists(name + u".json"_s); ++attempt)
        name = stem + u'-' + QString::number(attempt);
    if (!QFile::rename(projectPath(), name + u".pnx"_s))
        return {};
    QFile::rename(sidePath(), name + u".json"_s);
    return name + u".pnx"_s;
}

RecoveryKeeper::RecoveryKeeper(RecoveryFile file, const Project& project, Banner banner, Failure failure)
    : m_file(std::move(file)), m_project(project), m_banner(std::move(banner)), m_failure(std::move(failure))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
}

void RecoveryKeeper::changed()
{
    // Not restarted by later changes: the copy is never more than the delay
    // behind, however long the user goes on typing.
    // Without a folder the timer only brings the news that the change is
    // not kept, as a failed write would.
    const bool toTell = !m_file.problem().isEmpty() && !m_failureReported;
    if ((m_file.enabled() || toTell) && !m_timer.isActive())
        m_timer.start();
}

void RecoveryKeeper::writeNow()
{
    m_timer.stop();
    if (!m_file.enabled()) {
        if (!m_file.problem().isEmpty())
            reportFailure(m_file.problem());
        return;
    }
    const WriteResult written = m_file.write(m_project, m_project.path(), m_banner());
    if (!written)
        reportFailure(written.error);
}

void RecoveryKeeper::reportFailure(const QString& reason)
{
    if (m_failureReported || !m_failure)
        return;
    m_failureReported = true;
    m_failure(reason);
}

void RecoveryKeeper::discard()
{
    m_timer.stop();
    m_file.remove();
}

} // namespace ponderix
