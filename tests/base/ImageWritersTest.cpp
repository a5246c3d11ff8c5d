#include "base/ImageWriters.h"

#include "tests/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include <array>
#include <csetjmp>
#include <functional>
#include <memory>
#include <optional>
#include <random>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// What a file holds, decoded by its own library: the pixels, and a short
// description of how they are stored, compared with what the writer promises.
struct Decoded {
    QImage image; // RGB32; null when the file could not be decoded
    QString layout;
};

// ---- JPEG, read back with libjpeg ------------------------------------------

struct JpegReadErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void onJpegReadError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegReadErrors*>(info->err)->jump, 1);
}

class JpegReader final {
public:
    JpegReader() = default;
    ~JpegReader() { jpeg_destroy_decompress(&m_info); }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    jpeg_decompress_struct m_info{};
    JpegReadErrors m_errors{};
};

// Both phases longjmp on damaged data, so neither frame owns anything.
bool readJpegHeader(JpegReader& reader, const QByteArray& bytes)
{
    reader.m_info.err = jpeg_std_error(&reader.m_errors.manager);
    reader.m_errors.manager.error_exit = onJpegReadError;
    if (setjmp(reader.m_errors.jump))
        return false;
    jpeg_CreateDecompress(&reader.m_info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    jpeg_mem_src(&reader.m_info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&reader.m_info, TRUE);
    reader.m_info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&reader.m_info);
    return true;
}

bool readJpegRows(JpegReader& reader, uchar* bits, qsizetype bytesPerLine)
{
    if (setjmp(reader.m_errors.jump))
        return false;
    while (reader.m_info.output_scanline < reader.m_info.output_height) {
        JSAMPROW row = bits + reader.m_info.output_scanline * bytesPerLine;
        jpeg_read_scanlines(&reader.m_info, &row, 1);
    }
    jpeg_finish_decompress(&reader.m_info);
    return true;
}

Decoded decodeJpeg(const QString& path)
{
    const QByteArray bytes = readBytes(path);
    JpegReader reader;
    if (!readJpegHeader(reader, bytes))
        return {};
    // The first row of the luminance table tells the quality the encoder used.
    QString layout = QString::number(reader.m_info.num_components) + u" components, luminance"_s;
    for (int i = 0; i < 8 && reader.m_info.quant_tbl_ptrs[0]; ++i)
        layout += u' ' + QString::number(reader.m_info.quant_tbl_ptrs[0]->quantval[i]);
    QImage rgb(static_cast<int>(reader.m_info.output_width), static_cast<int>(reader.m_info.output_height),
               QImage::Format_RGB888);
    if (!readJpegRows(reader, rgb.bits(), rgb.bytesPerLine()))
        return {};
    return {rgb.convertToFormat(QImage::Format_RGB32), layout};
}

// ---- PNG, read back with libpng ----------------------------------------------

Decoded decodePng(const QString& path)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    const QByteArray name = QFile::encodeName(path);
    if (!png_image_begin_read_from_file(&png, name.constData()))
        return {};
    const QString layout = png.format == PNG_FORMAT_RGB ? u"rgb 8-bit"_s : u"format %1"_s.arg(png.format);
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height), QImage::Format_RGB32);
    png.format = PNG_FORMAT_BGRA; // the byte order of RGB32 on this machine
    if (!png_image_finish_read(&png, nullptr, image.bits(), static_cast<png_int_32>(image.bytesPerLine()), nullptr)) {
        png_image_free(&png);
        return {};
    }
    return {image, layout};
}

// ---- GIF, read back with giflib ----------------------------------------------

struct GifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

struct GifContents {
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> indexes;
    int width = 0;
    int height = 0;
};

