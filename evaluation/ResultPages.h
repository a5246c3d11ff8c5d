#pragma once

#include "base/AtomicFile.h"

#include <QImage>
#include <QRgb>
#include <QString>

#include <functional>

class QPainter;

namespace ponderix {

class ChartLibrary;
class Project;
struct Robustness;
struct TeamResult;

// The three page images of the result windows, 700 pixels wide. Each reads
// the scores stored by ComputeScores, which the caller runs first. `banner`
// is the project banner's text. Without a chart library (null) the overview
// and detail pages are drawn without their charts; the chart files go
// through `temporaryFolder`, which start-up made private to the user.
//
// `scale` is the device pixel ratio to draw for: the picture has `scale`
// times the pixels each way and carries that ratio, while everything on it
// stands where it stands at 1, so a 2x screen gets sharp text, lines and
// charts on the same layout. Sizes below are logical pixels.
//
// Each page can also be painted onto any painter by its paint...Page
// function, in the page's logical pixels: a printer's page scaled to the
// paper keeps its text and lines as outlines, and the pictures on it (charts,
// backgrounds) are drawn at pictureScale of the painter. The build...Page
// functions are pagePicture over these, save that the profile at 1x draws
// its rings with the program's own line.

// 700 x 530: the best options, the scale with the top score's marker and the
// bar chart of every option's score.
QImage buildOverviewPage(const Project& project, const QString& banner, const ChartLibrary* charts,
                         const QString& temporaryFolder, qreal scale = 1.0);

// One option's score and verdict with the scatter chart of its ratings by
// importance; needs the detail background written by writeDetailBackground.
QImage buildDetailPage(const Project& project, int optionIndex, const QString& banner, const ChartLibrary* charts,
                       const QString& temporaryFolder, qreal scale = 1.0);

// The radar chart comparing every option criterion by criterion; needs no
// chart library.
QImage buildProfilePage(const Project& project, const QString& banner, qreal scale = 1.0);

// How solid the best choice is, from analyseRobustness of the same project:
// the verdict and the closest change in words, the best option for every
// importance of every criterion, the chance of being best as bars and what
// each other option would need. It grows with the criteria and options;
// past 30 criteria it shows the most sensitive ones and says how many are
// left out.
QImage buildRobustnessPage(const Project& project, const Robustness& robustness, const QString& banner,
                           qreal scale = 1.0);

// The team's choice and agreement, every member's scores with their own best
// marked and the team row, the disagreements that matter and the chance bars,
// from analyseTeam; it grows with the members and disagreements.
QImage buildTeamPage(const TeamResult& team, const QString& banner, qreal scale = 1.0);

void paintOverviewPage(QPainter& painter, const Project& project, const QString& banner, const ChartLibrary* charts,
                       const QString& temporaryFolder);
void paintDetailPage(QPainter& painter, const Project& project, int optionIndex, const QString& banner,
                     const ChartLibrary* charts, const QString& temporaryFolder);
void paintProfilePage(QPainter& painter, const Project& project, const QString& banner);
void paintRobustnessPage(QPainter& painter, const Project& project, const Robustness& robustness,
                         const QString& banner);
void paintTeamPage(QPainter& painter, const TeamResult& team, const QString& banner);

// A white picture `height` logical pixels tall at `scale` with `paint` done
// on it; null when there is no memory for it.
QImage pagePicture(int height, qreal scale, const std::function<void(QPainter&)>& paint);

inline constexpr int kOverviewPageHeight = 530;
int detailPageHeight(int criterionCount);
int robustnessPageHeight(const Project& project, const Robustness& robustness);
int teamPageHeight(const TeamResult& team);
int profilePageHeight(int optionCount, int criterionCount);

// "TempDetailBG.bmp" in the temporary folder: the picture the detail chart
// is drawn on. Written once at start-up.
WriteResult writeDetailBackground(const QString& temporaryFolder);

// Colour of the option at `index` (opaque): ten colours, repeated.
QRgb optionColour(int index);

// The ratios a page is drawn for: a 1000-pixel page at 8 is 5600 x 8000
// pixels, already 180 MB. Other ratios are taken as the nearer of these two.
inline constexpr qreal kSmallestPageScale = 1.0;
inline constexpr qreal kLargestPageScale = 8.0;

// The profile's own anti-aliased line, in 16.16 fixed point, blending into
// the pixels already on `image` (RGB32). Points outside the image are skipped.
void drawAntiAliasedLine(QImage& image, int x1, int y1, int x2, int y2, QRgb colour);
void blendPixel(QImage& image, int x, int y, int red, int green, int blue, int coverage);

} // namespace ponderix
