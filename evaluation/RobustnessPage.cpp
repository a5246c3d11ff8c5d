// The robustness page: how solid the best choice is, in words, as a grid of
// the best option for every importance of every criterion, as bars of the
// chance of being best, and as what each other option would need.

#include "base/Fonts.h"
#include "base/Language.h"
#include "base/TextTable.h"
#include "evaluation/PageStyle.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Robustness.h"
#include "evaluation/RobustnessTexts.h"
#include "evaluation/Scoring.h"
#include "project/OptionLetter.h"
#include "project/Project.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

constexpr int kShortestPage = 530;
constexpr int kRightMargin = 15;
// The labels here are longer than on the other pages, so the values start
// further right.
constexpr int kRobustnessValueX = 135;
constexpr int kTextWidth = kPageWidth - kRobustnessValueX - kRightMargin;
constexpr int kRowPitch = 20;
// The findings take at least the rows down to the closest change and one
// change below it.
constexpr int kFindingsBottom = kRow1Y + 6 * kRowPitch;
// Each challenger's changes are listed up to this count, the closest changes
// up to as many as the analysis keeps.
constexpr int kMostChallengerChanges = 3;
constexpr int kSectionGap = 16;
constexpr int kHeadingHeight = 22;

// The what-if grid: one row per criterion, one column per importance.
constexpr int kGridNameWidth = 330;
constexpr int kGridCellX0 = 370;
constexpr int kGridCellPitch = 64;
constexpr int kGridCellWidth = 60;
constexpr int kGridCellHeight = 16;
constexpr int kGridRowPitch = 20;
constexpr int kGridColumnCaptionHeight = 16;
constexpr int kGridCaptionRight = kGridCellX0 - 8; // "Importance", right-aligned before the columns
constexpr int kFrameWidth = 2;
// Beyond this many criteria the page shows the most sensitive ones.
constexpr int kMostGridRows = 30;
const QColor kNoOptionColour(0xE0, 0xE0, 0xE0);

// The chance bars: one row per option, 100 % as wide as the bar area.
constexpr int kBarLetterX = 15;
constexpr int kBarNameX = 35;
constexpr int kBarNameWidth = 180;
constexpr int kBarX = 230;
constexpr int kBarFullWidth = 380;
constexpr int kBarHeight = 12;
constexpr int kBarRowPitch = 18;
constexpr int kBarTextGap = 6;
const QColor kBarTrackColour(0xF0, 0xF0, 0xF0);

// In the sentences a name takes at most the width the bars give it, so that
// the page grows with its findings and not with the length of the names.
constexpr int kSentenceNameWidth = kBarNameWidth;

// Challengers: a line naming the option and the steps, then its changes.
constexpr int kChallengerPitch = 20;
constexpr int kChangeLinePitch = 14;
constexpr int kSwatchSize = 10;
constexpr int kSwatchTop = 3;
constexpr int kChallengerTextX = kLabelX + kSwatchSize + 5;
constexpr int kChangeIndentX = kChallengerTextX;
constexpr int kMostListedOptions = kOptionLimit;

constexpr int kNoteHeight = 16;
constexpr int kBottomMargin = 15;

// Black letters where white would vanish into a light colour.
QColor letterColourOn(QRgb background)
{
    return qGray(background) > 150 ? QColor(Qt::black) : QColor(Qt::white);
}

// Where each part starts; the page is as tall as its parts.
struct Layout {
    std::vector<int> gridCriteria; // in the order shown
    int criteriaLeftOut = 0;
    int listedOptions = 0;
    int gridTop = 0;
    int chanceTop = 0;
    int challengersTop = 0;
    int height = 0;
};

// Text whose top-left corner stands at (x, y), wrapped to `width` and never
// cut, drawn when there is a painter and only measured without one.
// Returns how far the next line of the same kind stands below: `pitch` for
// a text of one line, and the height of each further line on top.
int put(QPainter* painter, int x, int y, int width, const QString& text, const QFont& font, const QColor& colour,
        int pitch)
{
    const int height =
        painter ? drawWrappedText(*painter, x, y, width, text, font, colour) : textHeight(text, font, width);
    return pitch + std::max(height - textHeight(u"X"_s, font, width), 0);
}

