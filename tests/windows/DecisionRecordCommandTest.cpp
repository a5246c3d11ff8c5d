// The decision-record command with scripted dialogs: the file dialog, the
// Replace question, the progress and its Cancel, a file that cannot be written.
#include "windows/DecisionRecordCommand.h"

#include "tests/TestSupport.h"
#include "tests/windows/WindowFixture.h"

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class DecisionRecordCommandTest : public WindowFixture {
protected:
    void recordAs(const QString& name, int pattern)
    {
        m_dialogs.files.push_back({file(name), pattern});
        exportDecisionRecord(context());
    }
};

} // namespace

TEST_F(DecisionRecordCommandTest, OffersHtmlAndPdfUnderTheProjectsName)
{
    exportDecisionRecord(context()); // cancelled
    ASSERT_EQ(m_dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(m_dialogs.fileDialogs[0].title, u"Decision record"_s);
    EXPECT_EQ(m_dialogs.fileDialogs[0].text, m_folders.documents + u"Cars.html"_s);
    EXPECT_EQ(m_dialogs.fileDialogPatterns[0], u"HTML document (*.html)|*.html|PDF document (*.pdf)|*.pdf"_s);
    EXPECT_EQ(m_dialogs.fileDialogSelectedPatterns[0], 0);
    EXPECT_TRUE(m_dialogs.progressDialogs.isEmpty());
    EXPECT_TRUE(QDir(m_sandbox.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(DecisionRecordCommandTest, StartsInTheFolderTheLastRecordWentTo)
{
    const struct {
        const char* what;
        QString firstRecord;  // chosen in the first dialog; empty: cancelled
        bool removeItsFolder; // before the second dialog
        QString secondStart;  // where the second dialog starts
    } cases[] = {
        {"a record written", u"kept/first.pdf"_s, false, u"kept/Cars.html"_s},
        {"its folder gone since", u"gone/first.html"_s, true, u"documents/Cars.html"_s},
        {"a cancelled dialog", QString(), false, u"documents/Cars.html"_s},
    };
    for (const auto& c : cases) {
        m_settings.RecordPath.clear();
        m_dialogs.fileDialogs.clear();
        const QString folder = file(c.firstRecord.section(u'/', 0, 0));
        if (!c.firstRecord.isEmpty()) {
            ASSERT_TRUE(QDir().mkpath(folder));
            m_dialogs.files.push_back({file(c.firstRecord), 0});
        }
        exportDecisionRecord(context());
        if (c.removeItsFolder) {
            ASSERT_TRUE(QDir(folder).removeRecursively());
        }
        exportDecisionRecord(context()); // cancelled
        ASSERT_EQ(m_dialogs.fileDialogs.size(), 2) << c.what;
        EXPECT_EQ(m_dialogs.fileDialogs[0].text, m_folders.documents + u"Cars.html"_s) << c.what;
        EXPECT_EQ(m_dialogs.fileDialogs[1].text, file(c.secondStart)) << c.what;
    }
}

TEST_F(DecisionRecordCommandTest, WritesTheFormatItsExtensionNames)
{
    const struct {
        QString typed;
        int pattern;
        QString written;
        QByteArray opening;
    } cases[] = {
        {u"plain"_s, 0, u"plain.html"_s, "<!DOCTYPE html>"},
        {u"paper"_s, 1, u"paper.pdf"_s, "%PDF-"},
        {u"typed.pdf"_s, 0, u"typed.pdf"_s, "%PDF-"},
        {u"typed.HTM"_s, 1, u"typed.HTM"_s, "<!DOCTYPE html>"},
    };
    for (const auto& c : cases) {
        recordAs(c.typed, c.pattern);
        EXPECT_TRUE(readBytes(file(c.written)).startsWith(c.opening)) << c.written.toStdString();
    }
    EXPECT_TRUE(m_dialogs.messages.isEmpty()) << m_dialogs.lastText().toStdString();
    ASSERT_EQ(m_dialogs.progressDialogs.size(), 4);
    EXPECT_EQ(m_dialogs.progressDialogs[0].title, u"Decision record"_s);
    EXPECT_EQ(m_dialogs.progressDialogs[0].text, u"Writing the decision record…|Cancel"_s);
    // The demo's three options: analysis, overview, matrix, three details,
    // profile, robustness page; the last report says all are done.
    EXPECT_EQ(m_dialogs.progressReports.last(), (std::pair<int, int>{8, 8}));
}

TEST_F(DecisionRecordCommandTest, AsksBeforeReplacingAndLeavesTheFileWhenCancelled)
{
    const QString path = file(u"record.html"_s);
    const struct {
        const char* what;
        std::optional<Dialogs::Answer> answer;
        std::optional<int> cancelAt;
        bool replaced;
    } cases[] = {
        {"No", Dialogs::Answer::No, std::nullopt, false},
        {"Yes, then Cancel", Dialogs::Answer::Yes, 4, false},
        {"Yes", Dialogs::Answer::Yes, std::nullopt, true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(writeBytes(path, "old"));
        m_dialogs.answers = {*c.answer};
        m_dialogs.cancelAtPart = c.cancelAt;
        m_dialogs.messages.clear();
        recordAs(u"record.html"_s, 0);
        ASSERT_EQ(m_dialogs.messages.size(), 1) << c.what;
        EXPECT_EQ(m_dialogs.messages[0].title, text(TextKey::TXT00090)) << c.what;
        EXPECT_EQ(m_dialogs.messages[0].defaultAnswer, Dialogs::Answer::No) << c.what;
        EXPECT_EQ(readBytes(path) != "old", c.replaced) << c.what;
    }
}

TEST_F(DecisionRecordCommandTest, SaysSoWhenTheFileCannotBeWritten)
{
    recordAs(u"gone/record.pdf"_s, 1);
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.lastTitle(), text(TextKey::TXT00001));
    EXPECT_TRUE(m_dialogs.lastText().startsWith(u"The decision record could not be written.\r\n\r\n"_s
                                                + file(u"gone/record.pdf"_s)))
        << m_dialogs.lastText().toStdString();
}