std::optional<GifContents> readGif(const QString& path)
{
    int error = 0;
    const std::unique_ptr<GifFileType, GifCloser> gif(DGifOpenFileName(QFile::encodeName(path).constData(), &error));
    if (!gif || DGifSlurp(gif.get()) == GIF_ERROR || gif->ImageCount != 1 || !gif->SColorMap)
        return std::nullopt;
    GifContents contents;
    contents.width = gif->SWidth;
    contents.height = gif->SHeight;
    for (int j = 0; j < gif->SColorMap->ColorCount; ++j) {
        const GifColorType colour = gif->SColorMap->Colors[j];
        contents.palette.push_back(qRgb(colour.Red, colour.Green, colour.Blue));
    }
    const SavedImage& frame = gif->SavedImages[0];
    if (frame.ImageDesc.Width != contents.width || frame.ImageDesc.Height != contents.height)
        return std::nullopt;
    contents.indexes.assign(frame.RasterBits, frame.RasterBits + contents.width * contents.height);
    return contents;
}

Decoded decodeGif(const QString& path)
{
    const std::optional<GifContents> gif = readGif(path);
    if (!gif)
        return {};
    QImage image(gif->width, gif->height, QImage::Format_RGB32);
    for (int y = 0; y < gif->height; ++y) {
        for (int x = 0; x < gif->width; ++x)
            image.setPixel(x, y, gif->palette.at(gif->indexes[static_cast<std::size_t>(y * gif->width + x)]));
    }
    return {image, u"%1 colours"_s.arg(gif->palette.size())};
}

// ---- TIFF, read back with libtiff --------------------------------------------

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

Decoded decodeTiff(const QString& path)
{
    const std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpen(QFile::encodeName(path).constData(), "r"));
    if (!tiff)
        return {};
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t bits = 0;
    std::uint16_t samples = 0;
    std::uint16_t compression = 0;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_COMPRESSION, &compression);
    std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * height);
    if (!TIFFReadRGBAImageOriented(tiff.get(), width, height, raster.data(), ORIENTATION_TOPLEFT, 1))
        return {};
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = raster[y * width + x];
            image.setPixel(static_cast<int>(x), static_cast<int>(y),
                           qRgb(static_cast<int>(TIFFGetR(pixel)), static_cast<int>(TIFFGetG(pixel)),
                                static_cast<int>(TIFFGetB(pixel))));
        }
    }
    const QString codec = compression == COMPRESSION_LZW ? u"LZW"_s : u"compression %1"_s.arg(compression);
    return {image, u"%1 x %2-bit, "_s.arg(samples).arg(bits) + codec};
}

// ---- BMP, read by hand ---------------------------------------------------------

quint32 u32At(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 u16At(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

Decoded decodeBmp(const QString& path)
{
    const QByteArray bytes = readBytes(path);
    if (bytes.size() < 54 || !bytes.startsWith("BM"))
        return {};
    const auto width = static_cast<qint32>(u32At(bytes, 18));
    const auto height = static_cast<qint32>(u32At(bytes, 22));
    const qsizetype rowBytes = (qsizetype(width) * 3 + 3) / 4 * 4;
    // Any header field that disagrees with the data is named in the layout.
    QStringList faults;
    if (u32At(bytes, 2) != bytes.size())
        faults << u"file size"_s;
    if (u32At(bytes, 10) != 54)
        faults << u"pixel offset"_s;
    if (u32At(bytes, 14) != 40)
        faults << u"info header size"_s;
    if (height <= 0)
        faults << u"not bottom-up"_s;
    if (u16At(bytes, 26) != 1)
        faults << u"planes"_s;
    if (u32At(bytes, 30) != 0)
        faults << u"compression"_s;
    if (u32At(bytes, 34) != rowBytes * height || 54 + rowBytes * height != bytes.size())
        faults << u"pixel data size"_s;
    if (!faults.isEmpty() || width <= 0)
        return {QImage(), faults.join(u", ")};

    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const char* row = bytes.constData() + 54 + (height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const auto* pixel = reinterpret_cast<const uchar*>(row + 3 * x);
            image.setPixel(x, y, qRgb(pixel[2], pixel[1], pixel[0]));
        }
    }
    return {image, QString::number(u16At(bytes, 28)) + u"-bit"_s};
}

// ---- Images to write -----------------------------------------------------------

// Four flat quarters split at x 24 and y 16. The probes sit in 16 x 16
// blocks of one colour, where JPEG keeps its colours nearly exact; the
// single pixels sit in other blocks and are checked in lossless formats.
constexpr QRgb kRed = qRgb(200, 30, 40);
constexpr QRgb kGreen = qRgb(20, 160, 60);
constexpr QRgb kBlue = qRgb(30, 50, 190);
constexpr QRgb kCream = qRgb(250, 240, 230);
constexpr QRgb kNearBlack = qRgb(1, 2, 3);
constexpr QRgb kYellow = qRgb(240, 220, 10);

QImage quartersImage()
{
    QImage image(53, 41, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, y < 16 ? (x < 24 ? kRed : kGreen) : (x < 24 ? kBlue : kCream));
    }
    image.setPixel(0, 40, kNearBlack);
    image.setPixel(24, 16, kYellow);
    return image;
}

