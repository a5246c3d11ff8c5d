// The team page: the team's choice and how many members share it, every
// member's score of every option with their own best marked and the team
// row under them, the disagreements that move a team score most, and the
// chance of being best when each rating comes from one member at random.

#include "base/Fonts.h"
#include "base/Language.h"
#include "base/TextTable.h"
#include "evaluation/PageStyle.h"
#include "evaluation/ResultPages.h"
#include "evaluation/RobustnessTexts.h"
#include "evaluation/Scoring.h"
#include "evaluation/Team.h"
#include "evaluation/TeamTexts.h"
#include "project/OptionLetter.h"

#include <QPainter>

#include <algorithm>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

constexpr int kShortestPage = 530;
constexpr int kRightMargin = 15;
constexpr int kTeamValueX = 135;
constexpr int kTextWidth = kPageWidth - kTeamValueX - kRightMargin;
constexpr int kSummaryTop = kRow1Y;
constexpr int kSummaryGap = 4;
constexpr int kSectionGap = 16;
constexpr int kHeadingHeight = 22;

// The score table: a name column, then one column per option, as wide as
// the options leave room for.
constexpr int kNameColumnWidth = 120;
constexpr int kTableX = kLabelX + kNameColumnWidth;
constexpr int kTableWidth = kPageWidth - kTableX - kRightMargin;
constexpr int kWidestColumn = 60;
constexpr int kTableRowPitch = 18;
constexpr int kTableRowHeight = 16;
constexpr int kTeamRowGap = 6;
constexpr int kBestFrame = 2;

// The chance bars, as on the robustness page.
constexpr int kBarLetterX = 15;
constexpr int kBarNameX = 35;
constexpr int kBarNameWidth = 180;
constexpr int kBarX = 230;
constexpr int kBarFullWidth = 380;
constexpr int kBarHeight = 12;
constexpr int kBarRowPitch = 18;
constexpr int kBarTextGap = 6;
const QColor kBarTrackColour(0xF0, 0xF0, 0xF0);
const QColor kTeamRowColour(0xEE, 0xF0, 0xFA);

constexpr int kLinePitch = 4;
constexpr int kBottomMargin = 15;

QString bestLine(const TeamResult& team)
{
    return optionsText(team.combined, team.best) + u" ("_s + scoreText(*team.maximum) + u")"_s;
}

QString agreementLine(const TeamResult& team)
{
    return uiText(teamVerdictWordKey(team.verdict)) + u" ("_s + agreementText(team) + u")"_s + punctuation(u':')
           + u" "_s + uiText(teamVerdictReasonKey(team.verdict));
}

// Where each part starts; the page is as tall as its parts, every text
// wrapped rather than cut.
struct Layout {
    int agreementTop = 0;
    int tableTop = 0;
    int columnWidth = 0;
    int disagreementsTop = 0;
    std::vector<int> disagreementHeights;
    int chanceTop = 0;
    int height = 0;
};

Layout layoutOf(const TeamResult& team)
{
    const QFont value = programFont(FontRole::PageValue);
    const QFont small = programFont(FontRole::PageScale);
    Layout layout;
    int y = kSummaryTop;
    if (team.maximum)
        y += textHeight(bestLine(team), value, kTextWidth) + kSummaryGap;
    layout.agreementTop = y;
    y += textHeight(agreementLine(team), value, kTextWidth) + kSectionGap;

    layout.tableTop = y;
    const int options = std::max(static_cast<int>(team.options.size()), 1);
    layout.columnWidth = std::min(kWidestColumn, kTableWidth / options);
    y += kHeadingHeight + kTableRowPitch * (1 + static_cast<int>(team.members.size())) + kTeamRowGap + kTableRowPitch
         + kSectionGap;

    layout.disagreementsTop = y;
    y += kHeadingHeight;
    for (const Disagreement& disagreement : team.disagreements) {
        layout.disagreementHeights.push_back(
            textHeight(disagreementText(team, disagreement), small, kPageWidth - kLabelX - kRightMargin));
        y += layout.disagreementHeights.back() + kLinePitch;
    }
    if (team.disagreements.empty())
        y += kTableRowPitch;
    y += kSectionGap;

    layout.chanceTop = y;
    y += kHeadingHeight + kBarRowPitch * std::max(static_cast<int>(team.options.size()), 1);
    layout.height = std::max(y + kBottomMargin, kShortestPage);
    return layout;
}

void drawSummary(QPainter& painter, const TeamResult& team, const Layout& layout)
{
    const QFont label = programFont(FontRole::PageLabel);
    const QFont value = programFont(FontRole::PageValue);
    if (team.maximum) {
        drawTextAt(painter, kLabelX, kSummaryTop, uiText(TextKey::TXT00257), label, Qt::black);
        drawWrappedText(painter, kTeamValueX, kSummaryTop, kTextWidth, bestLine(team), value, Qt::black);
    }
    drawTextAt(painter, kLabelX, layout.agreementTop, uiText(TextKey::TXT00815), label, kHeaderColour);
    drawWrappedText(painter, kTeamValueX, layout.agreementTop, kTextWidth, agreementLine(team), value, kHeaderColour);
}

