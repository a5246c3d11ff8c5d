#include "document/EditingCommands.h"

#include "base/DisplayText.h"
#include "base/TextTable.h"
#include "document/CellTexts.h"
#include "document/Document.h"
#include "document/EditSteps.h"
#include "platform/Dialogs.h"

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

const QString kLineBreak = u"\r\n"_s;

} // namespace

EditingCommands::EditingCommands(Document& document, Dialogs& dialogs)
    : m_document(document), m_project(document.project()), m_dialogs(dialogs)
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

    // No path: Save asks for a name.
    Project fresh;
    const QString name = uiText(TextKey::TXT00214);
    fresh.addOption(name);
    fresh.addCriterion(name);
    m_document.replace(std::move(fresh), uiText(TextKey::TXT00213));
    return true;
}

void EditingCommands::addOption()
{
    if (refused(m_project.optionAdditionRefusal(), TextKey::TXT00103))
        return;
    m_document.history().record(new AddStep(m_document, EntryKind::Option, uiText(TextKey::TXT00214)));
}

void EditingCommands::addCriterion()
{
    if (refused(m_project.criterionAdditionRefusal(), TextKey::TXT00104))
        return;
    m_document.history().record(new AddStep(m_document, EntryKind::Criterion, uiText(TextKey::TXT00214)));
}

void EditingCommands::deleteOption(int optionIndex)
{
    if (optionIndex < 0 || optionIndex >= m_project.optionCount())
        return;
    const QString caption = optionTitle(optionIndex) + u", "_s
                            + displayText(m_project.options()[static_cast<std::size_t>(optionIndex)].Name);
    if (!askYesNo(TextKey::TXT00206, uiText(TextKey::TXT00215) + kLineBreak + caption))
        return;
    m_document.history().record(new DeleteStep(m_document, EntryKind::Option, optionIndex));
}

void EditingCommands::deleteCriterion(int criterionIndex)
{
    if (criterionIndex < 0 || criterionIndex >= m_project.criterionCount())
        return;
    const QString caption = criterionTitle(criterionIndex) + u", "_s
                            + displayText(m_project.criteria()[static_cast<std::size_t>(criterionIndex)].Name);
    if (!askYesNo(TextKey::TXT00207, uiText(TextKey::TXT00216) + kLineBreak + caption))
        return;
    m_document.history().record(new DeleteStep(m_document, EntryKind::Criterion, criterionIndex));
}

namespace {

bool hasNeighbour(int index, MoveDirection direction, int count)
{
    const int partner = direction == MoveDirection::Backward ? index - 1 : index + 1;
    return index >= 0 && index < count && partner >= 0 && partner < count;
}

} // namespace

void EditingCommands::moveOption(int optionIndex, MoveDirection direction)
{
    // At either end there is nothing to exchange and nothing to record.
    if (hasNeighbour(optionIndex, direction, m_project.optionCount()))
        m_document.history().record(new MoveStep(m_document, EntryKind::Option, optionIndex, direction));
}

void EditingCommands::moveCriterion(int criterionIndex, MoveDirection direction)
{
    if (hasNeighbour(criterionIndex, direction, m_project.criterionCount()))
        m_document.history().record(new MoveStep(m_document, EntryKind::Criterion, criterionIndex, direction));
}

void EditingCommands::editComment(int optionIndex, int criterionIndex)
{
    const Rating* rating = m_project.ratingOf(optionIndex, criterionIndex);
    if (!rating)
        return;
    const QString title = uiText(TextKey::TXT00209);
    // The whole comment, never the part the matrix shows: an edit of a cut
    // text would throw away the rest the user never saw.
    const std::optional<QString> comment =
        m_dialogs.textEntry(title, title + u' ' + ratingPosition(optionIndex, criterionIndex), rating->Comment);
    if (!comment || *comment == rating->Comment)
        return;
    m_document.history().record(new CommentStep(m_document, optionIndex, criterionIndex, *comment));
}

} // namespace ponderix
