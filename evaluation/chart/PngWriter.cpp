// The chart's PNG file, written with libpng straight from the picture's rows.

#include "evaluation/chart/ChartModel.h"

#include <QFile>

#include <png.h>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace rmchart {
namespace {

void failWithLongJump(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) { }

// Only trivially destructible locals live in this frame: libpng leaves it by
// longjmp when anything goes wrong.
bool writeRows(std::FILE* file, const QImage& image, int zlibLevel)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failWithLongJump, ignoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (zlibLevel >= 0)
        png_set_compression_level(png, zlibLevel);
    // A chart file is read back at once: at the fastest level the filters
    // would cost more time than they save bytes.
    if (zlibLevel >= 0 && zlibLevel <= 2)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    // The picture's rows are B, G, R, unused in memory.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < image.height(); ++y)
        png_write_row(png, image.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePng(const QImage& image, const QString& path, int zlibLevel)
{
    const QImage rows = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    if (rows.isNull())
        return false;
    const QByteArray name = QFile::encodeName(path);
    // A link at the name is never written through: the file may sit in a
    // folder someone else could once write into.
    const int descriptor = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return false;
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (!file) {
        ::close(descriptor);
        return false;
    }
    const bool written = writeRows(file, rows, zlibLevel);
    const bool closed = std::fclose(file) == 0;
    if (written && closed)
        return true;
    std::remove(name.constData());
    return false;
}

} // namespace rmchart