const std::vector<std::pair<QPoint, QRgb>> kBlockProbes{{{8, 6}, kRed},
                                                        {{40, 6}, kGreen},
                                                        {{8, 30}, kBlue},
                                                        {{40, 30}, kCream}};
const std::vector<std::pair<QPoint, QRgb>> kSinglePixelProbes{{{0, 40}, kNearBlack},
                                                              {{24, 16}, kYellow},
                                                              {{52, 40}, kCream},
                                                              {{23, 15}, kRed}};

// Random colours do not compress, so the encoded file is large whatever the
// format: 300 x 300 RGB is 270 KB raw.
QImage noiseImage()
{
    std::mt19937 random(20121113);
    QImage image(300, 300, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
    }
    return image;
}

struct FormatCase {
    ImageFormat format;
    const char* extension;
    std::function<Decoded(const QString&)> decode;
    QString layout;
    int tolerance; // per channel, for the block probes
    bool lossless;
};

const std::vector<FormatCase>& formatCases()
{
    static const std::vector<FormatCase> cases{
        // Quality 90 scales the standard luminance table 16 11 10 16 24 40 51 61 to a fifth.
        {ImageFormat::Jpeg, "jpg", decodeJpeg, u"3 components, luminance 3 2 2 3 5 8 10 12"_s, 6, false},
        {ImageFormat::Png, "png", decodePng, u"rgb 8-bit"_s, 0, true},
        {ImageFormat::Bmp, "bmp", decodeBmp, u"24-bit"_s, 0, true},
        {ImageFormat::Tiff, "tif", decodeTiff, u"3 x 8-bit, LZW"_s, 0, true},
        // The palette copy drops the two single pixels, so only the blocks are exact.
        {ImageFormat::Gif, "gif", decodeGif, u"256 colours"_s, 0, false},
    };
    return cases;
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

QString hexColour(QRgb colour)
{
    return u"#%1"_s.arg(static_cast<uint>(colour & 0xFFFFFFu), 6, 16, QChar(u'0'));
}

} // namespace

TEST(ImageWriters, EachFormatReadsBackThroughItsOwnLibrary)
{
    QTemporaryDir folder;
    const QImage image = quartersImage();
    for (const FormatCase& format : formatCases()) {
        SCOPED_TRACE(format.extension);
        const QString path = folder.filePath(u"page."_s + QString::fromLatin1(format.extension));
        const WriteResult result = writeImageFile(image, path, format.format);
        ASSERT_TRUE(result.ok) << result.error.toStdString();

        const Decoded decoded = format.decode(path);
        EXPECT_EQ(decoded.layout, format.layout);
        ASSERT_FALSE(decoded.image.isNull());
        EXPECT_EQ(decoded.image.size(), image.size());
        for (const auto& [point, expected] : kBlockProbes) {
            const QRgb actual = decoded.image.pixel(point);
            EXPECT_LE(channelDistance(actual, expected), format.tolerance)
                << "at " << point.x() << "," << point.y() << ": " << hexColour(actual).toStdString();
        }
        if (!format.lossless)
            continue;
        for (const auto& [point, expected] : kSinglePixelProbes)
            EXPECT_EQ(hexColour(decoded.image.pixel(point)), hexColour(expected))
                << "at " << point.x() << "," << point.y();
    }
}

