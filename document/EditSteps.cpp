#include "document/EditSteps.h"

#include "base/TextTable.h"
#include "document/CellTexts.h"

#include <algorithm>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

QString entryTitle(EntryKind kind, int index)
{
    return kind == EntryKind::Option ? optionTitle(index) : criterionTitle(index);
}

int entryCount(const Project& project, EntryKind kind)
{
    return kind == EntryKind::Option ? project.optionCount() : project.criterionCount();
}

QString stepName(TextKey verb, const QString& what)
{
    return uiText(verb) + u' ' + what;
}

MoveDirection reverse(MoveDirection direction)
{
    return direction == MoveDirection::Backward ? MoveDirection::Forward : MoveDirection::Backward;
}

FocusTarget nameTarget(EntryKind kind)
{
    return kind == EntryKind::Option ? FocusTarget::OptionName : FocusTarget::CriterionName;
}

FocusTarget addTarget(EntryKind kind)
{
    return kind == EntryKind::Option ? FocusTarget::AddOption : FocusTarget::AddCriterion;
}

} // namespace

EditStep::EditStep(Document& document, const QString& name) : m_document(document)
{
    setText(name);
}

// ---------------------------------------------------------------------------

RatingValueStep::RatingValueStep(Document& document, int optionIndex, int criterionIndex, int value, bool valueWasShown,
                                 std::optional<int> mergeSerial)
    : EditStep(document, stepName(TextKey::TXT00600, ratingPosition(optionIndex, criterionIndex))),
      m_option(optionIndex), m_criterion(criterionIndex), m_before(kNeutralValue), m_after(clampValue(value)),
      m_shownBefore(valueWasShown), m_mergeSerial(mergeSerial)
{
    if (const Rating* rating = project().ratingOf(optionIndex, criterionIndex))
        m_before = rating->Value;
}

void RatingValueStep::redo()
{
    m_document.setValue(m_option, m_criterion, m_after, true);
    if (replaying())
        m_document.requestFocus(FocusTarget::RatingValue, m_option, m_criterion);
    markApplied();
}

