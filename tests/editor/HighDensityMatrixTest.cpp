// The matrix on a high-density screen. Run by the ctest entries
// tests_editor_2x and tests_editor_1_25x, which start the program with
// QT_SCALE_FACTOR=2 and 1.25; at 1x these tests skip themselves.
#include "base/BuiltInImages.h"
#include "editor/ImageButton.h"
#include "editor/ScaledPicture.h"
#include "tests/editor/MatrixFixture.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

constexpr QRgb kGreenDisc = qRgb(0x2F, 0xB3, 0x5A); // the add icon's disc
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kValueBox = qRgb(80, 80, 80);

class HighDensityMatrix : public MatrixFixture {
protected:
    void SetUp() override
    {
        if (qApp->devicePixelRatio() == 1.0)
            GTEST_SKIP() << "needs a high-density screen (QT_SCALE_FACTOR=2)";
        m_ratio = qApp->devicePixelRatio();
    }

    // What the screen shows of `widget`, in its own pixels.
    QImage shot(QWidget* widget)
    {
        const QPixmap grabbed = widget->grab();
        EXPECT_EQ(grabbed.devicePixelRatio(), m_ratio);
        // For a look at what a dense screen shows: PONDERIX_SHOTS names a folder.
        const QString folder = qEnvironmentVariable("PONDERIX_SHOTS");
        if (!folder.isEmpty()) {
            const QString name = QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
            grabbed.save(QDir(folder).filePath(name + u'-' + QString::number(m_ratio) + u".png"_s));
        }
        return grabbed.toImage().convertToFormat(QImage::Format_RGB32);
    }

    QSize onScreen(QSize logical) const
    {
        return {qRound(logical.width() * m_ratio), qRound(logical.height() * m_ratio)};
    }

    qreal m_ratio = 1.0;
};

QImage premultiplied(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// How many pixels of an even column differ from their right neighbour: none
// in a 1x picture doubled pixel by pixel.
int halfBlockSteps(const QImage& image)
{
    int steps = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x + 1 < image.width(); x += 2)
            steps += image.pixel(x, y) != image.pixel(x + 1, y) ? 1 : 0;
    return steps;
}

bool is2x()
{
    return qApp->devicePixelRatio() == 2.0;
}

} // namespace

TEST_F(HighDensityMatrix, ButtonPicturesHaveTheScreensPixels)
{
    start();
    load(matrixProject(2, 2));
    auto* add = qobject_cast<ImageButton*>(view().addOptionButton());
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->size(), QSize(24, 24));
    EXPECT_EQ(add->pixmap().size(), onScreen({24, 24}));
    EXPECT_EQ(add->pixmap().devicePixelRatio(), m_ratio);
    EXPECT_EQ(premultiplied(add->pixmap().toImage()),
              premultiplied(BuiltInImages::draw(BuiltInImages::Picture::Add, m_ratio)));
    const QImage button = shot(add);
    ASSERT_EQ(button.size(), onScreen({24, 24}));
    if (is2x()) {
        // The plus's horizontal bar covers rows 11 and 12 of the 24-pixel
        // icon, so rows 22 to 25 here; above it, the green disc. One pixel
        // from disc to bar: the icon's own edge, not a 1x edge smoothed over
        // two pixels.
        for (const int x : {14, 18, 30}) {
            EXPECT_EQ(button.pixel(x, 21), kGreenDisc) << x;
            EXPECT_EQ(button.pixel(x, 22), kWhite) << x;
            EXPECT_EQ(button.pixel(x, 25), kWhite) << x;
            EXPECT_EQ(button.pixel(x, 26), kGreenDisc) << x;
        }
        // ... and not 1x pixels doubled either: the round rim has pixels of
        // its own, where a blown-up icon would be blocks of two by two.
        EXPECT_GT(halfBlockSteps(button), 20);
    }

    // The cells' buttons too: the arrows, delete and comment buttons.
    CriterionCell* criterion = view().criterionCell(0);
    ASSERT_NE(criterion, nullptr);
    const auto* up = criterion->moveUpButton();
    EXPECT_EQ(up->pixmap().size(), onScreen({12, 12}));
    EXPECT_EQ(criterion->deleteButton()->pixmap().size(), onScreen({24, 24}));
    EXPECT_EQ(rating(0, 0).commentButton()->pixmap().size(), onScreen({24, 24}));
    EXPECT_EQ(premultiplied(rating(0, 0).commentButton()->pixmap().toImage()),
              premultiplied(BuiltInImages::draw(BuiltInImages::Picture::CommentPresent, m_ratio)));
}

