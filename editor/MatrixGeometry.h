#pragma once

#include <QColor>
#include <QRect>

// Every position, size and colour of the matrix view in one place, so that the
// code can be held against the picture of the view. `A` is CriteriaAddWidth,
// the extra width of the criterion column; W and H are the client size.
namespace ponderix::matrix {

// Cells are placed by index on a fixed pitch, with a margin before the first.
inline constexpr int kColumnPitch = 140;
inline constexpr int kRowPitch = 110;
inline constexpr int kAreaMargin = 10;

// Containers with a thin sunken border place their children inside the
// border, the way a window's client area excludes its edge.
inline constexpr int kBorder = 1;

inline constexpr QColor kTitleBlue{98, 116, 205};
inline constexpr QColor kTitleText{255, 255, 255};
inline constexpr QColor kRatingTitleGrey{106, 106, 106};
inline constexpr QColor kValueBoxText{255, 255, 255};
inline constexpr QColor kValueBoxBackground{80, 80, 80};
inline constexpr QColor kGridBackground{224, 224, 224};
inline constexpr QColor kStripBackground{255, 255, 255};
inline constexpr QColor kStripMark{164, 164, 164};
inline constexpr int kStripMarkSize = 3;
// The keyboard focus on a control the view draws itself: a ring this wide
// (at least two device pixels on any screen), in a blue dark enough to stand
// out by more than 3:1 from all it borders on: the window, the grey grid,
// the white strip and the blue titles.
inline constexpr QColor kFocusRing{0, 0, 64};
inline constexpr int kFocusRingWidth = 2;

// Fixed controls of the client area.
inline constexpr int kBannerTop = 75;
inline constexpr int kBannerHeight = 30;
inline constexpr int kHeadersTop = 115;
inline constexpr int kHeaderStripHeight = 100;
inline constexpr int kGridTop = 220;
inline constexpr int kAreaLeft = 5;
inline constexpr int kGridLeft = 160;      // + A
inline constexpr int kCornerWidth = 150;   // + A
inline constexpr int kAreaRightGap = 170;  // the header strip and the grid are W - A - this wide
inline constexpr int kAreaBottomGap = 270; // the criterion column and the grid are H - this high
inline constexpr int kStripLeft = 156;
inline constexpr int kStripFromBottom = 47;
inline constexpr QSize kStripSize{280, 3};
inline constexpr int kStatusFromBottom = 40;
inline constexpr int kStatusWidthLess = 15;
inline constexpr int kStatusHeight = 18;

inline QRect bannerRect(int W)
{
    return {0, kBannerTop, W, kBannerHeight};
}
inline QRect cornerPanelRect(int A)
{
    return {kAreaLeft, kHeadersTop, A + kCornerWidth, kHeaderStripHeight};
}
inline QRect optionStripRect(int A, int W)
{
    return {A + kGridLeft, kHeadersTop, W - A - kAreaRightGap, kHeaderStripHeight};
}
inline QRect criterionColumnRect(int A, int H)
{
    return {kAreaLeft, kGridTop, A + kCornerWidth, H - kAreaBottomGap};
}
inline QRect gridRect(int A, int W, int H)
{
    return {A + kGridLeft, kGridTop, W - A - kAreaRightGap, H - kAreaBottomGap};
}
inline QRect widthStripRect(int H)
{
    return {QPoint(kStripLeft, H - kStripFromBottom), kStripSize};
}
inline QRect statusRect(int W, int H)
{
    return {kAreaLeft, H - kStatusFromBottom, W - kStatusWidthLess, kStatusHeight};
}

// Inside the corner panel.
inline QRect optionsCaptionRect(int A)
{
    return {10, 10, A + 110, 24};
}
inline QRect addOptionRect(int A)
{
    return {A + 124, 10, 24, 24};
}
inline constexpr QRect kAddCriterionRect{10, 74, 24, 24};
inline QRect criteriaCaptionRect(int A)
{
    return {40, 75, A + 100, 24};
}

// Option header cell (in the option header strip) and its controls.
inline QRect optionCellRect(int index)
{
    return {kColumnPitch * index + kAreaMargin, 10, 130, 80};
}
inline constexpr QRect kMoveLeftRect{0, 0, 12, 12};
inline constexpr QRect kMoveRightRect{0, 12, 12, 12};
inline constexpr QRect kOptionTitleRect{12, 0, 93, 24};
inline constexpr QRect kOptionDeleteRect{105, 0, 24, 24};
inline constexpr QRect kOptionNameRect{4, 40, 120, 20};

// Criterion cell (in the criterion column) and its controls.
inline QRect criterionCellRect(int index, int A)
{
    return {10, kRowPitch * index + kAreaMargin, A + 130, 100};
}
inline constexpr QRect kMoveUpRect{0, 0, 12, 12};
inline constexpr QRect kMoveDownRect{0, 12, 12, 12};
inline QRect criterionTitleRect(int A)
{
    return {12, 0, A + 93, 24};
}
inline QRect criterionDeleteRect(int A)
{
    return {A + 105, 0, 24, 24};
}
inline QRect criterionNameRect(int A)
{
    return {4, 30, A + 120, 20};
}
inline QRect importanceRect(int A)
{
    return {4, 55, A + 120, 20};
}
inline QRect legendRect(int A)
{
    return {4, 78, A + 120, 15};
}

// Rating cell (in the grid) and its controls.
inline QRect ratingCellRect(int optionIndex, int criterionIndex)
{
    return {kColumnPitch * optionIndex + kAreaMargin, kRowPitch * criterionIndex + kAreaMargin, 130, 100};
}
inline constexpr QRect kRatingTitleRect{0, 0, 105, 24};
inline constexpr QRect kCommentButtonRect{105, 0, 24, 24};
inline constexpr QRect kScaleRect{4, 30, 120, 20};
inline constexpr QRect kValueSliderRect{4, 55, 120, 20};
inline constexpr QRect kScaleLabelRect{4, 78, 120, 15};
inline constexpr int kValueBoxTop = 33;
inline constexpr QSize kValueBoxSize{15, 14};
// The box sits over the slider's position on the scale.
inline QRect valueBoxRect(int value)
{
    return {QPoint(value * 10 + 7, kValueBoxTop), kValueBoxSize};
}

// Inner sizes of the scrolled areas.
inline int innerWidthFor(int columns)
{
    return columns * kColumnPitch + kAreaMargin;
}
inline int innerHeightFor(int rows)
{
    return rows * kRowPitch + kAreaMargin;
}

} // namespace ponderix::matrix