// The findings in rows of a label and a value, then the closest changes;
// returns where the next part may start.
int drawSummary(QPainter* painter, const Project& project, const Robustness& robustness)
{
    const QFont label = programFont(FontRole::PageLabel);
    const QFont value = programFont(FontRole::PageValue);
    // Without options there is nothing to judge: like the overview page,
    // the rows stay empty.
    int y = kRow1Y;
    for (const FindingRow& row : findingRows(project, robustness)) {
        const QColor colour = row.verdict ? kHeaderColour : QColor(Qt::black);
        if (painter)
            drawTextAt(*painter, kLabelX, y, row.label, label, colour);
        y += put(painter, kRobustnessValueX, y, kTextWidth, row.value, value, colour, kRowPitch);
    }
    if (robustness.closest) {
        for (const QString& line : listedChanges(project, *robustness.closest))
            y += put(painter, kRobustnessValueX, y, kTextWidth, line, value, Qt::black, kRowPitch);
    }
    return std::max(y, kFindingsBottom);
}

// What each other option needs, from `top`; returns the bottom.
int drawChallengers(QPainter* painter, const Project& project, const Robustness& robustness, int top)
{
    const QFont label = programFont(FontRole::PageLabel);
    const QFont value = programFont(FontRole::PageValue);
    const QFont small = programFont(FontRole::PageScale);
    if (painter)
        drawTextAt(*painter, kLabelX, top, uiText(TextKey::TXT00427), label, kHeaderColour);
    int y = top + kHeadingHeight;
    if (robustness.challengers.empty()) {
        if (painter)
            drawTextAt(*painter, kLabelX, y, uiText(TextKey::TXT00432), value, Qt::black);
        return y + kChallengerPitch;
    }
    const int listed = std::min(static_cast<int>(robustness.challengers.size()), kMostListedOptions);
    for (int at = 0; at < listed; ++at) {
        const Challenger& challenger = robustness.challengers[static_cast<std::size_t>(at)];
        // The option's colour as a swatch: light colours would not read as text.
        if (painter) {
            painter->fillRect(QRect(kLabelX, y + kSwatchTop, kSwatchSize, kSwatchSize),
                              QColor::fromRgb(optionColour(challenger.option)));
        }
        y += put(painter, kChallengerTextX, y, kPageWidth - kChallengerTextX - kRightMargin,
                 challengerText(project, challenger), value, Qt::black, kChallengerPitch);
        if (!challenger.lift)
            continue;
        for (const QString& line : listedChanges(project, *challenger.lift, kMostChallengerChanges)) {
            y += put(painter, kChangeIndentX, y - 2, kPageWidth - kChangeIndentX - kRightMargin, line, small, Qt::black,
                     kChangeLinePitch);
        }
    }
    const int leftOut = static_cast<int>(robustness.challengers.size()) - listed;
    if (leftOut > 0) {
        if (painter) {
            drawTextAt(*painter, kLabelX, y, countText(leftOut, TextKey::TXT01056, TextKey::TXT01057), small,
                       Qt::black);
        }
        y += kNoteHeight;
    }
    return y;
}

Layout layoutOf(const Project& project, const Robustness& robustness)
{
    Layout layout;
    const int criteria = static_cast<int>(robustness.importance.size());
    if (criteria <= kMostGridRows) {
        for (int criterion = 0; criterion < criteria; ++criterion)
            layout.gridCriteria.push_back(criterion);
    } else {
        layout.gridCriteria = criteriaBySensitivity(robustness);
        layout.gridCriteria.resize(kMostGridRows);
        layout.criteriaLeftOut = criteria - kMostGridRows;
    }
    layout.listedOptions = std::min(static_cast<int>(robustness.scores.size()), kMostListedOptions);

    int y = drawSummary(nullptr, project, robustness) + kSectionGap;
    layout.gridTop = y;
    y += kHeadingHeight + kGridColumnCaptionHeight + kGridRowPitch * static_cast<int>(layout.gridCriteria.size());
    if (layout.criteriaLeftOut > 0)
        y += kNoteHeight;
    y += kSectionGap;
    layout.chanceTop = y;
    y += kHeadingHeight + kBarRowPitch * std::max(layout.listedOptions, 1);
    if (static_cast<int>(robustness.scores.size()) > layout.listedOptions)
        y += kNoteHeight;
    y += kSectionGap;
    layout.challengersTop = y;
    y = drawChallengers(nullptr, project, robustness, layout.challengersTop);
    layout.height = std::max(y + kBottomMargin, kShortestPage);
    return layout;
}

