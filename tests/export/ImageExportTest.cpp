#include "export/ImageExport.h"
#include "base/SettingsFile.h"
#include "base/TextTable.h"
#include "tests/ScriptedDialogs.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

const QString kPatterns = u"Image JPG|*.jpg|Image GIF|*.gif|Image PNG|*.png|Image BMP|*.bmp|Image TIF|*.tif"_s;

QString text(TextKey key)
{
    return uiText(key);
}

// A page image, the user's folders in a sandbox and scripted dialogs.
class ImageExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_sandbox.isValid());
        for (const char* folder : {"pictures", "documents"})
            ASSERT_TRUE(QDir(m_sandbox.path()).mkpath(QString::fromUtf8(folder)));
        m_pictures = m_sandbox.filePath(u"pictures/"_s);
        m_documents = m_sandbox.filePath(u"documents/"_s);
        m_page = QImage(120, 80, QImage::Format_RGB32);
        m_page.fill(Qt::white);
        for (int x = 0; x < 60; ++x)
            m_page.setPixel(x, 10, qRgb(98, 116, 205));
    }

    QString file(const QString& name) const { return m_sandbox.filePath(name); }

    ImageExportResult exportTo(const QString& path, int pattern)
    {
        m_dialogs.files.push_back({path, pattern});
        return exportImage(m_page, m_settings, m_pictures, m_dialogs);
    }

    ImageExportResult cancelExport() { return exportImage(m_page, m_settings, m_pictures, m_dialogs); }

    QTemporaryDir m_sandbox;
    QString m_pictures;
    QString m_documents;
    Settings m_settings;
    ScriptedDialogs m_dialogs;
    QImage m_page;
};

} // namespace

TEST_F(ImageExportTest, TheDialogOffersTheFivePatternsWithTheRememberedOneSelected)
{
    const QString folder = file(u"charts/"_s);
    QDir().mkpath(folder);
    const struct {
        QString type;
        int selected;
        QString typeAfter;
    } cases[] = {
        {u"jpg"_s, 0, u"jpg"_s},  {u"gif"_s, 1, u"gif"_s}, {u"png"_s, 2, u"png"_s},
        {u"bmp"_s, 3, u"bmp"_s},  {u"tif"_s, 4, u"tif"_s}, {QString(), 0, u"jpg"_s},
        {u"jpeg"_s, 0, u"jpg"_s}, {u"PNG"_s, 0, u"jpg"_s}, {u"tiff"_s, 0, u"jpg"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type.toStdString());
        m_settings.ImagePath = folder;
        m_settings.ImageType = c.type;
        EXPECT_EQ(cancelExport().outcome, ImageExportResult::Outcome::Cancelled);
        EXPECT_EQ(m_dialogs.fileDialogs.last().title, text(TextKey::TXT00108));
        EXPECT_EQ(m_dialogs.fileDialogs.last().text, folder);
        EXPECT_EQ(m_dialogs.fileDialogPatterns.last(), kPatterns);
        EXPECT_EQ(m_dialogs.fileDialogSelectedPatterns.last(), c.selected);
        // Corrected even though nothing was saved.
        EXPECT_EQ(m_settings.ImageType, c.typeAfter);
        EXPECT_EQ(m_settings.ImagePath, folder);
    }
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
}

TEST_F(ImageExportTest, AMissingImageFolderFallsBackToThePicturesFolder)
{
    writeBytes(file(u"a-file"_s), "not a folder");
    for (const QString& stored : {QString(), file(u"deleted/"_s), file(u"a-file"_s)}) {
        SCOPED_TRACE(stored.toStdString());
        m_settings.ImagePath = stored;
        cancelExport();
        EXPECT_EQ(m_dialogs.fileDialogs.last().text, m_pictures);
        EXPECT_EQ(m_settings.ImagePath, m_pictures);
    }
    EXPECT_TRUE(QDir(m_pictures).isEmpty());
}

