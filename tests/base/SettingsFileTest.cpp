#include "base/SettingsFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <ostream>
#include <utility>

using namespace Qt::StringLiterals;

namespace ponderix {

// Readable failure output: the whole record, one key per line.
void PrintTo(const Settings& settings, std::ostream* out)
{
    *out << "\n" << settingsFileBytes(settings).sliced(3).toStdString();
}

} // namespace ponderix

namespace {

using ponderix::Settings;

const QString kDocuments = u"/home/ana/Documents/"_s;

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool putFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

Settings sampleSettings()
{
    Settings settings;
    settings.LastDirectory = u"/home/jürgen/Entscheidungen/"_s;
    settings.LastProject = u"/home/jürgen/Entscheidungen/Auto – Ω 決定.pnx"_s;
    settings.WindowPosLeft = -1920;
    settings.WindowPosTop = -8;
    settings.WindowPosWidth = 760;
    settings.WindowPosHeight = 630;
    settings.ImagePath = u"/home/jürgen/Bilder/"_s;
    settings.ImageType = u"png"_s;
    settings.ExportDateiName = u"/home/jürgen/Exporte/Übersicht.txt"_s;
    settings.ExportDateiTyp = 1;
    settings.CriteriaAddWidth = 250;
    return settings;
}

TEST(SettingsFile, FirstStartUsesTheDocumentsFolder)
{
    const Settings settings = ponderix::defaultSettings(kDocuments);
    EXPECT_EQ(settings.LastDirectory, kDocuments);
    EXPECT_EQ(settings.LastProject, QString());
    EXPECT_EQ(settings.WindowPosLeft, -1);
    EXPECT_EQ(settings.WindowPosTop, -1);
    EXPECT_EQ(settings.WindowPosWidth, -1);
    EXPECT_EQ(settings.WindowPosHeight, -1);
    EXPECT_EQ(settings.ImagePath, QString());
    EXPECT_EQ(settings.ImageType, QString());
    EXPECT_EQ(settings.ExportDateiName, u"/home/ana/Documents/export.txt"_s);
    EXPECT_EQ(settings.ExportDateiTyp, 0);
    EXPECT_EQ(settings.CriteriaAddWidth, 0);
}

TEST(SettingsFile, UnreadableOrEmptyFilesGiveTheDefaults)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(putFile(folder.filePath(u"empty.ini"_s), {}));
    ASSERT_TRUE(putFile(folder.filePath(u"bom.ini"_s), "\xEF\xBB\xBF"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"folder.ini"_s));
    const Settings defaults = ponderix::defaultSettings(kDocuments);
    for (const QString& name :
         {u"missing.ini"_s, u"missing/settings.ini"_s, u"empty.ini"_s, u"bom.ini"_s, u"folder.ini"_s}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(ponderix::readSettingsFile(folder.filePath(name), kDocuments), defaults);
    }
}

TEST(SettingsFile, WritesExactBytes)
{
    Settings settings = ponderix::defaultSettings(u"/home/ana/Documents/"_s);
    settings.LastDirectory = u" /home/ana/Ablage/ "_s;
    settings.WindowPosLeft = -1280;
    settings.WindowPosTop = 0;
    settings.WindowPosWidth = 760;
    settings.ImagePath = u"  /home/ana/Bilder/\t "_s;
    settings.ImageType = u"\t jpg "_s;
    settings.CriteriaAddWidth = 37;

    const QByteArray expected = "\xEF\xBB\xBF"
                                "LastDirectory =  /home/ana/Ablage/ \r\n"
                                "LastProject = \r\n"
                                "WindowPosLeft = -1280\r\n"
                                "WindowPosTop = 0\r\n"
                                "WindowPosWidth = 760\r\n"
                                "WindowPosHeight = -1\r\n"
                                "ImagePath = /home/ana/Bilder/\t\r\n"
                                "ImageType = \t jpg\r\n"
                                "ExportDateiName = /home/ana/Documents/export.txt\r\n"
                                "ExportDateiTyp = 0\r\n"
                                "CriteriaAddWidth = 37\r\n";
    EXPECT_EQ(ponderix::settingsFileBytes(settings), expected);

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(u"settings.ini"_s);
    const ponderix::WriteResult result = ponderix::writeSettingsFile(path, settings);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(fileBytes(path), expected);
}

TEST(SettingsFile, WrittenFileReadsBackUnchanged)
{
    struct Case {
        const char* name;
        std::function<void(Settings&)> change;
    };
    const Case cases[] = {
        {"non-ASCII paths and negative window", [](Settings&) {}},
        {"first-start values", [](Settings& s) { s = ponderix::defaultSettings(kDocuments); }},
        {"empty texts", [](Settings& s) { s.LastDirectory = s.ExportDateiName = QString(); }},
        {"the ends of every range",
         [](Settings& s) {
             s.WindowPosLeft = -(1 << 24);
             s.WindowPosTop = 1 << 24;
             s.WindowPosWidth = 1 << 24;
             s.WindowPosHeight = -1;
             s.ExportDateiTyp = 0;
             s.CriteriaAddWidth = 277;
         }},
        {"texts that look like syntax",
         [](Settings& s) {
             s.LastProject = u"/a = b;[c].pnx"_s;
             s.ImageType = u"[bmp]"_s;
             s.LastDirectory = u";not a comment/"_s;
         }},
        {"tabs inside texts", [](Settings& s) { s.LastProject = u"/a\tb.pnx"_s; }},
    };
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(u"settings.ini"_s);
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        Settings settings = sampleSettings();
        testCase.change(settings);
        ASSERT_TRUE(ponderix::writeSettingsFile(path, settings).ok);
        EXPECT_EQ(ponderix::readSettingsFile(path, u"/elsewhere/"_s), settings);
    }
}