void drawCell(QPainter& painter, QRect cell, const std::vector<int>& best)
{
    if (best.empty()) {
        painter.fillRect(cell, kNoOptionColour);
        return;
    }
    // Tied options share the cell in stripes, in list order.
    const int count = static_cast<int>(best.size());
    QString letters;
    for (int i = 0; i < count; ++i) {
        const int left = cell.left() + cell.width() * i / count;
        const int right = cell.left() + cell.width() * (i + 1) / count;
        // With more options than pixels most stripes have no width.
        if (right > left) {
            painter.fillRect(QRect(left, cell.top(), right - left, cell.height()),
                             QColor::fromRgb(optionColour(best[static_cast<std::size_t>(i)])));
        }
        // Every character is at least a pixel wide: letters past the cell's
        // width in characters are elided anyway, so they are not laid out.
        if (letters.size() <= cell.width())
            letters += (i == 0 ? QString() : u","_s) + optionLetter(best[static_cast<std::size_t>(i)]);
    }
    const QFont font = programFont(FontRole::PageScaleBold);
    painter.setFont(font);
    painter.setPen(letterColourOn(optionColour(best.front())));
    painter.drawText(cell, Qt::AlignCenter, QFontMetrics(font).elidedText(letters, Qt::ElideRight, cell.width()));
}

void drawFrame(QPainter& painter, QRect cell)
{
    const QRect outer = cell.adjusted(-kFrameWidth, -kFrameWidth, kFrameWidth, kFrameWidth);
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), kFrameWidth), Qt::black);
    painter.fillRect(QRect(outer.left(), outer.bottom() - kFrameWidth + 1, outer.width(), kFrameWidth), Qt::black);
    painter.fillRect(QRect(outer.left(), outer.top(), kFrameWidth, outer.height()), Qt::black);
    painter.fillRect(QRect(outer.right() - kFrameWidth + 1, outer.top(), kFrameWidth, outer.height()), Qt::black);
}

void drawGrid(QPainter& painter, const Project& project, const Robustness& robustness, const Layout& layout)
{
    const QFont label = programFont(FontRole::PageLabel);
    const QFont small = programFont(FontRole::PageScale);
    const QFont smallBold = programFont(FontRole::PageScaleBold);
    drawTextAt(painter, kLabelX, layout.gridTop, uiText(TextKey::TXT00422), label, kHeaderColour);
    int y = layout.gridTop + kHeadingHeight;
    drawTextAt(painter, kLabelX, y, uiText(TextKey::TXT00201), smallBold, Qt::black);
    drawTextInBox(painter, QRect(kLabelX, y, kGridCaptionRight - kLabelX, kGridColumnCaptionHeight),
                  Qt::AlignRight | Qt::AlignTop, uiText(TextKey::TXT00262), smallBold, Qt::black);
    for (int importance = kImportanceMin; importance <= kImportanceMax; ++importance) {
        const QRect caption(kGridCellX0 + (importance - kImportanceMin) * kGridCellPitch, y, kGridCellWidth,
                            kGridColumnCaptionHeight);
        painter.drawText(caption, Qt::AlignHCenter | Qt::AlignTop, QString::number(importance));
    }
    y += kGridColumnCaptionHeight;
    for (int criterion : layout.gridCriteria) {
        const ImportanceWhatIf& whatIf = robustness.importance[static_cast<std::size_t>(criterion)];
        const QString name = QString::number(criterion + 1) + u": "_s
                             + project.criteria()[static_cast<std::size_t>(criterion)].Name.trimmed();
        drawTextAt(painter, kLabelX, y + 1, elided(name, small, kGridNameWidth), small, Qt::black);
        for (int importance = kImportanceMin; importance <= kImportanceMax; ++importance) {
            const QRect cell(kGridCellX0 + (importance - kImportanceMin) * kGridCellPitch, y, kGridCellWidth,
                             kGridCellHeight);
            drawCell(painter, cell, whatIf.best[static_cast<std::size_t>(importance - kImportanceMin)]);
            if (importance == whatIf.current)
                drawFrame(painter, cell);
        }
        y += kGridRowPitch;
    }
    if (layout.criteriaLeftOut > 0) {
        drawTextAt(painter, kLabelX, y,
                   countText(layout.criteriaLeftOut, TextKey::TXT01058, TextKey::TXT00423) + punctuation(u';') + u" "_s
                       + uiText(TextKey::TXT00424),
                   small, Qt::black);
    }
}

