#include "base/Language.h"
#include "base/PoCatalog.h"
#include "base/SettingsFile.h"
#include "project/DemoProject.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

PoCatalog readPo(const QString& name)
{
    QFile file(QStringLiteral(PONDERIX_SOURCE_DIR "/po/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    PoCatalog catalog = readPoCatalog(file.readAll());
    EXPECT_TRUE(catalog.ok()) << name.toStdString() << ':' << catalog.errorLine << ": " << catalog.error.toStdString();
    return catalog;
}

QString entryName(const PoEntry& entry)
{
    return entry.context + u" \""_s + entry.source + u'"';
}

QHash<QString, PoEntry> byName(const PoCatalog& catalog)
{
    QHash<QString, PoEntry> entries;
    for (const PoEntry& entry : catalog.entries)
        entries.insert(entryName(entry), entry);
    return entries;
}

QSet<QString> placeholders(const QString& text)
{
    static const QRegularExpression placeholder(u"%\\d+"_s);
    QSet<QString> found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found.insert(match.captured());
    return found;
}

// The marks that make the next letter a menu accelerator ("&&" is a plain "&").
qsizetype acceleratorMarks(QString text)
{
    return text.remove(u"&&"_s).count(u'&');
}

class Translation : public ::testing::TestWithParam<QString> {
protected:
    const PoCatalog m_template = readPo(u"ponderix.pot"_s);
    const PoCatalog m_translation = readPo(GetParam() + u".po"_s);
};

} // namespace

TEST_P(Translation, CoversEveryTemplateEntryAndNothingElse)
{
    const QHash<QString, PoEntry> translated = byName(m_translation);
    for (const PoEntry& english : m_template.entries) {
        const auto entry = translated.constFind(entryName(english));
        if (entry == translated.cend()) {
            ADD_FAILURE() << "missing: " << entryName(english).toStdString();
            continue;
        }
        EXPECT_FALSE(entry->translation.isEmpty()) << "empty: " << entryName(english).toStdString();
        EXPECT_FALSE(entry->fuzzy) << "fuzzy: " << entryName(english).toStdString();
    }
    const QHash<QString, PoEntry> wanted = byName(m_template);
    for (const PoEntry& entry : m_translation.entries)
        EXPECT_TRUE(wanted.contains(entryName(entry))) << "not in the template: " << entryName(entry).toStdString();
}

TEST_P(Translation, KeepsThePlaceholdersAndAcceleratorsOfTheEnglish)
{
    for (const PoEntry& entry : m_translation.entries) {
        EXPECT_EQ(placeholders(entry.translation), placeholders(entry.source)) << entryName(entry).toStdString();
        EXPECT_EQ(acceleratorMarks(entry.translation), acceleratorMarks(entry.source))
            << entryName(entry).toStdString();
    }
}

// Files are read by the program in every language and by other programs:
// what the user works in must not change a byte of them.
TEST_P(Translation, LeavesProjectAndSettingsFilesAsInEnglish)
{
    const QDateTime saved(QDate(2026, 12, 7), QTime(9, 30));
    Project project = readProjectBytes(demoProjectBytes()).project();
    const Settings settings = defaultSettings(u"/home/user/Documents"_s);
    ASSERT_TRUE(chooseLanguage(u"en"_s));
    const QByteArray englishProject = projectFileBytes(project, u"Cars.pnx"_s, saved);
    const QByteArray englishSettings = settingsFileBytes(settings);

    ASSERT_TRUE(chooseLanguage(GetParam()));
    const QByteArray translatedProject = projectFileBytes(project, u"Cars.pnx"_s, saved);
    EXPECT_EQ(translatedProject, englishProject);
    EXPECT_EQ(settingsFileBytes(settings), englishSettings);
    // Opened again in English it is the same project.
    ASSERT_TRUE(chooseLanguage(u"en"_s));
    EXPECT_EQ(projectFileBytes(readProjectBytes(translatedProject).project(), u"Cars.pnx"_s, saved), englishProject);
}

TEST_P(Translation, OffersTheDemoProjectInItsLanguage)
{
    ASSERT_TRUE(chooseLanguage(GetParam()));
    const QHash<QString, PoEntry> translated = byName(m_translation);
    ReadResult demo = readProjectBytes(demoProjectBytesInChosenLanguage());
    ASSERT_TRUE(demo.ok());
    ReadResult english = readProjectBytes(demoProjectBytes());
    const Criterion& criterion = english.project().criteria()[0];
    EXPECT_EQ(demo.project().criteria()[0].Name, translated.value(u"Demo \""_s + criterion.Name + u'"').translation);
    EXPECT_EQ(demo.project().criteria()[0].Importance, criterion.Importance);
    EXPECT_EQ(demo.project().ratings().size(), english.project().ratings().size());
    chooseLanguage(u"en"_s);
    EXPECT_EQ(demoProjectBytesInChosenLanguage(), demoProjectBytes().toByteArray());
}

INSTANTIATE_TEST_SUITE_P(Languages, Translation, ::testing::ValuesIn(availableLanguages().mid(1)),
                         [](const ::testing::TestParamInfo<QString>& language) {
                             return language.param.toStdString();
                         });
