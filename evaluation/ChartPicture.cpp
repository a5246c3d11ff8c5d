#include "evaluation/ChartPicture.h"

#include "evaluation/ChartLibrary.h"
#include "evaluation/PageStyle.h"

#include <QFile>

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace ponderix {

namespace {

// Far above any chart the pages ask for, far below what would exhaust memory.
constexpr png_uint_32 kLargestSide = 10000;
constexpr std::uint64_t kLargestPixelCount = 16'000'000;

void failWithLongJump(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) { }

// Trivially destructible on purpose: the functions that libpng may leave by
// longjmp hold only this and plain values.
struct PngReading {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
};

bool readHeader(PngReading& reading, std::FILE* file)
{
    if (setjmp(png_jmpbuf(reading.png)))
        return false;
    png_init_io(reading.png, file);
    png_set_user_limits(reading.png, kLargestSide, kLargestSide);
    png_read_info(reading.png, reading.info);
    reading.width = png_get_image_width(reading.png, reading.info);
    reading.height = png_get_image_height(reading.png, reading.info);
    const png_byte colourType = png_get_color_type(reading.png, reading.info);
    // Whatever the file holds, the rows arrive as B, G, R, 0xFF: the memory
    // layout of an RGB32 picture.
    png_set_expand(reading.png);
    png_set_strip_16(reading.png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(reading.png);
    if (colourType & PNG_COLOR_MASK_ALPHA)
        png_set_strip_alpha(reading.png);
    png_set_bgr(reading.png);
    png_set_filler(reading.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(reading.png);
    png_read_update_info(reading.png, reading.info);
    return png_get_rowbytes(reading.png, reading.info) == static_cast<png_size_t>(reading.width) * 4;
}

bool readRows(PngReading& reading, png_bytep* rows)
{
    if (setjmp(png_jmpbuf(reading.png)))
        return false;
    png_read_image(reading.png, rows);
    png_read_end(reading.png, nullptr);
    return true;
}

class ReadingGuard final {
public:
    explicit ReadingGuard(PngReading& reading) : m_reading(reading) { }
    ~ReadingGuard() { png_destroy_read_struct(&m_reading.png, m_reading.info ? &m_reading.info : nullptr, nullptr); }
    ReadingGuard(const ReadingGuard&) = delete;
    ReadingGuard& operator=(const ReadingGuard&) = delete;

private:
    PngReading& m_reading;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

QImage readChartPicture(const QString& path)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!file)
        return {};
    PngReading reading;
    reading.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failWithLongJump, ignoreWarning);
    if (!reading.png)
        return {};
    const ReadingGuard guard(reading);
    reading.info = png_create_info_struct(reading.png);
    if (!reading.info || !readHeader(reading, file.get()))
        return {};
    if (static_cast<std::uint64_t>(reading.width) * reading.height > kLargestPixelCount)
        return {};
    QImage picture(static_cast<int>(reading.width), static_cast<int>(reading.height), QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    std::vector<png_bytep> rows(reading.height);
    for (png_uint_32 y = 0; y < reading.height; ++y)
        rows[y] = picture.scanLine(static_cast<int>(y));
    if (!readRows(reading, rows.data()))
        return {};
    return picture;
}

void noteChartTexts(const ChartEntryPoints& rmc, int id, QPoint origin)
{
    PageTextRecorder* recorder = PageTextRecorder::current();
    if (!recorder)
        return;
    QByteArray list(rmc.getTexts(id, nullptr, 0) + 1, '\0');
    if (list.size() <= 1)
        return;
    rmc.getTexts(id, list.data(), static_cast<int>(list.size()));
    list.chop(1);
    for (const QByteArray& line : list.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 8)
            continue;
        const QRect place(fields[0].toInt() + origin.x(), fields[1].toInt() + origin.y(), fields[2].toInt(),
                          fields[3].toInt());
        // Written at less than five sixths of its size, a caption no longer
        // reads as one of its row: it did not fit either.
        const bool shrunk = fields[4].toInt() * 6 < fields[5].toInt() * 5;
        recorder->note({QString::fromUtf8(fields[7]), place, shrunk || fields[6] == "1"});
    }
}

QImage drawChartPicture(const ChartEntryPoints& rmc, int id, QSize size, qreal scale, const QString& path,
                        QPoint origin)
{
    // 0 x 0 asks for the chart's own size.
    const QSize pixels = scale > 1.0 ? QSize(qRound(size.width() * scale), qRound(size.height() * scale)) : QSize(0, 0);
    const bool stale = !QFile::remove(path) && QFile::exists(path);
    const int drawn =
        stale ? RMC_ERROR_FILE
              : rmc.draw2File(id, QFile::encodeName(path).constData(), pixels.width(), pixels.height(), 100);
    if (drawn == 0)
        noteChartTexts(rmc, id, origin);
    rmc.deleteChart(id);
    if (drawn != 0)
        return {};
    QImage picture = readChartPicture(path);
    if (!picture.isNull() && !pixels.isEmpty())
        picture.setDevicePixelRatio(static_cast<qreal>(picture.width()) / size.width());
    return picture;
}

} // namespace ponderix
