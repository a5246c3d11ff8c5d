#include "editor/EditingCommands.h"

#include "base/TextTable.h"
#include "editor/CellTexts.h"
#include "editor/MatrixView.h"
#include "platform/Dialogs.h"

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

const QString kLineBreak = u"\r\n"_s;

} // namespace

EditingCommands::EditingCommands(Project& project, MatrixView& view, Dialogs& dialogs)
    : m_project(project), m_view(view), m_dialogs(dialogs)
{
}

bool EditingCommands::askYesNo(TextKey titleKey, const QString& text)
{
    return m_dialogs.message(uiText(titleKey), text, Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
        == Dialogs::Answer::Yes;
}

bool EditingCommands::refused(AddRefusal refusal, TextKey countLimitKey)
{
    if (refusal == AddRefusal::None)
        return false;
    const TextKey textKey = refusal == AddRefusal::CellLimit ? TextKey::TXT00110 : countLimitKey;
    m_dialogs.message(uiText(TextKey::TXT00013), uiText(textKey), Dialogs::Icon::Information);
    return true;
}

bool EditingCommands::newProject(const QString& marker)
{
    // Asked every time: nothing records whether the project has changed.
    if (marker.isEmpty()
        && !askYesNo(TextKey::TXT00210, uiText(TextKey::TXT00211) + kLineBreak + uiText(TextKey::TXT00212)))
        return false;

    m_view.clearCells();
    m_project.clear();
    m_view.setBanner(uiText(TextKey::TXT00213));
    m_project.setPath(QString()); // the last folder stays for the next dialog

    const QString name = uiText(TextKey::TXT00214);
    m_project.addOption(name);
    m_project.addCriterion(name);
    m_view.buildAllCells(true);
    m_view.sizeAreas(1, 1);
    m_view.updateStatusLine();
    return true;
}

void EditingCommands::addOption()
{
    if (refused(m_project.optionAdditionRefusal(), TextKey::TXT00103))
        return;
    m_project.addOption(uiText(TextKey::TXT00214));
    const int added = m_project.optionCount() - 1;
    m_view.buildOptionCell(added);
    for (const Criterion& criterion : m_project.criteria())
        m_view.buildRatingCell(added, criterion.Index, false);
    m_view.sizeColumns(m_project.optionCount());
    m_view.updateStatusLine();
}

void EditingCommands::addCriterion()
{
    if (refused(m_project.criterionAdditionRefusal(), TextKey::TXT00104))
        return;
    m_project.addCriterion(uiText(TextKey::TXT00214));
    const int added = m_project.criterionCount() - 1;
    m_view.buildCriterionCell(added);
    for (const Option& option : m_project.options())
        m_view.buildRatingCell(option.Index, added, false);
    m_view.sizeRows(m_project.criterionCount());
    m_view.updateStatusLine();
}

void EditingCommands::deleteOption(int optionIndex)
{
    if (optionIndex < 0 || optionIndex >= m_project.optionCount())
        return;
    const QString caption =
        optionTitle(optionIndex) + u", "_s + m_project.options()[static_cast<std::size_t>(optionIndex)].Name;
    if (!askYesNo(TextKey::TXT00206, uiText(TextKey::TXT00215) + kLineBreak + caption))
        return;
    // Letters follow positions, so every cell is built again; the rebuilt
    // boxes show their values.
    m_view.clearCells();
    m_project.deleteOption(optionIndex);
    m_view.buildAllCells(true);
    m_view.sizeColumns(m_project.optionCount());
    m_view.updateStatusLine();
}

void EditingCommands::deleteCriterion(int criterionIndex)
{
    if (criterionIndex < 0 || criterionIndex >= m_project.criterionCount())
        return;
    const QString caption = criterionTitle(criterionIndex) + u", "_s
        + m_project.criteria()[static_cast<std::size_t>(criterionIndex)].Name;
    if (!askYesNo(TextKey::TXT00207, uiText(TextKey::TXT00216) + kLineBreak + caption))
        return;
    m_view.clearCells();
    m_project.deleteCriterion(criterionIndex);
    m_view.buildAllCells(true);
    m_view.sizeRows(m_project.criterionCount());
    m_view.updateStatusLine();
}

void EditingCommands::moveOption(int optionIndex, MoveDirection direction)
{
    if (!m_project.moveOption(optionIndex, direction))
        return;
    m_view.optionsSwapped(optionIndex, direction == MoveDirection::Backward ? optionIndex - 1 : optionIndex + 1);
}

void EditingCommands::moveCriterion(int criterionIndex, MoveDirection direction)
{
    if (!m_project.moveCriterion(criterionIndex, direction))
        return;
    m_view.criteriaSwapped(criterionIndex,
                           direction == MoveDirection::Backward ? criterionIndex - 1 : criterionIndex + 1);
}

void EditingCommands::editComment(int optionIndex, int criterionIndex)
{
    const Rating* rating = m_project.ratingOf(optionIndex, criterionIndex);
    if (!rating)
        return;
    const QString title = uiText(TextKey::TXT00209);
    const std::optional<QString> comment =
        m_dialogs.textEntry(title, title + u' ' + ratingPosition(optionIndex, criterionIndex), rating->Comment);
    // A cancelled prompt leaves the comment as it was.
    if (!comment)
        return;
    m_project.setComment(optionIndex, criterionIndex, *comment);
    m_view.commentChanged(optionIndex, criterionIndex);
}

} // namespace ponderix