TEST(ImageWriters, GifHoldsThePaletteCopyIndexForIndex)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"page.gif"_s);
    const QImage image = quartersImage();
    ASSERT_TRUE(writeImageFile(image, path, ImageFormat::Gif).ok);

    const std::optional<GifContents> gif = readGif(path);
    ASSERT_TRUE(gif.has_value());
    const PaletteImage expected = reduceTo256Colours(image);
    EXPECT_EQ(gif->palette, expected.palette);
    EXPECT_EQ(gif->indexes, expected.indexes);
    // The rare near-black pixel is not sampled and falls to the black entry.
    EXPECT_EQ(gif->indexes[static_cast<std::size_t>(40 * 53)], 0);
}

TEST(ImageWriters, TheCallersImageIsLeftAsItWas)
{
    // TIFF's predictor and the GIF reduction work on pixels; neither may
    // reach the page image the window is still showing.
    QTemporaryDir folder;
    // RGB888 is what the encoders take, so they would be handed the shown
    // image's own pixel buffer; `original` is a separate copy to compare with.
    const QImage original = quartersImage().convertToFormat(QImage::Format_RGB888);
    const QImage shown = original.copy();
    for (const FormatCase& format : formatCases()) {
        SCOPED_TRACE(format.extension);
        ASSERT_TRUE(writeImageFile(shown, folder.filePath(u"page"_s), format.format).ok);
        EXPECT_TRUE(shown == original);
    }
}

TEST(ImageWriters, ExtensionsNameFormatsOnlyInLowerCaseShortForm)
{
    const std::vector<std::pair<QString, std::optional<ImageFormat>>> cases{
        {u"jpg"_s, ImageFormat::Jpeg}, {u"gif"_s, ImageFormat::Gif},  {u"png"_s, ImageFormat::Png},
        {u"bmp"_s, ImageFormat::Bmp},  {u"tif"_s, ImageFormat::Tiff}, {u"jpeg"_s, std::nullopt},
        {u"tiff"_s, std::nullopt},     {u"TIF"_s, std::nullopt},      {u"Png"_s, std::nullopt},
        {u""_s, std::nullopt},         {u".png"_s, std::nullopt},     {u"svg"_s, std::nullopt},
    };
    for (const auto& [extension, expected] : cases)
        EXPECT_EQ(imageFormatForExtension(extension), expected) << extension.toStdString();
}

// ---- The palette copy ----------------------------------------------------------

namespace {

// A pixel value as the palette copy counts it, 0x00RRGGBB.
QRgb fromValue(int value)
{
    return qRgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

QImage rowOfValues(const std::vector<int>& values)
{
    QImage image(static_cast<int>(values.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 0, fromValue(values[static_cast<std::size_t>(x)]));
    return image;
}

QImage filled(int width, int height, QRgb left, QRgb right)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 2 ? left : right);
    }
    return image;
}

constexpr int kRun = 0x800000;
constexpr int kDistinct = 0xC00000;

// 1..100 once each, 400 pixels of one colour, then 524 distinct colours.
QImage runBetweenDistinctValues()
{
    std::vector<int> values;
    for (int value = 1; value <= 100; ++value)
        values.push_back(value);
    values.insert(values.end(), 400, kRun);
    for (int k = 0; k < 524; ++k)
        values.push_back(kDistinct + k);
    return rowOfValues(values);
}

QImage valuesUpTo1023()
{
    std::vector<int> values(1024);
    for (int value = 0; value < 1024; ++value)
        values[static_cast<std::size_t>(value)] = value;
    return rowOfValues(values);
}

