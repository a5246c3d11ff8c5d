#include "windows/TextExportCommand.h"

#include "evaluation/Scoring.h"
#include "export/TextExport.h"
#include "tests/TestSupport.h"
#include "tests/windows/WindowFixture.h"

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class TextExportCommandTest : public WindowFixture {
protected:
    // Runs the command with the dialog answered by `name` in the sandbox and
    // the layout at `pattern`.
    void exportAs(const QString& name, int pattern)
    {
        m_dialogs.files.push_back({file(name), pattern});
        exportText(context());
    }

    QByteArray expectedBytes(int layout)
    {
        Project scored = m_project;
        ComputeScores(scored);
        return textExportBytes(scored, layout);
    }
};

} // namespace

TEST_F(TextExportCommandTest, OffersTheRememberedNameAndLayout)
{
    m_settings.ExportDateiName = file(u"last.txt"_s);
    m_settings.ExportDateiTyp = 1;
    exportText(context()); // cancelled
    ASSERT_EQ(m_dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(m_dialogs.fileDialogs.first().title, text(TextKey::TXT00120));
    EXPECT_EQ(m_dialogs.fileDialogs.first().text, file(u"last.txt"_s));
    EXPECT_EQ(m_dialogs.fileDialogPatterns.first(),
              text(TextKey::TXT00125) + u" (*.txt)|*.txt|"_s + text(TextKey::TXT00126) + u" (*.txt)|*.txt"_s);
    EXPECT_EQ(m_dialogs.fileDialogSelectedPatterns.first(), 1);
    EXPECT_EQ(m_settings.ExportDateiName, file(u"last.txt"_s)) << "a cancelled dialog changes nothing";
    EXPECT_TRUE(QDir(m_sandbox.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(TextExportCommandTest, ARememberedNameInAFolderThatIsGoneStartsInTheDocumentsFolder)
{
    for (const QString& remembered : {file(u"gone/last.txt"_s), u"last.txt"_s}) {
        SCOPED_TRACE(remembered.toStdString());
        m_settings.ExportDateiName = remembered;
        exportText(context()); // cancelled
        EXPECT_EQ(m_dialogs.fileDialogs.last().text, m_folders.documents + u"last.txt"_s);
        EXPECT_EQ(m_settings.ExportDateiName, remembered) << "a cancelled dialog changes nothing";
    }
}

TEST_F(TextExportCommandTest, WritesTheScoredLayoutUnderTheNameWithItsTextExtension)
{
    for (int option = 0; option < m_project.optionCount(); ++option)
        m_project.setScore(option, 99); // stale: the export must score afresh
    const struct {
        QString typed;
        int layout;
        QString written;
    } cases[] = {
        {u"Result"_s, kCriteriaRowsLayout, u"Result.txt"_s},
        {u"Result.csv"_s, kOptionRowsLayout, u"Result.csv.txt"_s},
        {u"Result.TXT"_s, kOptionRowsLayout, u"Result.TXT"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        exportAs(c.typed, c.layout);
        EXPECT_TRUE(sameBytes(readBytes(file(c.written)), expectedBytes(c.layout)));
        EXPECT_EQ(m_settings.ExportDateiName, file(c.written));
        EXPECT_EQ(m_settings.ExportDateiTyp, c.layout);
    }
    EXPECT_TRUE(m_dialogs.messages.isEmpty());

    exportText(context()); // the next export offers the last choice
    EXPECT_EQ(m_dialogs.fileDialogs.last().text, file(u"Result.TXT"_s));
    EXPECT_EQ(m_dialogs.fileDialogSelectedPatterns.last(), kOptionRowsLayout);
}

TEST_F(TextExportCommandTest, AnExistingFileIsReplacedOnlyOnYes)
{
    ASSERT_TRUE(writeBytes(file(u"data.csv.txt"_s), "keep me"));
    m_dialogs.answers.push_back(Dialogs::Answer::No);
    exportAs(u"data.csv"_s, kOptionRowsLayout);
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    const auto& asked = m_dialogs.messages.first();
    EXPECT_EQ(asked.title, text(TextKey::TXT00090));
    EXPECT_EQ(asked.text, text(TextKey::TXT00091));
    EXPECT_EQ(asked.icon, Dialogs::Icon::None);
    EXPECT_EQ(asked.buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(asked.defaultAnswer, Dialogs::Answer::No);
    EXPECT_EQ(readBytes(file(u"data.csv.txt"_s)), "keep me");
    // Remembered even though nothing was written.
    EXPECT_EQ(m_settings.ExportDateiName, file(u"data.csv.txt"_s));
    EXPECT_EQ(m_settings.ExportDateiTyp, kOptionRowsLayout);

    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    exportAs(u"data.csv.txt"_s, kCriteriaRowsLayout);
    EXPECT_EQ(readBytes(file(u"data.csv.txt"_s)), expectedBytes(kCriteriaRowsLayout));
}

TEST_F(TextExportCommandTest, AFileThatCannotBeWrittenIsReported)
{
    ASSERT_TRUE(writeBytes(file(u"plain"_s), "a file, not a folder"));
    ASSERT_TRUE(QDir(m_sandbox.path()).mkdir(u"folder.txt"_s));
    for (const QString& name : {u"plain/out.txt"_s, u"folder.txt"_s}) {
        SCOPED_TRACE(name.toStdString());
        m_dialogs.messages.clear();
        exportAs(name, kCriteriaRowsLayout);
        // A folder of that name is no file to replace: nothing is asked.
        ASSERT_EQ(m_dialogs.messages.size(), 1);
        EXPECT_EQ(m_dialogs.lastTitle(), text(TextKey::TXT00001));
        EXPECT_TRUE(m_dialogs.lastText().startsWith(file(name) + u"\r\n\r\n"_s));
        EXPECT_GT(m_dialogs.lastText().size(), file(name).size() + 4) << "the reason is given";
        EXPECT_EQ(m_settings.ExportDateiName, file(name));
    }
    EXPECT_TRUE(QFileInfo(file(u"folder.txt"_s)).isDir());
}
