#include "base/BuiltInImages.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

QString iconPath(int size)
{
    return QString::fromUtf8(PONDERIX_ICON_THEME) + u"/%1x%1/apps/ponderix.png"_s.arg(size);
}

struct Difference {
    double mean = 0;   // mean over pixels of the largest channel difference
    int farPixels = 0; // pixels where some channel differs by more than 32
};

Difference compare(const QImage& first, const QImage& second)
{
    const QImage a = first.convertToFormat(QImage::Format_ARGB32);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32);
    Difference difference;
    long total = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int largest = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            total += largest;
            if (largest > 32)
                ++difference.farPixels;
        }
    }
    difference.mean = static_cast<double>(total) / (a.width() * a.height());
    return difference;
}

} // namespace

// The installed icon is drawn separately from the logo in the main window;
// a change to one without the other shows up here. Only the anti-aliased
// rims of the rounded corners may differ.
TEST(ProgramIcon, MatchesTheLogoOfTheMainWindow)
{
    const QImage& logo = BuiltInImages::instance().logo;
    const QImage icon(iconPath(logo.width()));
    ASSERT_FALSE(icon.isNull()) << iconPath(logo.width()).toStdString();
    ASSERT_EQ(icon.size(), logo.size());
    const Difference difference = compare(icon, logo);
    EXPECT_LT(difference.mean, 1.0);
    EXPECT_LE(difference.farPixels, 16);
}

// Compared at the smaller of the two sizes, scaled down smoothly: scaling up
// would only compare blur. Coarse on purpose, since a drawing rendered small
// is sharper than one shrunk; the details are held by the test above.
TEST(ProgramIcon, EveryThemeSizeShowsTheSamePicture)
{
    const QImage& logo = BuiltInImages::instance().logo;
    for (int size : {48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage icon(iconPath(size));
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel());
        const QSize common = icon.size().boundedTo(logo.size());
        const auto scaled = [common](const QImage& image) {
            return image.scaled(common, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        };
        EXPECT_LT(compare(scaled(icon), scaled(logo)).mean, 8.0);
    }
}
