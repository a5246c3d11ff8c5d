// The decision record as a PDF: every page is painted onto the PDF writer,
// so text stays text (searchable, fonts embedded) and the result pages draw
// their lines and letters as outlines and their charts at the writer's
// resolution. Everything is laid out first, so each page can say how many
// there are.

#include "base/Fonts.h"
#include "base/SystemReason.h"
#include "base/TextTable.h"
#include "evaluation/PageStyle.h"
#include "evaluation/ResultPages.h"
#include "export/DecisionRecordContent.h"
#include "export/RecordPagination.h"
#include "project/Project.h"

#include <QFontMetrics>
#include <QIODevice>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <memory>
#include <optional>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// The layout works in hundredths of an inch, so a 700-pixel result page is
// 7 inches wide; at 320 dots per inch its charts come out at 3.2x, a little
// above the 300 a printer needs even where rounding takes a pixel off.
constexpr int kUnitsPerInch = 100;
constexpr int kResolution = 320;
constexpr qreal kMarginMillimetres = 15.0;
constexpr int kContentWidth = kPageWidth;
constexpr int kFooterGap = 10;
constexpr int kFooterHeight = 14;
constexpr int kHeadingHeight = 24;
constexpr int kHeadingTextX = 8;
constexpr int kHeadingTextY = 4;
constexpr int kFactLabelWidth = 150;
constexpr int kFactGap = 4;

// The matrix on paper: a few options side by side, the criteria repeated
// for each group, so a cell stays wide enough for its comment.
constexpr int kOptionsAcross = 4;
constexpr int kCriterionColumn = 150;
constexpr int kImportanceColumn = 70;
constexpr int kCellPadding = 3;
const QColor kRuleColour(0xB0, 0xB0, 0xB0);
const QColor kTableHeadColour(0xE8, 0xEB, 0xF8);
const QColor kFooterColour(0x40, 0x40, 0x40);

void paintHeading(QPainter& painter, const QString& text)
{
    painter.fillRect(QRect(0, 0, kContentWidth, kHeadingHeight), kHeaderColour);
    drawTextAt(painter, kHeadingTextX, kHeadingTextY, text, programFont(FontRole::PageHeader), Qt::white);
}

Block headingBlock(const QString& text)
{
    return {kHeadingHeight, [text](QPainter& painter) { paintHeading(painter, text); }, true, false};
}

Block textBlock(const QString& text, const QFont& font, bool keepWithNext = false)
{
    return {textHeight(text, font, kContentWidth),
            [text, font](QPainter& painter) { drawWrappedText(painter, 0, 0, kContentWidth, text, font, Qt::black); },
            keepWithNext, false};
}

// A result page under its heading, shrunk only when it is taller than the
// paper allows; its pictures follow the shrinking, so they stay at the
// writer's resolution.
Block pictureBlock(const RecordPage& page, int pageHeight)
{
    const int room = pageHeight - kHeadingHeight - kRecordBlockGap;
    const qreal fit = page.height > room ? static_cast<qreal>(room) / page.height : 1.0;
    const int shownHeight = static_cast<int>(std::ceil(page.height * fit));
    return {kHeadingHeight + kRecordBlockGap + shownHeight,
            [page, fit](QPainter& painter) {
                paintHeading(painter, page.heading);
                painter.translate(0, kHeadingHeight + kRecordBlockGap);
                painter.scale(fit, fit);
                const QRect sheet(0, 0, kPageWidth, page.height);
                painter.setClipRect(sheet, Qt::IntersectClip);
                painter.fillRect(sheet, Qt::white);
                page.paint(painter);
            },
            false, true};
}

Block factBlock(const RecordFact& fact)
{
    const QFont label = programFont(FontRole::PageLabel);
    const QFont value = programFont(FontRole::PageValue);
    const int valueWidth = kContentWidth - kFactLabelWidth;
    const QString lines = fact.lines.join(u'\n');
    const int height =
        std::max(textHeight(fact.label, label, kFactLabelWidth - kFactGap), textHeight(lines, value, valueWidth));
    return {height,
            [fact, lines, label, value, valueWidth](QPainter& painter) {
                drawWrappedText(painter, 0, 0, kFactLabelWidth - kFactGap, fact.label, label, Qt::black);
                drawWrappedText(painter, kFactLabelWidth, 0, valueWidth, lines, value, Qt::black);
            },
            false, false, kFactGap};
}

// One cell of a matrix row: a bold first part (a name, a rating) and plain
// text under it (a comment).
struct Cell {
    QString bold;
    QString plain;
};

