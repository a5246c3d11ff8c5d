#include "base/ImageWriters.h"

#include "base/TextTable.h"

#include <QByteArrayView>
#include <QImage>
#include <QtEndian>

#include <gif_lib.h>
#include <jerror.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <unordered_map>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

constexpr int kPaletteSize = 256;
constexpr int kJpegQuality = 90;
// Page images are screen pixels; 96 per inch is what a screen means by a pixel.
constexpr int kPixelsPerInch = 96;
constexpr int kPixelsPerMetre = 3780;
// GIF stores its sizes in 16 bits; a larger image would silently wrap.
constexpr int kGifMaximumSide = 65535;

// Everything the encoders produce lands here before it goes to disk. The
// C libraries call into it from their callbacks, so it lives in malloc'd
// memory and reports a failed growth instead of throwing: an exception must
// never unwind through libpng's, libjpeg's or giflib's frames. A failure
// is sticky, because giflib ignores the result of its very last write.
class EncodedBytes final {
public:
    EncodedBytes() = default;
    ~EncodedBytes() { std::free(m_data); }
    EncodedBytes(const EncodedBytes&) = delete;
    EncodedBytes& operator=(const EncodedBytes&) = delete;

    bool write(const void* bytes, std::size_t count) noexcept
    {
        if (m_failed || count > std::numeric_limits<std::size_t>::max() - m_position)
            return fail();
        const std::size_t end = m_position + count;
        if (end > m_capacity && !grow(end))
            return fail();
        // Like a file: a write past the end fills the gap with zeros.
        if (m_position > m_size)
            std::memset(m_data + m_size, 0, m_position - m_size);
        if (count > 0)
            std::memcpy(m_data + m_position, bytes, count);
        m_position = end;
        m_size = std::max(m_size, end);
        return true;
    }

    std::size_t read(void* bytes, std::size_t count) noexcept
    {
        const std::size_t available = m_position < m_size ? m_size - m_position : 0;
        const std::size_t taken = std::min(count, available);
        if (taken > 0)
            std::memcpy(bytes, m_data + m_position, taken);
        m_position += taken;
        return taken;
    }

    void seek(std::size_t position) noexcept { m_position = position; }

    std::size_t position() const { return m_position; }
    std::size_t size() const { return m_size; }
    bool failed() const { return m_failed; }
    QByteArrayView view() const { return {reinterpret_cast<const char*>(m_data), static_cast<qsizetype>(m_size)}; }

private:
    bool fail() noexcept
    {
        m_failed = true;
        return false;
    }

    bool grow(std::size_t needed) noexcept
    {
        std::size_t capacity = std::max<std::size_t>(m_capacity, 64 * 1024);
        while (capacity < needed) {
            if (capacity > std::numeric_limits<std::size_t>::max() / 2)
                return false;
            capacity *= 2;
        }
        void* grown = std::realloc(m_data, capacity);
        if (!grown)
            return false;
        m_data = static_cast<unsigned char*>(grown);
        m_capacity = capacity;
        return true;
    }

    unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::size_t m_position = 0;
    bool m_failed = false;
};

WriteResult failure(const QString& reason)
{
    return {false, reason};
}

WriteResult success()
{
    return {true, QString()};
}

// Three bytes per pixel, red first, the layout every encoder here takes.
QImage rgbRows(const QImage& image)
{
    return image.format() == QImage::Format_RGB888 ? image : image.convertToFormat(QImage::Format_RGB888);
}

// ---- JPEG ------------------------------------------------------------------