struct PaletteCase {
    const char* name;
    std::function<QImage()> image;
    std::vector<std::pair<int, int>> entries;   // palette index, expected 0x00RRGGBB
    std::vector<std::pair<QPoint, int>> pixels; // pixel, expected palette index
};

} // namespace

TEST(PaletteCopy, SamplesTheSortedPixelValues)
{
    const std::vector<PaletteCase> cases{
        // N = 1024, one interval of 4: white is taken once, then every
        // sample lands on white again, the remaining interval is zero and
        // the entry before the end of the list repeats.
        {"white only, no black pixel",
         [] { return filled(32, 32, qRgb(255, 255, 255), qRgb(255, 255, 255)); },
         {{0, 0x000000}, {1, 0xFFFFFF}, {2, 0xFFFFFF}, {255, 0xFFFFFF}},
         {{{0, 0}, 1}, {{31, 31}, 1}}},
        // Sorted by value blue (0x0000FF) comes before red (0xFF0000).
        {"two colours",
         [] { return filled(64, 64, qRgb(255, 0, 0), qRgb(0, 0, 255)); },
         {{0, 0x000000}, {1, 0x0000FF}, {2, 0xFF0000}, {3, 0xFF0000}, {255, 0xFF0000}},
         {{{0, 0}, 2}, {{63, 63}, 1}}},
        // 1024 distinct values and the extra 0: every fourth one, 3, 7, ... 1019.
        // Pixel 1 is nearer black than 3; pixel 5 is as near 3 as 7 and
        // takes the lower index. Distance is in RGB, not by value: 256
        // (green 1) is one step from black, not near 255 or 259 beside it,
        // and 1023 (green 3, blue 255) one step from 767, not 1019.
        {"more colours than entries",
         valuesUpTo1023,
         {{0, 0}, {1, 3}, {2, 7}, {64, 255}, {65, 259}, {127, 507}, {192, 767}, {255, 1019}},
         {{{0, 0}, 0}, {{1, 0}, 0}, {{2, 0}, 1}, {{5, 0}, 1}, {{256, 0}, 0}, {{1023, 0}, 192}}},
        // Interval 4 over 1..100 up to entry 25; entry 26 takes the run, 27
        // lands inside it, skips it and spreads 229 entries over the 523
        // values left: interval 2, taken one short, so distinct + 1, + 3...
        // From entry 191 on the interval is 3. The last value, + 523, is
        // never taken; it is one blue step from + 522 (entry 255) and one
        // green step from + 267 (entry 160), and the lower index wins.
        {"run followed by distinct values",
         runBetweenDistinctValues,
         {{0, 0},
          {1, 4},
          {25, 100},
          {26, kRun},
          {27, kDistinct + 1},
          {28, kDistinct + 3},
          {160, kDistinct + 267},
          {190, kDistinct + 327},
          {191, kDistinct + 330},
          {255, kDistinct + 522}},
         {{{49, 0}, 12}, {{99, 0}, 25}, {{300, 0}, 26}, {{500, 0}, 27}, {{1022, 0}, 255}, {{1023, 0}, 160}}},
    };
    for (const PaletteCase& test : cases) {
        SCOPED_TRACE(test.name);
        const QImage image = test.image();
        const PaletteImage copy = reduceTo256Colours(image);
        EXPECT_EQ(copy.width, image.width());
        EXPECT_EQ(copy.height, image.height());
        ASSERT_EQ(copy.palette.size(), 256u);
        ASSERT_EQ(copy.indexes.size(), static_cast<std::size_t>(image.width() * image.height()));
        for (const auto& [index, value] : test.entries)
            EXPECT_EQ(hexColour(copy.palette[static_cast<std::size_t>(index)]), hexColour(fromValue(value)))
                << "entry " << index;
        for (const auto& [point, index] : test.pixels)
            EXPECT_EQ(copy.indexes[static_cast<std::size_t>(point.y() * image.width() + point.x())], index)
                << "pixel " << point.x() << "," << point.y();
    }
}