void drawChances(QPainter& painter, const Project& project, const Robustness& robustness, const Layout& layout)
{
    const QFont label = programFont(FontRole::PageLabel);
    const QFont small = programFont(FontRole::PageScale);
    const QFont smallBold = programFont(FontRole::PageScaleBold);
    drawTextAt(painter, kLabelX, layout.chanceTop,
               uiText(TextKey::TXT00425) + u" ("_s + uiText(TextKey::TXT00426) + u" \u00B1"_s
                   + QString::number(robustness.spread) + u")"_s,
               label, kHeaderColour);
    int y = layout.chanceTop + kHeadingHeight;
    const QFontMetrics metrics(small);
    for (int option = 0; option < layout.listedOptions; ++option) {
        const QColor colour = QColor::fromRgb(optionColour(option));
        const double chance = robustness.chance[static_cast<std::size_t>(option)];
        drawTextAt(painter, kBarLetterX, y, optionLetter(option), smallBold, colour);
        drawTextAt(painter, kBarNameX, y,
                   elided(project.options()[static_cast<std::size_t>(option)].Name.trimmed(), small, kBarNameWidth),
                   small, Qt::black);
        painter.fillRect(QRect(kBarX, y, kBarFullWidth, kBarHeight), kBarTrackColour);
        const int length = static_cast<int>(chance * kBarFullWidth + 0.5);
        painter.fillRect(QRect(kBarX, y, length, kBarHeight), colour);
        drawTextAt(painter, kBarX + kBarFullWidth + kBarTextGap, y, percentText(chance * 100.0, 1, false), small,
                   Qt::black);
        y += kBarRowPitch;
    }
    const int leftOut = static_cast<int>(robustness.scores.size()) - layout.listedOptions;
    if (leftOut > 0) {
        drawTextAt(painter, kLabelX, y, countText(leftOut, TextKey::TXT01056, TextKey::TXT01057), small, Qt::black);
    }
}

// The page's sentences name options and criteria again and again: each name
// wrapped whole would take dozens of lines each time, so the sentences are
// made from the names cut to one short line.
Project withSentenceNames(Project project)
{
    const QFont font = programFont(FontRole::PageValue);
    const auto cut = [&](const QString& name) {
        // Hardly any character is narrower than a pixel: the first width's
        // worth of them is all the box can show, and only they are laid out
        // (a name of just that many is wider than the box either way).
        return elided(name.size() > kSentenceNameWidth ? name.left(kSentenceNameWidth) + u"\u2026"_s : name, font,
                      kSentenceNameWidth);
    };
    for (const Option& option : project.options())
        project.setOptionName(option.Index, cut(option.Name));
    for (const Criterion& criterion : project.criteria())
        project.setCriterionName(criterion.Index, cut(criterion.Name));
    return project;
}

} // namespace

int robustnessPageHeight(const Project& project, const Robustness& robustness)
{
    return layoutOf(withSentenceNames(project), robustness).height;
}

QImage buildRobustnessPage(const Project& project, const Robustness& robustness, const QString& banner, qreal scale)
{
    return pagePicture(robustnessPageHeight(project, robustness), scale,
                       [&](QPainter& painter) { paintRobustnessPage(painter, project, robustness, banner); });
}

void paintRobustnessPage(QPainter& painter, const Project& project, const Robustness& robustness, const QString& banner)
{
    // The grid and the bars cut the names to their own boxes.
    const Project named = withSentenceNames(project);
    const Layout layout = layoutOf(named, robustness);
    drawTitleBar(painter, uiText(TextKey::TXT00400), banner);
    drawSummary(&painter, named, robustness);
    drawGrid(painter, project, robustness, layout);
    drawChances(painter, project, robustness, layout);
    drawChallengers(&painter, named, robustness, layout.challengersTop);
}

} // namespace ponderix