TEST(SettingsFile, ReadsHandEditedFiles)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        std::function<void(Settings&)> expected; // applied to the defaults
    };
    const Case cases[] = {
        {"key case", "lastproject = /a.pnx\r\nWINDOWPOSLEFT = 3\r\nimagetype = gif\r\n",
         [](Settings& s) {
             s.LastProject = u"/a.pnx"_s;
             s.WindowPosLeft = 3;
             s.ImageType = u"gif"_s;
         }},
        {"blanks and tabs around key and value", " \tWindowPosTop \t=\t 7 \t\r\n\tLastProject=  /my file.pnx\t \r\n",
         [](Settings& s) {
             s.WindowPosTop = 7;
             s.LastProject = u"/my file.pnx"_s;
         }},
        {"tab inside a value kept", "LastProject = /a\tb.pnx\r\n", [](Settings& s) { s.LastProject = u"/a\tb.pnx"_s; }},
        {"comments", "; LastProject = /x.pnx\r\n  ;WindowPosLeft=4\r\n\t;\r\nImageType = bmp\r\n",
         [](Settings& s) { s.ImageType = u"bmp"_s; }},
        {"group headers", "[Ponderix]\r\nWindowPosWidth = 800\r\n [LastProject=/x.pnx]\r\n",
         [](Settings& s) { s.WindowPosWidth = 800; }},
        {"LF line ends without BOM", "ImagePath = /pics/\nExportDateiTyp = 1\n",
         [](Settings& s) {
             s.ImagePath = u"/pics/"_s;
             s.ExportDateiTyp = 1;
         }},
        {"BOM and no final line end", "\xEF\xBB\xBFLastProject = /ä.pnx",
         [](Settings& s) { s.LastProject = u"/ä.pnx"_s; }},
        {"first of two equal keys wins", "WindowPosLeft = 1\r\nwindowposleft = 2\r\nWindowPosLeft = 3\r\n",
         [](Settings& s) { s.WindowPosLeft = 1; }},
        {"garbage integers",
         "WindowPosLeft = abc\r\nWindowPosTop =   +12abc\r\nWindowPosWidth = -\r\n"
         "WindowPosHeight =\r\nExportDateiTyp = 1.9\r\n",
         [](Settings& s) {
             s.WindowPosLeft = 0;
             s.WindowPosTop = 12;
             s.WindowPosWidth = 0;
             s.WindowPosHeight = 0;
             s.ExportDateiTyp = 1;
         }},
        {"values within their ranges kept",
         "WindowPosLeft = 0\r\nWindowPosTop = -40\r\nWindowPosWidth = 5\r\n"
         "WindowPosHeight = 99999\r\nCriteriaAddWidth = 277\r\n",
         [](Settings& s) {
             s.WindowPosLeft = 0;
             s.WindowPosTop = -40;
             s.WindowPosWidth = 5;
             s.WindowPosHeight = 99999;
             s.CriteriaAddWidth = 277;
         }},
        {"present but empty texts replace the defaults", "LastDirectory =\r\nExportDateiName = \r\n",
         [](Settings& s) { s.LastDirectory = s.ExportDateiName = QString(); }},
        {"only the first = separates", "LastProject = /a=b.pnx\r\n",
         [](Settings& s) { s.LastProject = u"/a=b.pnx"_s; }},
        {"lines without = and unknown keys",
         "LastProject /x.pnx\r\nLastProjects = /y.pnx\r\nWindow PosLeft = 4\r\n = 5\r\n", [](Settings&) {}},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        Settings expected = ponderix::defaultSettings(kDocuments);
        testCase.expected(expected);
        EXPECT_EQ(ponderix::parseSettings(testCase.bytes, kDocuments), expected);
    }
}