struct JpegErrors {
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it is a pointer to us
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct JpegDestination {
    jpeg_destination_mgr manager; // first, for the same reason
    EncodedBytes* bytes;
    std::array<JOCTET, 16 * 1024> chunk;
};

[[noreturn]] void onJpegError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// libjpeg's default would print corrupt-data warnings to stderr; an encoder
// of our own pixels has nothing worth saying there.
void onJpegMessage(j_common_ptr) { }

void failJpegOutOfMemory(j_compress_ptr info)
{
    info->err->msg_code = JERR_OUT_OF_MEMORY;
    info->err->msg_parm.i[0] = 0;
    info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
}

void startJpegDestination(j_compress_ptr info)
{
    auto* destination = reinterpret_cast<JpegDestination*>(info->dest);
    destination->manager.next_output_byte = destination->chunk.data();
    destination->manager.free_in_buffer = destination->chunk.size();
}

boolean flushJpegChunk(j_compress_ptr info)
{
    auto* destination = reinterpret_cast<JpegDestination*>(info->dest);
    if (!destination->bytes->write(destination->chunk.data(), destination->chunk.size()))
        failJpegOutOfMemory(info);
    startJpegDestination(info);
    return TRUE;
}

void finishJpegDestination(j_compress_ptr info)
{
    auto* destination = reinterpret_cast<JpegDestination*>(info->dest);
    const std::size_t used = destination->chunk.size() - destination->manager.free_in_buffer;
    if (!destination->bytes->write(destination->chunk.data(), used))
        failJpegOutOfMemory(info);
}

// Owns the compressor for the frame that calls compressJpeg, so the
// longjmp inside never has to run a destructor. A zeroed struct is safe to
// destroy, whether or not libjpeg ever got to set it up.
class JpegCompressor final {
public:
    explicit JpegCompressor(EncodedBytes& bytes) { m_destination.bytes = &bytes; }
    ~JpegCompressor() { jpeg_destroy_compress(&m_info); }
    JpegCompressor(const JpegCompressor&) = delete;
    JpegCompressor& operator=(const JpegCompressor&) = delete;

