// The result windows on a 2x screen. Run by the ctest entry
// tests_windows_2x, which starts the program with QT_SCALE_FACTOR=2; at any
// other ratio these tests skip themselves.
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
        if (qApp->devicePixelRatio() != 2.0)
            GTEST_SKIP() << "needs a 2x screen (QT_SCALE_FACTOR=2)";
        WindowFixture::SetUp();
    }
};

} // namespace

TEST_F(HighDensityWindow, ShowsEveryPageAtTheScreensRatioAndCopiesItAt1x)
{
    ChartWindow* window = openResultsWindow(context());
    EXPECT_EQ(window->devicePixelRatioF(), 2.0);
    EXPECT_EQ(window->shownScale(), 2.0);

    // The overview: twice the pixels on the same 700 x 530 label.
    const QPixmap overview = window->picture(0)->pixmap();
    EXPECT_EQ(overview.size(), QSize(1400, 1060));
    EXPECT_EQ(overview.devicePixelRatio(), 2.0);
    EXPECT_EQ(window->picture(0)->size(), QSize(700, 530));
    // ... the very page the builder draws at 2x.
    ComputeScores(m_project);
    EXPECT_EQ(overview.toImage().convertToFormat(QImage::Format_RGB32),
              buildOverviewPage(m_project, u"Cars"_s, nullptr, m_folders.temporary, 2.0));

    // Copy gives the 1x page.
    QTest::mouseClick(window->button(ChartWindow::Button::Copy), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(700, 530));
    EXPECT_EQ(window->currentPage().size(), QSize(700, 530));

    // A detail tab the same way.
    QTabBar* bar = window->selector()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
    EXPECT_EQ(window->picture(2)->pixmap().size(), QSize(1400, 2 * detailPageHeight(3)));
    EXPECT_EQ(window->picture(2)->pixmap().devicePixelRatio(), 2.0);
    EXPECT_EQ(window->picture(2)->size(), QSize(700, detailPageHeight(3)));
    EXPECT_EQ(window->currentPage().size(), QSize(700, detailPageHeight(3)));
    window->close();

    ChartWindow* profile = openProfileWindow(context());
    EXPECT_EQ(profile->picture(0)->pixmap().size(), QSize(1400, 1060));
    EXPECT_EQ(profile->picture(0)->size(), QSize(700, 530));
    EXPECT_EQ(profile->currentPage().size(), QSize(700, 530));
    profile->close();
}