int cellHeight(const Cell& cell, int width)
{
    const int inner = width - 2 * kCellPadding;
    int height = 0;
    if (!cell.bold.isEmpty())
        height += textHeight(cell.bold, programFont(FontRole::PageScaleBold), inner);
    if (!cell.plain.isEmpty())
        height += textHeight(cell.plain, programFont(FontRole::PageScale), inner);
    return height + 2 * kCellPadding;
}

Block rowBlock(std::vector<Cell> cells, std::vector<int> widths, bool head)
{
    int height = 0;
    for (std::size_t at = 0; at < cells.size(); ++at)
        height = std::max(height, cellHeight(cells[at], widths[at]));
    return {height,
            [cells = std::move(cells), widths = std::move(widths), height, head](QPainter& painter) {
                int x = 0;
                for (std::size_t at = 0; at < cells.size(); ++at) {
                    const QRect box(x, 0, widths[at], height);
                    if (head || at == 0)
                        painter.fillRect(box, kTableHeadColour);
                    painter.setPen(QPen(kRuleColour, 0.5));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(QRectF(box));
                    const int inner = widths[at] - 2 * kCellPadding;
                    int y = kCellPadding;
                    if (!cells[at].bold.isEmpty()) {
                        y += drawWrappedText(painter, x + kCellPadding, y, inner, cells[at].bold,
                                             programFont(FontRole::PageScaleBold), Qt::black);
                    }
                    if (!cells[at].plain.isEmpty()) {
                        drawWrappedText(painter, x + kCellPadding, y, inner, cells[at].plain,
                                        programFont(FontRole::PageScale), Qt::black);
                    }
                    x += widths[at];
                }
            },
            false, false, 0};
}

// The matrix in groups of options; each group is a table of its own whose
// header row repeats on every page it runs over. Stops early when the
// caller no longer wants the record.
std::vector<Section> matrixSections(const Project& project, const RecordSteps& steps)
{
    std::vector<Section> sections;
    const int options = project.optionCount();
    for (int first = 0; first < std::max(options, 1) && steps.stillWanted(); first += kOptionsAcross) {
        const int last = std::min(options, first + kOptionsAcross);
        const int across = std::max(last - first, 1);
        std::vector<int> widths{kCriterionColumn, kImportanceColumn};
        const int optionWidth = (kContentWidth - kCriterionColumn - kImportanceColumn) / across;
        for (int option = first; option < last; ++option)
            widths.push_back(optionWidth);

        std::vector<Cell> head{{uiText(TextKey::TXT00201), {}}, {uiText(TextKey::TXT00273), {}}};
        for (int option = first; option < last; ++option)
            head.push_back({optionLabel(option), project.options()[static_cast<std::size_t>(option)].Name});
        Section section;
        section.repeatedHead = rowBlock(head, widths, true);
        if (first == 0)
            section.blocks.push_back(headingBlock(uiText(TextKey::TXT00909)));
        section.blocks.push_back(*section.repeatedHead);
        section.blocks.back().keepWithNext = true;
        section.firstRow = section.blocks.size();
        for (const Criterion& criterion : project.criteria()) {
            std::vector<Cell> row{{criterionLabel(project, criterion.Index), {}},
                                  {QString::number(criterion.Importance), {}}};
            for (int option = first; option < last; ++option) {
                row.push_back(
                    {ratingLabel(project, option, criterion.Index), commentOf(project, option, criterion.Index)});
            }
            section.blocks.push_back(rowBlock(std::move(row), widths, false));
        }
        std::vector<Cell> scores{{uiText(TextKey::TXT00271), {}}, {}};
        std::vector<Cell> verdicts{{uiText(TextKey::TXT00272), {}}, {}};
        for (int option = first; option < last; ++option) {
            scores.push_back({scoreLabel(project, option), {}});
            verdicts.push_back({{}, verdictLabel(project, option)});
        }
        section.blocks.push_back(rowBlock(std::move(scores), widths, false));
        section.blocks.push_back(rowBlock(std::move(verdicts), widths, false));
        section.blocks.back().gapAfter = kRecordBlockGap;
        sections.push_back(std::move(section));
    }
    return sections;
}

std::vector<Section> robustnessSections(const RecordContent& content, const RecordPage& page, int pageHeight)
{
    Section facts;
    facts.blocks.push_back(headingBlock(page.heading));
    for (const RecordFact& fact : content.robustnessFacts)
        facts.blocks.push_back(factBlock(fact));

    const QFont subheading = programFont(FontRole::PageLabel);
    Section challengers;
    challengers.blocks.push_back(textBlock(uiText(TextKey::TXT00427), subheading, true));
    if (content.challengers.empty())
        challengers.blocks.push_back(textBlock(uiText(TextKey::TXT00432), programFont(FontRole::PageValue)));
    for (const RecordFact& fact : content.challengers)
        challengers.blocks.push_back(factBlock(fact));

    Section chances;
    chances.blocks.push_back(textBlock(content.chanceHeading, subheading, true));
    for (const RecordFact& fact : content.chances)
        chances.blocks.push_back(factBlock(fact));

    Section picture;
    picture.blocks.push_back(pictureBlock(page, pageHeight));
    return {std::move(facts), std::move(challengers), std::move(chances), std::move(picture)};
}