    jpeg_compress_struct m_info{};
    JpegErrors m_errors{};
    JpegDestination m_destination{};
};

struct RgbPixels {
    const uchar* data;
    qsizetype bytesPerLine;
    int width;
    int height;
};

// libjpeg reports errors by longjmp into this frame, which therefore holds
// nothing with a destructor; the compressor's owner cleans up after return.
bool compressJpeg(JpegCompressor& compressor, const RgbPixels& pixels)
{
    jpeg_compress_struct* info = &compressor.m_info;
    info->err = jpeg_std_error(&compressor.m_errors.manager);
    compressor.m_errors.manager.error_exit = onJpegError;
    compressor.m_errors.manager.output_message = onJpegMessage;
    if (setjmp(compressor.m_errors.jump))
        return false;

    jpeg_CreateCompress(info, JPEG_LIB_VERSION, sizeof(jpeg_compress_struct));
    compressor.m_destination.manager.init_destination = startJpegDestination;
    compressor.m_destination.manager.empty_output_buffer = flushJpegChunk;
    compressor.m_destination.manager.term_destination = finishJpegDestination;
    info->dest = &compressor.m_destination.manager;

    info->image_width = static_cast<JDIMENSION>(pixels.width);
    info->image_height = static_cast<JDIMENSION>(pixels.height);
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, kJpegQuality, TRUE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data + info->next_scanline * pixels.bytesPerLine);
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

WriteResult encodeJpeg(const QImage& image, EncodedBytes& out)
{
    const QImage rgb = rgbRows(image);
    JpegCompressor compressor(out);
    const RgbPixels pixels{rgb.constBits(), rgb.bytesPerLine(), rgb.width(), rgb.height()};
    if (!compressJpeg(compressor, pixels))
        return failure(u"JPEG encoder: "_s + QString::fromLocal8Bit(compressor.m_errors.message));
    return success();
}

// ---- PNG -------------------------------------------------------------------

struct PngErrors {
    std::jmp_buf jump;
    char message[256];
};

[[noreturn]] void onPngError(png_structp png, png_const_charp message)
{
    auto* errors = static_cast<PngErrors*>(png_get_error_ptr(png));
    std::snprintf(errors->message, sizeof errors->message, "%s", message);
    std::longjmp(errors->jump, 1);
}

// libpng warns about things like odd gamma values in images it reads; the
// images written here have none, so warnings are noise on stderr.
void onPngWarning(png_structp, png_const_charp) { }

void onPngWrite(png_structp png, png_bytep data, png_size_t length)
{
    if (!static_cast<EncodedBytes*>(png_get_io_ptr(png))->write(data, length))
        png_error(png, "not enough memory to encode the image");
}

void onPngFlush(png_structp) { }

// Owns libpng's two structs for the frame that calls compressPng; they are
// created inside it, where a libpng error can already be caught.
class PngWriter final {
public:
    PngWriter() = default;
    ~PngWriter() { png_destroy_write_struct(&m_png, &m_info); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    PngErrors m_errors{};
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

// Same rule as compressJpeg: libpng longjmps back here, so nothing in this
// frame may need destroying.
bool compressPng(PngWriter& writer, const RgbPixels& pixels, EncodedBytes& out, bool quick)
{
    if (setjmp(writer.m_errors.jump))
        return false;
    writer.m_png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &writer.m_errors, onPngError, onPngWarning);
    if (writer.m_png)
        writer.m_info = png_create_info_struct(writer.m_png);
    if (!writer.m_png || !writer.m_info) {
        std::snprintf(writer.m_errors.message, sizeof writer.m_errors.message, "%s",
                      "not enough memory to encode the image");
        return false;
    }
    png_set_write_fn(writer.m_png, &out, onPngWrite, onPngFlush);
    if (quick) {
        // Pages are mostly runs of flat colour: the left neighbour predicts
        // them well, at a fraction of the time of trying every filter on
        // every row. Full matching at zlib's fastest level costs no more
        // time than run-length matching alone, but finds the letters and
        // chart labels repeated along a page: a third of the size or less.
        png_set_filter(writer.m_png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
        png_set_compression_level(writer.m_png, 1);
    }
    png_set_IHDR(writer.m_png, writer.m_info, static_cast<png_uint_32>(pixels.width),
                 static_cast<png_uint_32>(pixels.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(writer.m_png, writer.m_info);
    for (int y = 0; y < pixels.height; ++y)
        png_write_row(writer.m_png, pixels.data + y * pixels.bytesPerLine);
    png_write_end(writer.m_png, writer.m_info);
    return true;
}

WriteResult encodePng(const QImage& image, EncodedBytes& out, bool quick = false)
{
    const QImage rgb = rgbRows(image);
    PngWriter writer;
    const RgbPixels pixels{rgb.constBits(), rgb.bytesPerLine(), rgb.width(), rgb.height()};
    if (!compressPng(writer, pixels, out, quick))
        return failure(u"PNG encoder: "_s + QString::fromLocal8Bit(writer.m_errors.message));
    return success();
}

// ---- BMP -------------------------------------------------------------------

constexpr int kBmpFileHeaderSize = 14;
constexpr int kBmpInfoHeaderSize = 40;

template <typename T> void putLittleEndian(uchar*& cursor, T value)
{
    qToLittleEndian(value, cursor);
    cursor += sizeof(T);
}

WriteResult encodeBmp(const QImage& image, EncodedBytes& out)
{
    const QImage rgb = rgbRows(image);
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(rgb.width()) * 3 + 3) / 4 * 4;
    const std::uint64_t pixelBytes = rowBytes * static_cast<std::uint64_t>(rgb.height());
    const std::uint64_t fileBytes = kBmpFileHeaderSize + kBmpInfoHeaderSize + pixelBytes;
    if (fileBytes > std::numeric_limits<std::uint32_t>::max())
        return failure(uiText(TextKey::TXT00884).arg(u"BMP"_s));

    std::array<uchar, kBmpFileHeaderSize + kBmpInfoHeaderSize> header{};
    uchar* cursor = header.data();
    putLittleEndian<quint8>(cursor, 'B');
    putLittleEndian<quint8>(cursor, 'M');
    putLittleEndian<quint32>(cursor, static_cast<quint32>(fileBytes));
    putLittleEndian<quint32>(cursor, 0); // two reserved words
    putLittleEndian<quint32>(cursor, kBmpFileHeaderSize + kBmpInfoHeaderSize);
    putLittleEndian<quint32>(cursor, kBmpInfoHeaderSize);
    putLittleEndian<qint32>(cursor, rgb.width());
    putLittleEndian<qint32>(cursor, rgb.height()); // positive: rows run bottom-up
    putLittleEndian<quint16>(cursor, 1);           // planes
    putLittleEndian<quint16>(cursor, 24);          // bits per pixel
    putLittleEndian<quint32>(cursor, 0);           // BI_RGB, uncompressed
    putLittleEndian<quint32>(cursor, static_cast<quint32>(pixelBytes));
    putLittleEndian<qint32>(cursor, kPixelsPerMetre);
    putLittleEndian<qint32>(cursor, kPixelsPerMetre);
    putLittleEndian<quint32>(cursor, 0); // colours used: none, no palette
    putLittleEndian<quint32>(cursor, 0); // important colours: all
    if (!out.write(header.data(), header.size()))
        return failure(uiText(TextKey::TXT00879));

    std::vector<uchar> row(rowBytes, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const uchar* source = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            row[3 * x] = source[3 * x + 2];
            row[3 * x + 1] = source[3 * x + 1];
            row[3 * x + 2] = source[3 * x];
        }
        if (!out.write(row.data(), row.size()))
            return failure(uiText(TextKey::TXT00879));
    }
    return success();
}

// ---- GIF -------------------------------------------------------------------

struct GifCloser {
    void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

struct ColourMapFreer {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColourMapHandle = std::unique_ptr<ColorMapObject, ColourMapFreer>;

int onGifWrite(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<EncodedBytes*>(gif->UserData);
    return length >= 0 && out->write(data, static_cast<std::size_t>(length)) ? length : 0;
}

WriteResult gifFailure(int errorCode)
{
    const char* reason = GifErrorString(errorCode);
    return failure(u"GIF encoder: "_s + (reason ? QString::fromLocal8Bit(reason) : QString::number(errorCode)));
}

WriteResult encodeGif(const QImage& image, EncodedBytes& out)
{
    if (image.width() > kGifMaximumSide || image.height() > kGifMaximumSide)
        return failure(uiText(TextKey::TXT00884).arg(u"GIF"_s));
    PaletteImage reduced = reduceTo256Colours(image);

    std::array<GifColorType, kPaletteSize> colours{};
    for (int j = 0; j < kPaletteSize; ++j) {
        const QRgb colour = reduced.palette[static_cast<std::size_t>(j)];
        colours[static_cast<std::size_t>(j)] = {static_cast<GifByteType>(qRed(colour)),
                                                static_cast<GifByteType>(qGreen(colour)),
                                                static_cast<GifByteType>(qBlue(colour))};
    }
    const ColourMapHandle colourMap(GifMakeMapObject(kPaletteSize, colours.data()));
    if (!colourMap)
        return failure(uiText(TextKey::TXT00879));

    int error = E_GIF_SUCCEEDED;
    GifHandle gif(EGifOpen(&out, onGifWrite, &error));
    if (!gif)
        return gifFailure(error);
    if (EGifPutScreenDesc(gif.get(), reduced.width, reduced.height, 8, 0, colourMap.get()) == GIF_ERROR)
        return gifFailure(gif->Error);
    if (EGifPutImageDesc(gif.get(), 0, 0, reduced.width, reduced.height, false, nullptr) == GIF_ERROR)
        return gifFailure(gif->Error);
    for (int y = 0; y < reduced.height; ++y) {
        GifPixelType* row =
            reduced.indexes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(reduced.width);
        if (EGifPutLine(gif.get(), row, reduced.width) == GIF_ERROR)
            return gifFailure(gif->Error);
    }
    // Closing writes the trailer and frees the handle whatever the outcome.
    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR)
        return gifFailure(error);
    if (out.failed())
        return failure(uiText(TextKey::TXT00879));
    return success();
}

// ---- TIFF ------------------------------------------------------------------

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

struct TiffOptionsFreer {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};
using TiffOptionsHandle = std::unique_ptr<TIFFOpenOptions, TiffOptionsFreer>;

// The first error is the cause; libtiff's follow-up complaints only repeat it.
struct TiffErrors {
    char message[512];
    bool seen;
};

int onTiffError(TIFF*, void* userData, const char* module, const char* format, va_list arguments)
{
    auto* errors = static_cast<TiffErrors*>(userData);
    if (!errors->seen) {
        errors->seen = true;
        char detail[384];
        std::vsnprintf(detail, sizeof detail, format, arguments);
        std::snprintf(errors->message, sizeof errors->message, "%.100s: %s", module ? module : "libtiff", detail);
    }
    return 1; // handled: keep libtiff's global handler off stderr
}

int onTiffWarning(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

tmsize_t readTiffBytes(thandle_t handle, void* data, tmsize_t size)
{
    if (size < 0)
        return -1;
    return static_cast<tmsize_t>(static_cast<EncodedBytes*>(handle)->read(data, static_cast<std::size_t>(size)));
}

tmsize_t writeTiffBytes(thandle_t handle, void* data, tmsize_t size)
{
    if (size < 0 || !static_cast<EncodedBytes*>(handle)->write(data, static_cast<std::size_t>(size)))
        return -1;
    return size;
}

toff_t seekTiffBytes(thandle_t handle, toff_t offset, int whence)
{
    auto* bytes = static_cast<EncodedBytes*>(handle);
    // Offsets arrive unsigned; a step back from the current position or the
    // end comes as its two's complement and wraps back into range here.
    std::uint64_t base = 0;
    if (whence == SEEK_CUR)
        base = bytes->position();
    else if (whence == SEEK_END)
        base = bytes->size();
    const std::uint64_t target = base + offset;
    bytes->seek(static_cast<std::size_t>(target));
    return target;
}

int closeTiffBytes(thandle_t)
{
    return 0;
}

toff_t tiffByteCount(thandle_t handle)
{
    return static_cast<EncodedBytes*>(handle)->size();
}

int mapTiffBytes(thandle_t, void**, toff_t*)
{
    return 0; // no mapping: libtiff falls back to reading
}

void unmapTiffBytes(thandle_t, void*, toff_t) { }

WriteResult encodeTiff(const QImage& image, EncodedBytes& out)
{
    // libtiff's horizontal predictor rewrites the rows it is given in place;
    // the non-const scanLine below detaches, so the caller's image is safe.
    QImage rgb = rgbRows(image);

    TiffErrors errors{};
    const TiffOptionsHandle options(TIFFOpenOptionsAlloc());
    if (!options)
        return failure(uiText(TextKey::TXT00879));
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), onTiffError, &errors);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), onTiffWarning, nullptr);