TEST(SettingsFile, ClampsEveryIntegerAsItIsRead)
{
    // The window may lie anywhere within 2^24 pixels of the origin, the text
    // export has two layouts, and the criterion column at most 277 extra pixels.
    struct Case {
        const char* name;
        QByteArray bytes;
        std::function<void(Settings&)> expected; // applied to the defaults
    };
    const Case cases[] = {
        {"largest int",
         "CriteriaAddWidth = 2147483647\r\nExportDateiTyp = 2147483647\r\n"
         "WindowPosLeft = 2147483647\r\nWindowPosTop = 2147483647\r\n"
         "WindowPosWidth = 2147483647\r\nWindowPosHeight = 2147483647\r\n",
         [](Settings& s) {
             s.CriteriaAddWidth = 277;
             s.ExportDateiTyp = 1;
             s.WindowPosLeft = s.WindowPosTop = s.WindowPosWidth = s.WindowPosHeight = 16777216;
         }},
        {"smallest int",
         "CriteriaAddWidth = -2147483648\r\nExportDateiTyp = -2147483648\r\n"
         "WindowPosLeft = -2147483648\r\nWindowPosTop = -2147483648\r\n"
         "WindowPosWidth = -2147483648\r\nWindowPosHeight = -2147483648\r\n",
         [](Settings& s) {
             s.CriteriaAddWidth = 0;
             s.ExportDateiTyp = 0;
             s.WindowPosLeft = s.WindowPosTop = -16777216;
             s.WindowPosWidth = s.WindowPosHeight = -1;
         }},
        {"just outside",
         "CriteriaAddWidth = 278\r\nExportDateiTyp = 2\r\nWindowPosLeft = 16777217\r\n"
         "WindowPosWidth = -2\r\n",
         [](Settings& s) {
             s.CriteriaAddWidth = 277;
             s.ExportDateiTyp = 1;
             s.WindowPosLeft = 16777216;
             s.WindowPosWidth = -1;
         }},
        {"beyond 32 bits", "CriteriaAddWidth = 99999999999999999999\r\n",
         [](Settings& s) { s.CriteriaAddWidth = 277; }},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        Settings expected = ponderix::defaultSettings(kDocuments);
        testCase.expected(expected);
        EXPECT_EQ(ponderix::parseSettings(testCase.bytes, kDocuments), expected);
    }

    // What is clamped is what goes back to the file, so a bad value does not stick.
    const Settings read = ponderix::parseSettings("CriteriaAddWidth = 2147483647\r\n", kDocuments);
    EXPECT_TRUE(ponderix::settingsFileBytes(read).contains("\r\nCriteriaAddWidth = 277\r\n"));
}

// Line breaks become blanks, so every value stays on its own line and a path
// carrying "\nCriteriaAddWidth = 5" cannot override the real key below it.
TEST(SettingsFile, LineBreaksInTextsCannotInjectKeys)
{
    const QString injected = u"/a\nCriteriaAddWidth = 5\r\nWindowPosLeft = 6\r"_s;
    const QString flattened = u"/a CriteriaAddWidth = 5  WindowPosLeft = 6"_s;
    const std::pair<const char*, QString Settings::*> texts[] = {{"LastDirectory", &Settings::LastDirectory},
                                                                 {"LastProject", &Settings::LastProject},
                                                                 {"ImagePath", &Settings::ImagePath},
                                                                 {"ImageType", &Settings::ImageType},
                                                                 {"ExportDateiName", &Settings::ExportDateiName}};
    for (const auto& [name, text] : texts) {
        SCOPED_TRACE(name);
        Settings settings = sampleSettings();
        settings.*text = injected;
        const QByteArray bytes = ponderix::settingsFileBytes(settings);
        EXPECT_EQ(bytes.count('\n'), 11);
        EXPECT_EQ(bytes.count('\r'), 11);
        EXPECT_EQ(bytes.count("\r\n"), 11);

        // The blank left by the final CR falls away like any blank around a value.
        const Settings readBack = ponderix::parseSettings(bytes, kDocuments);
        EXPECT_EQ(readBack.*text, flattened);
        settings.*text = readBack.*text;
        EXPECT_EQ(readBack, settings);
    }
}

TEST(SettingsFile, FailedWritesAreReportedAndTouchNothing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray earlier = "earlier contents";
    const QString blocker = folder.filePath(u"settings.ini"_s);
    ASSERT_TRUE(putFile(blocker, earlier));
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"folder.ini"_s));

    // Failures even root cannot write past: a parent that is a file, a parent
    // that does not exist, a target that is a folder.
    for (const QString& name : {u"settings.ini/settings.ini"_s, u"missing/settings.ini"_s, u"folder.ini"_s}) {
        SCOPED_TRACE(name.toStdString());
        const ponderix::WriteResult result = ponderix::writeSettingsFile(folder.filePath(name), sampleSettings());
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
    }
    EXPECT_EQ(fileBytes(blocker), earlier);
    EXPECT_TRUE(QFileInfo(folder.filePath(u"folder.ini"_s)).isDir());
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(u"missing"_s)));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({u"folder.ini"_s, u"settings.ini"_s}));
}

TEST(SettingsFile, FailedWriteOverAnEarlierFileKeepsItsBytes)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(u"settings.ini"_s);
    ASSERT_TRUE(ponderix::writeSettingsFile(path, sampleSettings()).ok);
    const QByteArray earlier = fileBytes(path);

    const QFileDevice::Permissions writable = QFile::permissions(folder.path());
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (putFile(folder.filePath(u"probe"_s), "x")) {
        QFile::setPermissions(folder.path(), writable);
        GTEST_SKIP() << "permission bits do not stop this user's writes";
    }
    const ponderix::WriteResult result = ponderix::writeSettingsFile(path, ponderix::defaultSettings(kDocuments));
    QFile::setPermissions(folder.path(), writable);

    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(fileBytes(path), earlier);
}

} // namespace
