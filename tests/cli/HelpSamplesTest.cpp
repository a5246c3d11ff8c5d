#include "base/Language.h"
#include "tests/TestSupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// The text a browser shows for the entities the help writes in samples;
// &amp; last, so that "&amp;lt;" stays "&lt;".
QString shownText(QString html)
{
    return html.replace(u"&lt;"_s, u"<"_s)
        .replace(u"&gt;"_s, u">"_s)
        .replace(u"&quot;"_s, u"\""_s)
        .replace(u"&nbsp;"_s, QString(QChar(0x00A0)))
        .replace(u"&amp;"_s, u"&"_s);
}

// The terminal sessions of a help document: every <pre> that starts with a
// command of ponderix-cli.
QStringList terminalSessions(const QString& html)
{
    static const QRegularExpression pre(u"<pre[^>]*>(.*?)</pre>"_s, QRegularExpression::DotMatchesEverythingOption);
    QStringList sessions;
    for (const QRegularExpressionMatch& match : pre.globalMatch(html)) {
        const QString text = shownText(match.captured(1));
        if (text.startsWith(u"$ ponderix-cli "_s))
            sessions << text;
    }
    return sessions;
}

class HelpSamples : public ::testing::TestWithParam<QString> { };

} // namespace

// A reader copies these sessions into a terminal, so each command must print
// exactly the lines below it in the help's own language, spacing and
// number format included.
TEST_P(HelpSamples, PrintWhatTheProgramPrints)
{
    const QString language = GetParam();
    const QString document =
        language == u"en"_s ? u"ponderix-help.html"_s : u"ponderix-help."_s + language + u".html"_s;
    const QByteArray html = readBytes(QString::fromUtf8(PONDERIX_SOURCE_DIR) + u"/assets/help/"_s + document);
    const QStringList sessions = terminalSessions(QString::fromUtf8(html));
    ASSERT_FALSE(sessions.isEmpty()) << document.toStdString();
    for (const QString& session : sessions) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        // Each "$ " line and what it prints, up to the next one.
        for (const QString& step : QString(u'\n' + session).split(u"\n$ "_s, Qt::SkipEmptyParts)) {
            const qsizetype lineEnd = step.indexOf(u'\n');
            const QString command = step.left(lineEnd);
            const QString printed = lineEnd < 0 ? QString() : step.mid(lineEnd + 1) + u'\n';
            SCOPED_TRACE(document.toStdString() + ": " + command.toStdString());
            QStringList arguments = command.split(u' ', Qt::SkipEmptyParts);
            ASSERT_EQ(arguments.takeFirst(), u"ponderix-cli"_s);
            const CliOutcome outcome = runCli(QStringList{u"--language"_s, language} + arguments, folder.path());
            EXPECT_EQ(outcome.exitCode, 0);
            EXPECT_EQ(outcome.out.toStdString(), printed.toStdString());
            EXPECT_EQ(outcome.err.toStdString(), "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, HelpSamples, ::testing::ValuesIn(availableLanguages()),
                         [](const ::testing::TestParamInfo<QString>& language) {
                             return language.param.toStdString();
                         });
