#include "platform/Folders.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

// Points HOME at a fresh folder for the life of the guard.
class HomeFolder final {
public:
    HomeFolder() : m_saved(qgetenv("HOME")) { qputenv("HOME", QFile::encodeName(m_folder.path())); }
    ~HomeFolder() { qputenv("HOME", m_saved); }
    HomeFolder(const HomeFolder&) = delete;
    HomeFolder& operator=(const HomeFolder&) = delete;

    QString path(const QString& name = QString()) const { return m_folder.path() + u'/' + name; }

private:
    QTemporaryDir m_folder;
    QByteArray m_saved;
};

} // namespace

TEST(FolderFallbackTest, SaveDialogsStartInTheHomeFolderWhenDocumentsOrPicturesAreMissing)
{
    const HomeFolder home;
    ApplicationFolders folders = resolveFolders();
    EXPECT_EQ(folders.documents, home.path());
    EXPECT_EQ(folders.pictures, home.path());

    ASSERT_TRUE(QDir(home.path()).mkdir(u"Documents"_s));
    folders = resolveFolders();
    EXPECT_EQ(folders.documents, home.path(u"Documents/"_s));
    EXPECT_EQ(folders.pictures, home.path());

    ASSERT_TRUE(QDir(home.path()).mkdir(u"Pictures"_s));
    folders = resolveFolders();
    EXPECT_EQ(folders.pictures, home.path(u"Pictures/"_s));
}
