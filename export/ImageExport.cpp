#include "export/ImageExport.h"

#include "base/ImageWriters.h"
#include "base/SettingsFile.h"
#include "base/TextTable.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QImage>

#include <algorithm>
#include <array>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

struct ImagePattern {
    QStringView type;
    ImageFormat format;
};

// In the order of the save dialog's patterns: the pattern index is the
// position here.
constexpr std::array<ImagePattern, 5> kPatterns = {{
    {u"jpg", ImageFormat::Jpeg},
    {u"gif", ImageFormat::Gif},
    {u"png", ImageFormat::Png},
    {u"bmp", ImageFormat::Bmp},
    {u"tif", ImageFormat::Tiff},
}};

constexpr QStringView kPatternList = u"Image JPG|*.jpg|Image GIF|*.gif|Image PNG|*.png|Image BMP|*.bmp|Image TIF|*.tif";

int patternIndexOf(const QString& type)
{
    for (std::size_t i = 0; i < kPatterns.size(); ++i) {
        if (kPatterns[i].type == type)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

ImageExportResult exportImage(const QImage& page, Settings& settings, const QString& picturesFolder, Dialogs& dialogs)
{
    // A folder that was deleted since the last export would leave the dialog
    // wherever the desktop likes; the pictures folder is the better guess.
    if (settings.ImagePath.isEmpty() || !QFileInfo(settings.ImagePath).isDir())
        settings.ImagePath = picturesFolder;
    int patternIndex = patternIndexOf(settings.ImageType);
    if (patternIndex < 0) {
        patternIndex = 0;
        settings.ImageType = kPatterns[0].type.toString();
    }

    const Dialogs::FileChoice choice =
        dialogs.saveFile(uiText(TextKey::TXT00108), settings.ImagePath, kPatternList.toString(), patternIndex);
    if (choice.path.isEmpty())
        return {};

    const ImagePattern& chosen =
        kPatterns[static_cast<std::size_t>(std::clamp(choice.patternIndex, 0, static_cast<int>(kPatterns.size()) - 1))];
    settings.ImageType = chosen.type.toString();
    // The pattern decides the format; a name typed with another extension
    // keeps it and gets the right one added, so the file never lies about
    // what it holds.
    QString path = choice.path;
    if (QFileInfo(path).suffix().toLower() != chosen.type)
        path += u'.' + chosen.type;
    settings.ImagePath = path.left(path.lastIndexOf(u'/') + 1);

    if (!mayReplace(dialogs, path))
        return {};

    if (writeImageFile(page, path, chosen.format))
        return {ImageExportResult::Outcome::Written, path};
    dialogs.message(uiText(TextKey::TXT00001), uiText(TextKey::TXT00109), Dialogs::Icon::None);
    return {ImageExportResult::Outcome::Failed, path};
}

} // namespace ponderix