// The first cell of a table row, on the same middle line as the scores.
void drawNameCell(QPainter& painter, int y, const QString& name, const QFont& font)
{
    drawTextInBox(painter, QRect(kLabelX, y, kNameColumnWidth - 6, kTableRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                  elided(name, font, kNameColumnWidth - 6), font, Qt::black);
}

// One row of scores; a member's own best are framed in the option's colour.
void drawScoreRow(QPainter& painter, int y, int columnWidth, const std::vector<int>& scores,
                  const std::vector<int>& best, const QFont& font)
{
    painter.setFont(font);
    for (std::size_t option = 0; option < scores.size(); ++option) {
        const QRect cell(kTableX + static_cast<int>(option) * columnWidth, y, columnWidth - 2, kTableRowHeight);
        if (std::binary_search(best.begin(), best.end(), static_cast<int>(option))) {
            painter.fillRect(cell, QColor::fromRgb(optionColour(static_cast<int>(option))));
            painter.fillRect(cell.adjusted(kBestFrame, kBestFrame, -kBestFrame, -kBestFrame), Qt::white);
        }
        painter.setPen(Qt::black);
        painter.drawText(cell, Qt::AlignCenter, QString::number(scores[option]));
    }
}

void drawTable(QPainter& painter, const TeamResult& team, const Layout& layout)
{
    const QFont label = programFont(FontRole::PageLabel);
    const QFont small = programFont(FontRole::PageScale);
    const QFont smallBold = programFont(FontRole::PageScaleBold);
    drawTextAt(painter, kLabelX, layout.tableTop, uiText(TextKey::TXT00833), label, kHeaderColour);
    int y = layout.tableTop + kHeadingHeight;
    drawNameCell(painter, y, uiText(TextKey::TXT00832), smallBold);
    for (std::size_t option = 0; option < team.options.size(); ++option) {
        const QRect cell(kTableX + static_cast<int>(option) * layout.columnWidth, y, layout.columnWidth - 2,
                         kTableRowHeight);
        painter.setFont(smallBold);
        painter.setPen(QColor::fromRgb(optionColour(static_cast<int>(option))));
        painter.drawText(cell, Qt::AlignCenter, optionLetter(static_cast<int>(option)));
    }
    y += kTableRowPitch;
    for (const MemberResult& member : team.members) {
        drawNameCell(painter, y, member.name, small);
        drawScoreRow(painter, y, layout.columnWidth, member.scores, member.best, small);
        y += kTableRowPitch;
    }
    y += kTeamRowGap;
    painter.fillRect(QRect(kLabelX, y - kTeamRowGap / 2, kPageWidth - kLabelX - kRightMargin, 1), Qt::black);
    painter.fillRect(QRect(kLabelX, y, kPageWidth - kLabelX - kRightMargin, kTableRowHeight), kTeamRowColour);
    drawNameCell(painter, y, uiText(TextKey::TXT00812), smallBold);
    std::vector<int> scores;
    for (const TeamOption& option : team.options)
        scores.push_back(option.score);
    drawScoreRow(painter, y, layout.columnWidth, scores, team.best, smallBold);
}

void drawDisagreements(QPainter& painter, const TeamResult& team, const Layout& layout)
{
    const QFont small = programFont(FontRole::PageScale);
    drawTextAt(painter, kLabelX, layout.disagreementsTop, uiText(TextKey::TXT00825), programFont(FontRole::PageLabel),
               kHeaderColour);
    int y = layout.disagreementsTop + kHeadingHeight;
    if (team.disagreements.empty())
        drawTextAt(painter, kLabelX, y, uiText(TextKey::TXT00828), programFont(FontRole::PageValue), Qt::black);
    for (std::size_t at = 0; at < team.disagreements.size(); ++at) {
        drawWrappedText(painter, kLabelX, y, kPageWidth - kLabelX - kRightMargin,
                        disagreementText(team, team.disagreements[at]), small, Qt::black);
        y += layout.disagreementHeights[at] + kLinePitch;
    }
}

void drawChances(QPainter& painter, const TeamResult& team, const Layout& layout)
{
    const QFont small = programFont(FontRole::PageScale);
    const QFont smallBold = programFont(FontRole::PageScaleBold);
    drawTextAt(painter, kLabelX, layout.chanceTop,
               uiText(TextKey::TXT00425) + u" ("_s + uiText(TextKey::TXT00829) + u")"_s,
               programFont(FontRole::PageLabel), kHeaderColour);
    int y = layout.chanceTop + kHeadingHeight;
    for (std::size_t option = 0; option < team.chance.size(); ++option) {
        const QColor colour = QColor::fromRgb(optionColour(static_cast<int>(option)));
        const double chance = team.chance[option];
        drawTextAt(painter, kBarLetterX, y, optionLetter(static_cast<int>(option)), smallBold, colour);
        drawTextAt(painter, kBarNameX, y, elided(team.combined.options()[option].Name.trimmed(), small, kBarNameWidth),
                   small, Qt::black);
        painter.fillRect(QRect(kBarX, y, kBarFullWidth, kBarHeight), kBarTrackColour);
        painter.fillRect(QRect(kBarX, y, static_cast<int>(chance * kBarFullWidth + 0.5), kBarHeight), colour);
        drawTextAt(painter, kBarX + kBarFullWidth + kBarTextGap, y, percentText(chance * 100.0, 1, false), small,
                   Qt::black);
        y += kBarRowPitch;
    }
}

} // namespace

int teamPageHeight(const TeamResult& team)
{
    return layoutOf(team).height;
}

QImage buildTeamPage(const TeamResult& team, const QString& banner, qreal scale)
{
    return pagePicture(teamPageHeight(team), scale, [&](QPainter& painter) { paintTeamPage(painter, team, banner); });
}

void paintTeamPage(QPainter& painter, const TeamResult& team, const QString& banner)
{
    const Layout layout = layoutOf(team);
    drawTitleBar(painter, uiText(TextKey::TXT00802), banner);
    drawSummary(painter, team, layout);
    drawTable(painter, team, layout);
    drawDisagreements(painter, team, layout);
    drawChances(painter, team, layout);
}

} // namespace ponderix