    const auto tiffFailure = [&errors] {
        return failure(errors.seen ? u"TIFF encoder: "_s + QString::fromLocal8Bit(errors.message)
                                   : u"TIFF encoder failed"_s);
    };

    TiffHandle tiff(TIFFClientOpenExt("image", "w", &out, readTiffBytes, writeTiffBytes, seekTiffBytes, closeTiffBytes,
                                      tiffByteCount, mapTiffBytes, unmapTiffBytes, options.get()));
    if (!tiff)
        return tiffFailure();

    const auto width = static_cast<std::uint32_t>(rgb.width());
    const auto height = static_cast<std::uint32_t>(rgb.height());
    // LZW with horizontal differencing: lossless, read by every TIFF viewer,
    // and small for pages that are mostly flat colour.
    const bool tagged =
        TIFFSetField(tiff.get(), TIFFTAG_IMAGEWIDTH, width) && TIFFSetField(tiff.get(), TIFFTAG_IMAGELENGTH, height)
        && TIFFSetField(tiff.get(), TIFFTAG_BITSPERSAMPLE, 8) && TIFFSetField(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, 3)
        && TIFFSetField(tiff.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB)
        && TIFFSetField(tiff.get(), TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG)
        && TIFFSetField(tiff.get(), TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT)
        && TIFFSetField(tiff.get(), TIFFTAG_COMPRESSION, COMPRESSION_LZW)
        && TIFFSetField(tiff.get(), TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL)
        && TIFFSetField(tiff.get(), TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff.get(), 0))
        && TIFFSetField(tiff.get(), TIFFTAG_XRESOLUTION, static_cast<double>(kPixelsPerInch))
        && TIFFSetField(tiff.get(), TIFFTAG_YRESOLUTION, static_cast<double>(kPixelsPerInch))
        && TIFFSetField(tiff.get(), TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    if (!tagged)
        return tiffFailure();
    for (std::uint32_t y = 0; y < height; ++y) {
        if (TIFFWriteScanline(tiff.get(), rgb.scanLine(static_cast<int>(y)), y, 0) < 0)
            return tiffFailure();
    }
    // TIFFClose cannot report anything, so the directory is written here.
    if (!TIFFFlush(tiff.get()))
        return tiffFailure();
    tiff.reset();
    if (out.failed())
        return failure(uiText(TextKey::TXT00879));
    return success();
}

WriteResult encode(const QImage& image, ImageFormat format, EncodedBytes& out)
{
    switch (format) {
    case ImageFormat::Jpeg:
        return encodeJpeg(image, out);
    case ImageFormat::Gif:
        return encodeGif(image, out);
    case ImageFormat::Png:
        return encodePng(image, out);
    case ImageFormat::Bmp:
        return encodeBmp(image, out);
    case ImageFormat::Tiff:
        return encodeTiff(image, out);
    }
    return failure(uiText(TextKey::TXT00880));
}

// Squared distance in RGB space; the first entry wins a tie, so a colour
// repeated later in the palette is never used.
std::uint8_t nearestPaletteIndex(const std::vector<QRgb>& palette, QRgb colour)
{
    int bestIndex = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int j = 0; j < static_cast<int>(palette.size()); ++j) {
        const QRgb entry = palette[static_cast<std::size_t>(j)];
        const int red = qRed(entry) - qRed(colour);
        const int green = qGreen(entry) - qGreen(colour);
        const int blue = qBlue(entry) - qBlue(colour);
        const int distance = red * red + green * green + blue * blue;
        if (distance < bestDistance) {
            bestDistance = distance;
            bestIndex = j;
        }
    }
    return static_cast<std::uint8_t>(bestIndex);
}

} // namespace