TEST_F(ImageExportTest, ThePatternDecidesTheFormatAndTheExtension)
{
    QDir().mkpath(file(u"my.charts"_s));
    const struct {
        int pattern;
        QString typed;
        QString written;
        QString type;
    } cases[] = {
        {0, u"chart"_s, u"chart.jpg"_s, u"jpg"_s},
        {0, u"chart.JPG"_s, u"chart.JPG"_s, u"jpg"_s},
        {0, u"chart.jpeg"_s, u"chart.jpeg.jpg"_s, u"jpg"_s},
        {1, u"chart.png"_s, u"chart.png.gif"_s, u"gif"_s},
        {1, u"chart.Gif"_s, u"chart.Gif"_s, u"gif"_s},
        {2, u"chart.png"_s, u"chart.png"_s, u"png"_s},
        {3, u"my.charts/chart"_s, u"my.charts/chart.bmp"_s, u"bmp"_s},
        {4, u"chart.tiff"_s, u"chart.tiff.tif"_s, u"tif"_s},
        {4, u"chart.tif"_s, u"chart.tif"_s, u"tif"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        m_settings.ImageType = u"png"_s;
        const ImageExportResult result = exportTo(file(c.typed), c.pattern);
        EXPECT_EQ(result.outcome, ImageExportResult::Outcome::Written);
        EXPECT_EQ(result.path, file(c.written));
        EXPECT_TRUE(QFileInfo::exists(file(c.written)));
        EXPECT_EQ(m_settings.ImageType, c.type);
        EXPECT_EQ(m_settings.ImagePath, QFileInfo(file(c.written)).absolutePath() + u'/');
    }
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
}

TEST_F(ImageExportTest, EachPatternWritesAReadableFileOfItsFormat)
{
    const struct {
        int pattern;
        QByteArray magic;
        QByteArray readerFormat; // empty: no reader here, the signature must do
        bool lossless;
    } cases[] = {
        {0, "\xFF\xD8\xFF", "jpeg", false},
        {1, "GIF8", "gif", true},
        {2, "\x89PNG\r\n\x1A\n", "png", true},
        {3, "BM", "bmp", true},
        {4, "II*", {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        const QString path = exportTo(m_documents + u"page"_s, c.pattern).path;
        const QByteArray bytes = readBytes(path);
        ASSERT_TRUE(bytes.startsWith(c.magic)) << path.toStdString();
        if (c.readerFormat.isEmpty())
            continue;
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), c.readerFormat);
        const QImage read = reader.read().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(read.size(), m_page.size());
        if (c.lossless) {
            EXPECT_EQ(read, m_page);
        }
    }
}

TEST_F(ImageExportTest, AFileThatCannotBeWrittenIsReported)
{
    writeBytes(file(u"a-file"_s), "in the way");
    const ImageExportResult result = exportTo(file(u"a-file/chart"_s), 2);
    EXPECT_EQ(result.outcome, ImageExportResult::Outcome::Failed);
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.messages[0].title, text(TextKey::TXT00001));
    EXPECT_EQ(m_dialogs.messages[0].text, text(TextKey::TXT00109));
    EXPECT_EQ(m_dialogs.messages[0].icon, Dialogs::Icon::None);
    // The choice is remembered all the same; the next export notices that
    // the folder is no folder.
    EXPECT_EQ(m_settings.ImageType, u"png"_s);
    EXPECT_EQ(m_settings.ImagePath, file(u"a-file/"_s));
    cancelExport();
    EXPECT_EQ(m_dialogs.fileDialogs.last().text, m_pictures);
}

TEST_F(ImageExportTest, GifAndTiffFailuresAreReportedLikeTheOthers)
{
    for (const int pattern : {1, 4}) {
        SCOPED_TRACE(pattern);
        m_dialogs.messages.clear();
        exportTo(file(u"no/such/folder/chart"_s), pattern);
        ASSERT_EQ(m_dialogs.messages.size(), 1);
        EXPECT_EQ(m_dialogs.lastText(), text(TextKey::TXT00109));
    }
}

TEST_F(ImageExportTest, ReplacingAnExistingImageAsksFirstWithNoAsTheDefault)
{
    ASSERT_TRUE(writeBytes(file(u"chart.png"_s), "last week's chart"));
    // Unanswered, the question gets its default: No.
    const ImageExportResult declined = exportTo(file(u"chart"_s), 2);
    EXPECT_EQ(declined.outcome, ImageExportResult::Outcome::Cancelled);
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.messages[0].title, text(TextKey::TXT00090));
    EXPECT_EQ(m_dialogs.messages[0].text, text(TextKey::TXT00091));
    EXPECT_EQ(m_dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(m_dialogs.messages[0].defaultAnswer, Dialogs::Answer::No);
    EXPECT_EQ(readBytes(file(u"chart.png"_s)), "last week's chart");
    // The choice is remembered all the same, as with a cancelled dialog.
    EXPECT_EQ(m_settings.ImagePath, m_sandbox.path() + u'/');

    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    const ImageExportResult replaced = exportTo(file(u"chart.png"_s), 2);
    EXPECT_EQ(replaced.outcome, ImageExportResult::Outcome::Written);
    EXPECT_TRUE(readBytes(file(u"chart.png"_s)).startsWith("\x89PNG"));
    EXPECT_EQ(m_dialogs.messages.size(), 2);

    // A new name asks nothing.
    exportTo(file(u"other"_s), 2);
    EXPECT_EQ(m_dialogs.messages.size(), 2);
}
