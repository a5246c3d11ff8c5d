// The result windows on a high-density screen. Run by the ctest entries
// tests_windows_2x and tests_windows_1_5x, which start the program with
// QT_SCALE_FACTOR=2 and 1.5; at 1x these tests skip themselves.
#include "evaluation/ResultPages.h"
#include "evaluation/Scoring.h"
#include "tests/windows/WindowFixture.h"
#include "windows/ResultWindows.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class HighDensityWindow : public WindowFixture {
protected:
    void SetUp() override
    {
        if (qApp->devicePixelRatio() == 1.0)
            GTEST_SKIP() << "needs a high-density screen (QT_SCALE_FACTOR=2)";
        WindowFixture::SetUp();
    }

    // A page of `logical` pixels as the screen's pixels.
    static QSize onScreen(QSize logical)
    {
        const qreal ratio = qApp->devicePixelRatio();
        return {qRound(logical.width() * ratio), qRound(logical.height() * ratio)};
    }
};

} // namespace

TEST_F(HighDensityWindow, ShowsEveryPageAtTheScreensRatioAndCopiesItAt1x)
{
    ChartWindow* window = openResultsWindow(context());
    const qreal ratio = qApp->devicePixelRatio();
    EXPECT_EQ(window->devicePixelRatioF(), ratio);
    EXPECT_EQ(window->shownScale(), ratio);

    // The overview: the screen's pixels on the same 700 x 530 label.
    const QPixmap overview = window->picture(0)->pixmap();
    EXPECT_EQ(overview.size(), onScreen({700, 530}));
    EXPECT_EQ(overview.devicePixelRatio(), ratio);
    EXPECT_EQ(window->picture(0)->size(), QSize(700, 530));
    // ... the very page the builder draws at that ratio.
    ComputeScores(m_project);
    EXPECT_EQ(overview.toImage().convertToFormat(QImage::Format_RGB32),
              buildOverviewPage(m_project, u"Cars"_s, nullptr, m_folders.temporary, ratio));

    // Copy gives the 1x page.
    QTest::mouseClick(window->button(ChartWindow::Button::Copy), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(700, 530));
    EXPECT_EQ(window->currentPage().size(), QSize(700, 530));

    // A detail tab the same way.
    QTabBar* bar = window->selector()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
    EXPECT_EQ(window->picture(2)->pixmap().size(), onScreen({700, detailPageHeight(3)}));
    EXPECT_EQ(window->picture(2)->pixmap().devicePixelRatio(), ratio);
    EXPECT_EQ(window->picture(2)->size(), QSize(700, detailPageHeight(3)));
    EXPECT_EQ(window->currentPage().size(), QSize(700, detailPageHeight(3)));
    window->close();

    ChartWindow* profile = openProfileWindow(context());
    EXPECT_EQ(profile->picture(0)->pixmap().size(), onScreen({700, 530}));
    EXPECT_EQ(profile->picture(0)->size(), QSize(700, 530));
    EXPECT_EQ(profile->currentPage().size(), QSize(700, 530));
    profile->close();
}