void RatingValueStep::undo()
{
    m_document.setValue(m_option, m_criterion, m_before, m_shownBefore);
    m_document.requestFocus(FocusTarget::RatingValue, m_option, m_criterion);
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

ImportanceStep::ImportanceStep(Document& document, int criterionIndex, int importance, std::optional<int> mergeSerial)
    : EditStep(document, stepName(TextKey::TXT00601, criterionTitle(criterionIndex))), m_criterion(criterionIndex),
      m_before(kImportanceOfNewCriterion), m_after(clampImportance(importance)), m_mergeSerial(mergeSerial)
{
    if (criterionIndex >= 0 && criterionIndex < project().criterionCount())
        m_before = project().criteria()[static_cast<std::size_t>(criterionIndex)].Importance;
}

void ImportanceStep::redo()
{
    m_document.setImportance(m_criterion, m_after);
    if (replaying())
        m_document.requestFocus(FocusTarget::Importance, m_criterion);
    markApplied();
}

void ImportanceStep::undo()
{
    m_document.setImportance(m_criterion, m_before);
    m_document.requestFocus(FocusTarget::Importance, m_criterion);
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

NameStep::NameStep(Document& document, EntryKind kind, int index, const QString& name, int mergeSerial)
    : EditStep(document, stepName(TextKey::TXT00603, entryTitle(kind, index))), m_kind(kind), m_index(index),
      m_after(name), m_mergeSerial(mergeSerial)
{
    const auto position = static_cast<std::size_t>(index);
    if (kind == EntryKind::Option && index >= 0 && index < project().optionCount())
        m_before = project().options()[position].Name;
    else if (kind == EntryKind::Criterion && index >= 0 && index < project().criterionCount())
        m_before = project().criteria()[position].Name;
}

void NameStep::redo()
{
    m_document.setName(m_kind, m_index, m_after);
    if (replaying())
        m_document.requestFocus(nameTarget(m_kind), m_index);
    markApplied();
}

void NameStep::undo()
{
    m_document.setName(m_kind, m_index, m_before);
    m_document.requestFocus(nameTarget(m_kind), m_index);
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

void NameStep::keptTexts(std::vector<const QString*>& texts) const
{
    texts.insert(texts.end(), {&m_before, &m_after});
}

void NameStep::dropKeptTexts()
{
    m_before.clear();
    m_after.clear();
}

// ---------------------------------------------------------------------------

CommentStep::CommentStep(Document& document, int optionIndex, int criterionIndex, const QString& comment)
    : EditStep(document, stepName(TextKey::TXT00602, ratingPosition(optionIndex, criterionIndex))),
      m_option(optionIndex), m_criterion(criterionIndex), m_after(comment)
{
    if (const Rating* rating = project().ratingOf(optionIndex, criterionIndex))
        m_before = rating->Comment;
}

void CommentStep::redo()
{
    m_document.setComment(m_option, m_criterion, m_after);
    if (replaying())
        m_document.requestFocus(FocusTarget::Comment, m_option, m_criterion);
    markApplied();
}

void CommentStep::undo()
{
    m_document.setComment(m_option, m_criterion, m_before);
    m_document.requestFocus(FocusTarget::Comment, m_option, m_criterion);
}

void CommentStep::keptTexts(std::vector<const QString*>& texts) const
{
    texts.insert(texts.end(), {&m_before, &m_after});
}

void CommentStep::dropKeptTexts()
{
    m_before.clear();
    m_after.clear();
}

// ---------------------------------------------------------------------------

AddStep::AddStep(Document& document, EntryKind kind, const QString& name)
    : EditStep(document, stepName(TextKey::TXT00604, entryTitle(kind, entryCount(document.project(), kind)))),
      m_kind(kind), m_name(name)
{
}

void AddStep::redo()
{
    m_document.appendEntry(m_kind, m_name);
    // The first time as well as on a redo: the new entry is scrolled into
    // view and its name is the first thing the user fills in.
    m_document.requestFocus(nameTarget(m_kind), entryCount(project(), m_kind) - 1);
    markApplied();
}

void AddStep::undo()
{
    // The entry added last is still the last one: every later step that
    // could have changed that has been undone before this one.
    m_document.removeLastEntry(m_kind);
    m_document.requestFocus(addTarget(m_kind));
}

// ---------------------------------------------------------------------------

DeleteStep::DeleteStep(Document& document, EntryKind kind, int index)
    : EditStep(document, stepName(TextKey::TXT00605, entryTitle(kind, index))), m_kind(kind), m_index(index)
{
}

void DeleteStep::redo()
{
    if (m_kind == EntryKind::Option)
        m_option = m_document.takeOption(m_index);
    else
        m_criterion = m_document.takeCriterion(m_index);
    if (replaying()) {
        // The neighbour that took the deleted entry's place, or the one
        // before it when the last entry went, or the add button.
        const int count = entryCount(project(), m_kind);
        if (count == 0)
            m_document.requestFocus(addTarget(m_kind));
        else
            m_document.requestFocus(nameTarget(m_kind), std::min(m_index, count - 1));
    }
    markApplied();
}

void DeleteStep::undo()
{
    if (m_option)
        m_document.restoreOption(std::move(*m_option));
    if (m_criterion)
        m_document.restoreCriterion(std::move(*m_criterion));
    m_option.reset();
    m_criterion.reset();
    m_document.requestFocus(nameTarget(m_kind), m_index);
}

void DeleteStep::keptTexts(std::vector<const QString*>& texts) const
{
    const auto keep = [&](const auto& entry, const TakenRatings& ratings) {
        texts.push_back(&entry.Name);
        for (const Rating& rating : ratings.ratings)
            texts.push_back(&rating.Comment);
    };
    if (m_option)
        keep(m_option->option, m_option->ratings);
    if (m_criterion)
        keep(m_criterion->criterion, m_criterion->ratings);
}

void DeleteStep::dropKeptTexts()
{
    m_option.reset();
    m_criterion.reset();
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

MoveStep::MoveStep(Document& document, EntryKind kind, int index, MoveDirection direction)
    : EditStep(document, moveName(kind, index, direction)), m_kind(kind), m_index(index),
      m_partner(direction == MoveDirection::Backward ? index - 1 : index + 1), m_direction(direction)
{
}

void MoveStep::redo()
{
    m_document.moveEntry(m_kind, m_index, m_direction);
    // The moved contents now stand at the partner's place.
    if (replaying())
        m_document.requestFocus(nameTarget(m_kind), m_partner);
    markApplied();
}

void MoveStep::undo()
{
    m_document.moveEntry(m_kind, m_partner, reverse(m_direction));
    m_document.requestFocus(nameTarget(m_kind), m_index);
}

} // namespace ponderix