std::optional<ImageFormat> imageFormatForExtension(const QString& lowerCaseExtension)
{
    if (lowerCaseExtension == u"jpg")
        return ImageFormat::Jpeg;
    if (lowerCaseExtension == u"gif")
        return ImageFormat::Gif;
    if (lowerCaseExtension == u"png")
        return ImageFormat::Png;
    if (lowerCaseExtension == u"bmp")
        return ImageFormat::Bmp;
    if (lowerCaseExtension == u"tif")
        return ImageFormat::Tiff;
    return std::nullopt;
}

namespace {

// Encodes first, so that a failed encoding never touches the file; `write`
// then puts the bytes in place.
template <typename Write> WriteResult encodeAndWrite(const QImage& image, ImageFormat format, Write write)
{
    if (image.isNull())
        return failure(uiText(TextKey::TXT00881));
    EncodedBytes bytes;
    const WriteResult encoded = encode(image, format, bytes);
    if (!encoded)
        return encoded;
    return write(bytes.view());
}

} // namespace

WriteResult writeImageFile(const QImage& image, const QString& path, ImageFormat format)
{
    return encodeAndWrite(image, format, [&path](QByteArrayView bytes) { return writeFileAtomically(path, bytes); });
}

WriteResult writeNewImageFile(const QImage& image, const QString& path, ImageFormat format)
{
    return encodeAndWrite(image, format, [&path](QByteArrayView bytes) { return writeNewFile(path, bytes); });
}