TEST_F(HighDensityMatrix, RatingCellsDrawTheirOwnPartsAtTheScreensRatio)
{
    start();
    load(matrixProject(2, 2)); // rating B:2 has the value 3, its box at (37, 33)
    RatingCell& cell = rating(1, 1);
    const QImage picture = shot(&cell);
    ASSERT_EQ(picture.size(), onScreen(cell.size()));
    if (!is2x())
        return;
    // Screen pixels of a point in the cell's client area, inside the border.
    const auto at = [&](int x, int y) { return picture.pixel(2 * (1 + x), 2 * (1 + y)); };
    const auto atDevice = [&](int x, int y) { return picture.pixel(x, y); };

    // The value box, 15 x 14 at (37, 33): 30 x 28 screen pixels with a
    // one-pixel step at each edge.
    EXPECT_EQ(atDevice(76, 68), kValueBox);
    EXPECT_NE(atDevice(75, 68), kValueBox);
    EXPECT_EQ(atDevice(76 + 29, 68 + 27), kValueBox);
    EXPECT_NE(atDevice(76 + 30, 68 + 27), kValueBox);
    EXPECT_NE(atDevice(76 + 29, 68 + 28), kValueBox);

    // The scale, 120 x 20 at (4, 30): 240 columns with a colour each, worked
    // out from the gradient red (0) - orange FF8200 (1/4) - yellow (1/2) -
    // yellow-green 75E31C (3/4) - green 00CC33 (1) over 238 column steps.
    EXPECT_EQ(at(4, 30), qRgb(255, 0, 0));
    // Column 61: 61/238 = 0.2563, 2.5 % of the way from orange to yellow:
    // green channel 130 + 125 * 0.0252 = 133.2.
    EXPECT_EQ(atDevice(10 + 61, 62), qRgb(255, 133, 0));
    // Column 60 sits on the 1x scale's column 30 (0.2521 of the way): 130 + 125 * 0.0084 = 131.05.
    EXPECT_EQ(atDevice(10 + 60, 62), qRgb(255, 131, 0));
    // The last column and the last row are green, the row under them is not.
    EXPECT_EQ(atDevice(10 + 239, 62 + 39), qRgb(0, 0xCC, 0x33));
    EXPECT_NE(atDevice(10 + 239, 62 + 40), qRgb(0, 0xCC, 0x33));
    // The top edge: one step from the cell's window colour to the scale.
    EXPECT_NE(atDevice(10 + 100, 61), atDevice(10 + 100, 62));
    EXPECT_EQ(atDevice(10 + 100, 62), atDevice(10 + 100, 63));
}

TEST_F(HighDensityMatrix, WidthStripMarkHasTheScreensPixels)
{
    start(40);
    QWidget* strip = view().widthStrip();
    const QImage picture = shot(strip);
    ASSERT_EQ(picture.size(), onScreen({280, 3}));
    if (!is2x())
        return;
    const QRgb mark = qRgb(164, 164, 164);
    // The 3-pixel mark at 40: screen columns 80 to 85, rows 0 to 5.
    EXPECT_EQ(picture.pixel(80, 0), mark);
    EXPECT_EQ(picture.pixel(85, 5), mark);
    EXPECT_EQ(picture.pixel(79, 3), kWhite);
    EXPECT_EQ(picture.pixel(86, 3), kWhite);
}

TEST_F(HighDensityMatrix, PictureViewShowsThePictureAtTheScreensRatio)
{
    QWidget window;
    window.resize(100, 100);
    window.setAutoFillBackground(true);
    window.setPalette(QPalette(Qt::white));
    auto* logo = new PictureView(&window, BuiltInImages::Picture::Logo);
    logo->setGeometry(10, 10, 64, 64);
    EXPECT_EQ(logo->sizeHint(), QSize(64, 64));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(logo->pixmap().size(), onScreen({64, 64}));
    const QImage picture =
        shot(&window).copy(QRect(QPoint(qRound(10 * m_ratio), qRound(10 * m_ratio)), onScreen({64, 64})));
    // The logo over white, exactly as drawn for this ratio, pixel for pixel.
    QImage drawn = BuiltInImages::draw(BuiltInImages::Picture::Logo, m_ratio);
    drawn.setDevicePixelRatio(1.0);
    QImage expected(drawn.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        painter.drawImage(QPoint(0, 0), drawn);
    }
    if (is2x())
        EXPECT_EQ(picture, expected);
    else // a fractional ratio places the logo between screen pixels
        EXPECT_EQ(picture.size(), expected.size());
}
