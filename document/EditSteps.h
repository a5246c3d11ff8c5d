#pragma once

#include "document/Document.h"
#include "project/Project.h"

#include <QString>
#include <QUndoCommand>

#include <optional>
#include <vector>

namespace ponderix {

// One class per kind of edit. Each keeps only what its edit changed and
// applies it to the document, which tells the views. The first redo() is
// the edit being recorded; only later redos and undos move the keyboard
// focus to the control that changed.
class EditStep : public HistoryStep {
protected:
    EditStep(Document& document, const QString& name);
    // True from the second application on.
    bool replaying() const { return m_applied; }
    void markApplied() { m_applied = true; }
    const Project& project() const { return m_document.project(); }

    Document& m_document;

private:
    bool m_applied = false;
};

// Merge ids of the steps a user action makes many of.
enum class MergingStep : int { RatingValue = 1, Importance, Name };

// A rating's value, and whether its value box showed the value before; the
// steps of one slider drag (made with the same `mergeSerial`) merge.
class RatingValueStep final : public EditStep {
public:
    RatingValueStep(Document& document, int optionIndex, int criterionIndex, int value, bool valueWasShown,
                    std::optional<int> mergeSerial);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    int m_option;
    int m_criterion;
    int m_before;
    int m_after;
    bool m_shownBefore;
    std::optional<int> m_mergeSerial;
};

class ImportanceStep final : public EditStep {
public:
    ImportanceStep(Document& document, int criterionIndex, int importance, std::optional<int> mergeSerial);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    int m_criterion;
    int m_before;
    int m_after;
    std::optional<int> m_mergeSerial;
};

// An option's or a criterion's name; all typing in one field until it loses
// the focus (or Enter) is one step.
class NameStep final : public EditStep {
public:
    NameStep(Document& document, EntryKind kind, int index, const QString& name, int mergeSerial);
    void undo() override;
    void redo() override;
    int id() const override { return static_cast<int>(MergingStep::Name); }
    bool mergeWith(const QUndoCommand* other) override;

    void keptTexts(std::vector<const QString*>& texts) const override;

protected:
    void dropKeptTexts() override;

private:
    EntryKind m_kind;
    int m_index;
    QString m_before;
    QString m_after;
    int m_mergeSerial;
};

class CommentStep final : public EditStep {
public:
    CommentStep(Document& document, int optionIndex, int criterionIndex, const QString& comment);
    void undo() override;
    void redo() override;

    void keptTexts(std::vector<const QString*>& texts) const override;

protected:
    void dropKeptTexts() override;

private:
    int m_option;
    int m_criterion;
    QString m_before;
    QString m_after;
};

// A new entry at the end, with a neutral rating for every counterpart.
class AddStep final : public EditStep {
public:
    AddStep(Document& document, EntryKind kind, const QString& name);
    void undo() override;
    void redo() override;

private:
    EntryKind m_kind;
    QString m_name;
};

// Deleting keeps the entry with its ratings and comments, so that undo puts
// it back at its place and gives its neighbours their numbers back.
class DeleteStep final : public EditStep {
public:
    DeleteStep(Document& document, EntryKind kind, int index);
    void undo() override;
    void redo() override;

    void keptTexts(std::vector<const QString*>& texts) const override;

protected:
    void dropKeptTexts() override;

private:
    EntryKind m_kind;
    int m_index;
    std::optional<TakenOption> m_option;
    std::optional<TakenCriterion> m_criterion;
};

// Exchanging an entry's contents with its neighbour's; its own reverse.
class MoveStep final : public EditStep {
public:
    MoveStep(Document& document, EntryKind kind, int index, MoveDirection direction);
    void undo() override;
    void redo() override;

private:
    EntryKind m_kind;
    int m_index;
    int m_partner;
    MoveDirection m_direction;
};

} // namespace ponderix
