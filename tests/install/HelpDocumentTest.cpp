#include "base/Language.h"
#include "base/TextTable.h"
#include "platform/Folders.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// A scratch installation prefix with bin/ and share/ponderix/, the way
// `make install` lays them out.
class HelpDocument : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_prefix.isValid());
        ASSERT_TRUE(QDir(m_prefix.path()).mkpath(u"bin"_s));
        ASSERT_TRUE(QDir(m_prefix.path()).mkpath(u"share/ponderix"_s));
        m_folders.programFolder = m_prefix.filePath(u"bin"_s) + u'/';
    }

    QString inPrefix(const QString& relative) const { return m_prefix.filePath(relative); }
    QString found() const { return helpDocumentPath(m_folders); }

    QTemporaryDir m_prefix;
    ApplicationFolders m_folders;
};

} // namespace

TEST_F(HelpDocument, InstalledCopyIsFoundFromTheProgramFolder)
{
    ASSERT_TRUE(writeBytes(inPrefix(u"share/ponderix/ponderix-help.html"_s), "<html/>"));
    EXPECT_EQ(found(), inPrefix(u"share/ponderix/ponderix-help.html"_s));
}

TEST_F(HelpDocument, CopyBesideTheProgramComesFirst)
{
    ASSERT_TRUE(writeBytes(inPrefix(u"share/ponderix/ponderix-help.html"_s), "<html/>"));
    ASSERT_TRUE(writeBytes(inPrefix(u"bin/ponderix-help.html"_s), "<html/>"));
    EXPECT_EQ(found(), m_folders.programFolder + u"ponderix-help.html"_s);
}

TEST_F(HelpDocument, MissingEverywhereNamesTheProgramFolder)
{
    EXPECT_EQ(found(), m_folders.programFolder + u"ponderix-help.html"_s);
}

TEST_F(HelpDocument, FolderOfTheSameNameIsNoDocument)
{
    ASSERT_TRUE(QDir(m_prefix.path()).mkpath(u"bin/ponderix-help.html"_s));
    ASSERT_TRUE(writeBytes(inPrefix(u"share/ponderix/ponderix-help.html"_s), "<html/>"));
    EXPECT_EQ(found(), inPrefix(u"share/ponderix/ponderix-help.html"_s));
}

// The chosen language's document where there is one, wherever it is
// installed; the English one where that language has none.
TEST_F(HelpDocument, TheChosenLanguagesDocumentComesBeforeTheEnglish)
{
    ASSERT_TRUE(writeBytes(inPrefix(u"bin/ponderix-help.html"_s), "<html/>"));
    ASSERT_TRUE(writeBytes(inPrefix(u"share/ponderix/ponderix-help.de.html"_s), "<html/>"));
    ASSERT_TRUE(chooseLanguage(u"de"_s, QByteArrayView()));
    EXPECT_EQ(found(), inPrefix(u"share/ponderix/ponderix-help.de.html"_s));
    ASSERT_TRUE(chooseLanguage(u"fr"_s, QByteArrayView()));
    EXPECT_EQ(found(), m_folders.programFolder + u"ponderix-help.html"_s);
    chooseLanguage(u"en"_s);
}