// ---- Failures ------------------------------------------------------------------

namespace {

constexpr std::array kAllFormats{ImageFormat::Jpeg, ImageFormat::Gif, ImageFormat::Png, ImageFormat::Bmp,
                                 ImageFormat::Tiff};

const char* nameOf(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Jpeg:
        return "jpg";
    case ImageFormat::Gif:
        return "gif";
    case ImageFormat::Png:
        return "png";
    case ImageFormat::Bmp:
        return "bmp";
    case ImageFormat::Tiff:
        return "tif";
    }
    return "?";
}

} // namespace

TEST(ImageWriters, APathBelowARegularFileFails)
{
    // Unlike a read-only folder, this stops root too.
    QTemporaryDir folder;
    const QString blocker = folder.filePath(u"not-a-folder"_s);
    ASSERT_TRUE(writeBytes(blocker, "previous"));
    for (const ImageFormat format : kAllFormats) {
        SCOPED_TRACE(nameOf(format));
        const WriteResult result = writeImageFile(quartersImage(), blocker + u"/page.img"_s, format);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_EQ(readBytes(blocker), QByteArray("previous"));
    }
}

TEST(ImageWriters, AFolderIsNotReplacedByAnImage)
{
    QTemporaryDir folder;
    const QString target = folder.filePath(u"pictures"_s);
    ASSERT_TRUE(QDir().mkdir(target));
    ASSERT_TRUE(writeBytes(target + u"/inside.txt"_s, "kept"));
    for (const ImageFormat format : kAllFormats) {
        SCOPED_TRACE(nameOf(format));
        const WriteResult result = writeImageFile(quartersImage(), target, format);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_TRUE(QFileInfo(target).isDir());
        EXPECT_EQ(readBytes(target + u"/inside.txt"_s), QByteArray("kept"));
    }
}

TEST(ImageWriters, AFullDiskFailsAndKeepsTheOldFile)
{
    // A tiny tmpfs fills up for real; skip where mounting is not allowed.
    QTemporaryDir mountPoint;
    const int mounted =
        QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, mountPoint.path()});
    if (mounted != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    const QImage noise = noiseImage();
    const QString path = mountPoint.filePath(u"page.img"_s);
    ASSERT_TRUE(writeBytes(path, "previous"));
    for (const ImageFormat format : kAllFormats) {
        SCOPED_TRACE(nameOf(format));
        const WriteResult result = writeImageFile(noise, path, format);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_EQ(readBytes(path), QByteArray("previous"));
        // No temporary file is left to fill the disk for the next attempt.
        EXPECT_EQ(QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"page.img"_s});
    }
    QProcess::execute(u"umount"_s, {mountPoint.path()});
}

TEST(ImageWriters, ImagesAnEncoderCannotTakeFailWithoutTouchingTheOldFile)
{
    // libjpeg and libpng report these through their error handlers, which
    // must come back as a failure rather than end the program.
    const std::vector<std::pair<ImageFormat, QSize>> cases{
        {ImageFormat::Jpeg, {65501, 1}}, {ImageFormat::Png, {1000001, 1}}, {ImageFormat::Gif, {65536, 1}},
        {ImageFormat::Jpeg, {0, 0}},     {ImageFormat::Png, {0, 0}},       {ImageFormat::Gif, {0, 0}},
        {ImageFormat::Bmp, {0, 0}},      {ImageFormat::Tiff, {0, 0}},
    };
    QTemporaryDir folder;
    const QString path = folder.filePath(u"page.img"_s);
    ASSERT_TRUE(writeBytes(path, "previous"));
    for (const auto& [format, size] : cases) {
        SCOPED_TRACE(std::string(nameOf(format)) + " " + std::to_string(size.width()) + "x"
                     + std::to_string(size.height()));
        QImage image(size, QImage::Format_RGB32);
        image.fill(kCream);
        const WriteResult result = writeImageFile(image, path, format);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_EQ(readBytes(path), QByteArray("previous"));
    }
}