WriteResult encodeEmbeddedPng(const QImage& image, QByteArray& bytes)
{
    bytes.clear();
    if (image.isNull())
        return failure(uiText(TextKey::TXT00881));
    EncodedBytes encoded;
    const WriteResult result = encodePng(image, encoded, true);
    if (result)
        bytes = encoded.view().toByteArray();
    return result;
}

PaletteImage reduceTo256Colours(const QImage& image)
{
    PaletteImage result;
    result.width = image.width();
    result.height = image.height();
    result.palette.assign(kPaletteSize, qRgb(0, 0, 0));
    const qsizetype count = static_cast<qsizetype>(result.width) * result.height;
    if (count == 0)
        return result;

    const QImage source = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);

    // Every pixel as 0x00RRGGBB plus one extra black value, sorted.
    std::vector<std::int32_t> values;
    values.reserve(static_cast<std::size_t>(count) + 1);
    values.push_back(0);
    for (int y = 0; y < result.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < result.width; ++x)
            values.push_back(static_cast<std::int32_t>(line[x] & 0x00FFFFFFu));
    }
    std::sort(values.begin(), values.end());

    // Sample at even intervals; landing on the colour just taken skips its
    // whole run and spreads the remaining entries over what is left. When
    // fewer values than entries remain the interval becomes zero and the
    // palette repeats its last colour. The index never leaves 0..count.
    qsizetype step = count / kPaletteSize;
    qsizetype i = 0;
    std::int32_t last = values[0] - 1;
    for (int j = 0; j < kPaletteSize; ++j) {
        if (values[static_cast<std::size_t>(i)] != last) {
            last = values[static_cast<std::size_t>(i)];
            i += step;
        } else {
            while (values[static_cast<std::size_t>(i)] == last && i < count)
                ++i;
            step = (count - i) / (kPaletteSize - j);
            i = i + step - 1;
            last = values[static_cast<std::size_t>(i)];
        }
        result.palette[static_cast<std::size_t>(j)] = qRgb((last >> 16) & 0xFF, (last >> 8) & 0xFF, last & 0xFF);
    }

    // Page images hold few distinct colours in long runs, so each colour is
    // looked up once.
    std::unordered_map<QRgb, std::uint8_t> nearest;
    result.indexes.resize(static_cast<std::size_t>(count));
    std::size_t next = 0;
    for (int y = 0; y < result.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < result.width; ++x) {
            const QRgb colour = line[x] | 0xFF000000u;
            auto found = nearest.find(colour);
            if (found == nearest.end())
                found = nearest.emplace(colour, nearestPaletteIndex(result.palette, colour)).first;
            result.indexes[next++] = found->second;
        }
    }
    return result;
}

} // namespace ponderix
