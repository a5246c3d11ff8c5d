#include "editor/EditSteps.h"

#include "base/TextTable.h"
#include "editor/CellTexts.h"
#include "editor/MatrixView.h"

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

using Control = MatrixView::Control;

QString entryTitle(EntryKind kind, int index)
{
    return kind == EntryKind::Option ? optionTitle(index) : criterionTitle(index);
}

QString stepName(TextKey verb, const QString& what)
{
    return uiText(verb) + u' ' + what;
}

MoveDirection reverse(MoveDirection direction)
{
    return direction == MoveDirection::Backward ? MoveDirection::Forward : MoveDirection::Backward;
}

Control nameControl(EntryKind kind)
{
    return kind == EntryKind::Option ? Control::OptionName : Control::CriterionName;
}

} // namespace

EditStep::EditStep(Project& project, MatrixView& view, const QString& name) : m_project(project), m_view(view)
{
    setText(name);
}

// ---------------------------------------------------------------------------

RatingValueStep::RatingValueStep(Project& project, MatrixView& view, int optionIndex, int criterionIndex, int value,
                                 bool valueWasShown, std::optional<int> mergeSerial)
    : EditStep(project, view, stepName(TextKey::TXT00600, ratingPosition(optionIndex, criterionIndex))),
      m_option(optionIndex), m_criterion(criterionIndex), m_before(kNeutralValue), m_after(clampValue(value)),
      m_shownBefore(valueWasShown), m_mergeSerial(mergeSerial)
{
    if (const Rating* rating = project.ratingOf(optionIndex, criterionIndex))
        m_before = rating->Value;
}

void RatingValueStep::redo()
{
    m_project.setValue(m_option, m_criterion, m_after);
    if (replaying()) {
        m_view.showRatingValue(m_option, m_criterion, true);
        m_view.focusControl(Control::RatingValue, m_option, m_criterion);
    }
    markApplied();
}

void RatingValueStep::undo()
{
    m_project.setValue(m_option, m_criterion, m_before);
    m_view.showRatingValue(m_option, m_criterion, m_shownBefore);
    m_view.focusControl(Control::RatingValue, m_option, m_criterion);
}

int RatingValueStep::id() const
{
    return m_mergeSerial ? static_cast<int>(MergingStep::RatingValue) : -1;
}

bool RatingValueStep::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const RatingValueStep*>(other);
    if (next->m_option != m_option || next->m_criterion != m_criterion || next->m_mergeSerial != m_mergeSerial)
        return false;
    m_after = next->m_after;
    return true;
}

// ---------------------------------------------------------------------------

ImportanceStep::ImportanceStep(Project& project, MatrixView& view, int criterionIndex, int importance,
                               std::optional<int> mergeSerial)
    : EditStep(project, view, stepName(TextKey::TXT00601, criterionTitle(criterionIndex))), m_criterion(criterionIndex),
      m_before(kImportanceOfNewCriterion), m_after(clampImportance(importance)), m_mergeSerial(mergeSerial)
{
    if (criterionIndex >= 0 && criterionIndex < project.criterionCount())
        m_before = project.criteria()[static_cast<std::size_t>(criterionIndex)].Importance;
}

void ImportanceStep::redo()
{
    m_project.setImportance(m_criterion, m_after);
    if (replaying()) {
        m_view.showImportance(m_criterion);
        m_view.focusControl(Control::Importance, m_criterion);
    }
    markApplied();
}

void ImportanceStep::undo()
{
    m_project.setImportance(m_criterion, m_before);
    m_view.showImportance(m_criterion);
    m_view.focusControl(Control::Importance, m_criterion);
}

int ImportanceStep::id() const
{
    return m_mergeSerial ? static_cast<int>(MergingStep::Importance) : -1;
}

bool ImportanceStep::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const ImportanceStep*>(other);
    if (next->m_criterion != m_criterion || next->m_mergeSerial != m_mergeSerial)
        return false;
    m_after = next->m_after;
    return true;
}

// ---------------------------------------------------------------------------

NameStep::NameStep(Project& project, MatrixView& view, EntryKind kind, int index, const QString& name, int mergeSerial)
    : EditStep(project, view, stepName(TextKey::TXT00603, entryTitle(kind, index))), m_kind(kind), m_index(index),
      m_after(name), m_mergeSerial(mergeSerial)
{
    const auto position = static_cast<std::size_t>(index);
    if (kind == EntryKind::Option && index >= 0 && index < project.optionCount())
        m_before = project.options()[position].Name;
    else if (kind == EntryKind::Criterion && index >= 0 && index < project.criterionCount())
        m_before = project.criteria()[position].Name;
}

void NameStep::apply(const QString& name)
{
    if (m_kind == EntryKind::Option) {
        m_project.setOptionName(m_index, name);
        m_view.showOptionName(m_index);
    } else {
        m_project.setCriterionName(m_index, name);
        m_view.showCriterionName(m_index);
    }
    m_view.focusControl(nameControl(m_kind), m_index);
}

void NameStep::redo()
{
    if (replaying()) {
        apply(m_after);
    } else if (m_kind == EntryKind::Option) {
        m_project.setOptionName(m_index, m_after);
    } else {
        m_project.setCriterionName(m_index, m_after);
    }
    markApplied();
}

void NameStep::undo()
{
    apply(m_before);
}

bool NameStep::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const NameStep*>(other);
    if (next->m_kind != m_kind || next->m_index != m_index || next->m_mergeSerial != m_mergeSerial)
        return false;
    m_after = next->m_after;
    // Typed back to where it started: the field made no change to undo.
    setObsolete(m_after == m_before);
    return true;
}

// ---------------------------------------------------------------------------