void paintFooter(QPainter& painter, const QString& footer, int page, int pageCount, int top)
{
    const QFont font = programFont(FontRole::PageScale);
    painter.setPen(QPen(kRuleColour, 0.5));
    painter.drawLine(QPointF(0, top), QPointF(kContentWidth, top));
    const int textTop = top + 3;
    drawTextAt(painter, 0, textTop, footer, font, kFooterColour);
    painter.setFont(font);
    painter.setPen(kFooterColour);
    painter.drawText(QRect(0, textTop, kContentWidth, kFooterHeight), Qt::AlignRight | Qt::AlignTop,
                     uiText(TextKey::TXT00910).arg(QString::number(page), QString::number(pageCount)));
}

} // namespace

QPageSize::PageSizeId recordPaperFor(const QLocale& locale)
{
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
}

RecordOutcome writePdfRecord(QIODevice& device, const RecordSource& source, const RecordContent& content,
                             RecordSteps& steps)
{
    const Project& project = source.project;
    const RecordOutcome cancelled{RecordOutcome::Status::Cancelled, {}};

    QPdfWriter writer(&device);
    writer.setResolution(kResolution);
    writer.setTitle(content.title);
    writer.setCreator(uiText(TextKey::Program_Name) + u' ' + uiText(TextKey::Version_Name));
    writer.setPageLayout(
        QPageLayout(QPageSize(recordPaperFor(QLocale())), QPageLayout::Portrait,
                    QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                    QPageLayout::Millimeter));
    const qreal dotsPerUnit = static_cast<qreal>(kResolution) / kUnitsPerInch;
    const int areaWidth = static_cast<int>(writer.width() / dotsPerUnit);
    const int pageHeight = static_cast<int>(writer.height() / dotsPerUnit) - kFooterGap - kFooterHeight;
    const int left = std::max(0, (areaWidth - kContentWidth) / 2);

    // Laid out whole before the first page is painted.
    std::vector<Section> sections;
    Section opening;
    opening.blocks.push_back(textBlock(content.title, classicFont(u"Arial"_s, 18, true)));
    opening.blocks.push_back(textBlock(content.exported, programFont(FontRole::PageValue)));
    opening.blocks.push_back(textBlock(content.summary, programFont(FontRole::PageLabel)));
    opening.blocks.push_back(pictureBlock(overviewRecordPage(source), pageHeight));
    sections.push_back(std::move(opening));
    for (Section& section : matrixSections(project, steps))
        sections.push_back(std::move(section));
    for (const Option& option : project.options())
        sections.push_back({{pictureBlock(detailRecordPage(source, option.Index), pageHeight)}, std::nullopt, 0});
    sections.push_back({{pictureBlock(profileRecordPage(source), pageHeight)}, std::nullopt, 0});
    for (Section& section : robustnessSections(content, robustnessRecordPage(source, content.robustness), pageHeight))
        sections.push_back(std::move(section));
    Paginator paginator(pageHeight);
    paginator.place(sections);
    if (!steps.done())
        return cancelled;

    QPainter painter;
    if (!painter.begin(&writer))
        return {RecordOutcome::Status::Failed, translatedSystemReason(device.errorString())};
    // Lossless, as JPEG would ring around every letter on the pages' charts.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(dotsPerUnit, dotsPerUnit);
    painter.translate(left, 0);
    int page = 0;
    for (const Placement& placed : paginator.placements()) {
        while (page < placed.page) {
            paintFooter(painter, content.footer, page + 1, paginator.pageCount(), pageHeight + kFooterGap);
            if (!steps.stillWanted()) {
                painter.end();
                return cancelled;
            }
            writer.newPage();
            ++page;
        }
        painter.save();
        painter.translate(0, placed.top - placed.offset);
        painter.setClipRect(QRect(0, placed.offset, kContentWidth, placed.height));
        placed.block->paint(painter);
        painter.restore();
        if (placed.block->step && placed.offset + placed.height >= placed.block->height && !steps.done()) {
            painter.end();
            return cancelled;
        }
    }
    paintFooter(painter, content.footer, page + 1, paginator.pageCount(), pageHeight + kFooterGap);
    if (!painter.end())
        return {RecordOutcome::Status::Failed, translatedSystemReason(device.errorString())};
    return {RecordOutcome::Status::Written, {}};
}

} // namespace ponderix