CommentStep::CommentStep(Project& project, MatrixView& view, int optionIndex, int criterionIndex,
                         const QString& comment)
    : EditStep(project, view, stepName(TextKey::TXT00602, ratingPosition(optionIndex, criterionIndex))),
      m_option(optionIndex), m_criterion(criterionIndex), m_after(comment)
{
    if (const Rating* rating = project.ratingOf(optionIndex, criterionIndex))
        m_before = rating->Comment;
}

void CommentStep::apply(const QString& comment)
{
    m_project.setComment(m_option, m_criterion, comment);
    m_view.commentChanged(m_option, m_criterion);
}

void CommentStep::redo()
{
    apply(m_after);
    if (replaying())
        m_view.focusControl(Control::Comment, m_option, m_criterion);
    markApplied();
}

void CommentStep::undo()
{
    apply(m_before);
    m_view.focusControl(Control::Comment, m_option, m_criterion);
}

// ---------------------------------------------------------------------------

AddStep::AddStep(Project& project, MatrixView& view, EntryKind kind, const QString& name)
    : EditStep(project, view,
               stepName(TextKey::TXT00604, entryTitle(kind, kind == EntryKind::Option ? project.optionCount()
                                                                                      : project.criterionCount()))),
      m_kind(kind), m_name(name)
{
}

void AddStep::redo()
{
    if (m_kind == EntryKind::Option) {
        m_project.addOption(m_name);
        m_view.optionAppended();
        if (replaying())
            m_view.focusControl(Control::OptionName, m_project.optionCount() - 1);
    } else {
        m_project.addCriterion(m_name);
        m_view.criterionAppended();
        if (replaying())
            m_view.focusControl(Control::CriterionName, m_project.criterionCount() - 1);
    }
    markApplied();
}

void AddStep::undo()
{
    // The entry added last is still the last one: every later step that
    // could have changed that has been undone before this one.
    if (m_kind == EntryKind::Option) {
        m_project.deleteOption(m_project.optionCount() - 1);
        m_view.lastOptionRemoved();
        m_view.focusControl(Control::AddOption);
    } else {
        m_project.deleteCriterion(m_project.criterionCount() - 1);
        m_view.lastCriterionRemoved();
        m_view.focusControl(Control::AddCriterion);
    }
}

// ---------------------------------------------------------------------------

DeleteStep::DeleteStep(Project& project, MatrixView& view, EntryKind kind, int index)
    : EditStep(project, view, stepName(TextKey::TXT00605, entryTitle(kind, index))), m_kind(kind), m_index(index)
{
}

template <typename Change> void DeleteStep::rebuildAround(Change change)
{
    // The old cells go first: none of them may outlive the entries they show.
    m_view.clearCells();
    change();
    m_view.buildAllCells(true);
    if (m_kind == EntryKind::Option)
        m_view.sizeColumns(m_project.optionCount());
    else
        m_view.sizeRows(m_project.criterionCount());
    m_view.updateStatusLine();
}

void DeleteStep::redo()
{
    rebuildAround([this] {
        if (m_kind == EntryKind::Option)
            m_option = m_project.takeOption(m_index);
        else
            m_criterion = m_project.takeCriterion(m_index);
    });
    if (replaying()) {
        // The neighbour that took the deleted entry's place, or the one
        // before it when the last entry went, or the add button.
        const int count = m_kind == EntryKind::Option ? m_project.optionCount() : m_project.criterionCount();
        if (count == 0)
            m_view.focusControl(m_kind == EntryKind::Option ? Control::AddOption : Control::AddCriterion);
        else
            m_view.focusControl(nameControl(m_kind), std::min(m_index, count - 1));
    }
    markApplied();
}

void DeleteStep::undo()
{
    rebuildAround([this] {
        if (m_option)
            m_project.restoreOption(std::move(*m_option));
        if (m_criterion)
            m_project.restoreCriterion(std::move(*m_criterion));
        m_option.reset();
        m_criterion.reset();
    });
    m_view.focusControl(nameControl(m_kind), m_index);
}

// ---------------------------------------------------------------------------

namespace {

QString moveName(EntryKind kind, int index, MoveDirection direction)
{
    const bool backward = direction == MoveDirection::Backward;
    const TextKey where = kind == EntryKind::Option ? (backward ? TextKey::TXT00607 : TextKey::TXT00608)
                                                    : (backward ? TextKey::TXT00609 : TextKey::TXT00610);
    return stepName(TextKey::TXT00606, entryTitle(kind, index)) + u' ' + uiText(where);
}

} // namespace

MoveStep::MoveStep(Project& project, MatrixView& view, EntryKind kind, int index, MoveDirection direction)
    : EditStep(project, view, moveName(kind, index, direction)), m_kind(kind), m_index(index),
      m_partner(direction == MoveDirection::Backward ? index - 1 : index + 1), m_direction(direction)
{
}

void MoveStep::exchange(int from, MoveDirection direction)
{
    const int to = from == m_index ? m_partner : m_index;
    if (m_kind == EntryKind::Option) {
        if (m_project.moveOption(from, direction))
            m_view.optionsSwapped(from, to);
    } else if (m_project.moveCriterion(from, direction)) {
        m_view.criteriaSwapped(from, to);
    }
}

void MoveStep::redo()
{
    exchange(m_index, m_direction);
    // The moved contents now stand at the partner's place.
    if (replaying())
        m_view.focusControl(nameControl(m_kind), m_partner);
    markApplied();
}

void MoveStep::undo()
{
    exchange(m_partner, reverse(m_direction));
    m_view.focusControl(nameControl(m_kind), m_index);
}

} // namespace ponderix
