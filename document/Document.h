#pragma once

#include "document/EditHistory.h"
#include "project/Project.h"

#include <QObject>
#include <QString>

#include <optional>

namespace ponderix {

enum class EntryKind { Option, Criterion };

// What an undo or redo hands the keyboard focus to: the control showing the
// entry or rating it changed, or an add button when the entry went away.
enum class FocusTarget { OptionName, CriterionName, Importance, RatingValue, Comment, AddOption, AddCriterion };

// The open project with its banner and its history of edits. Every change
// to it goes through here: the edit steps change it one value or entry at a
// time, the file commands replace it whole. Each change is announced by a
// signal, so the matrix view and every window showing the project follow
// it without the one making the change knowing who is looking.
class Document final : public QObject {
    Q_OBJECT

public:
    explicit Document(QObject* parent = nullptr);

    // Read-only: every change goes through the calls below, so that whoever
    // shows the project hears of it.
    const Project& project() const { return m_project; }
    EditHistory& history() { return m_history; }

    const QString& banner() const { return m_banner; }
    void setBanner(const QString& banner);

    // Whether the project holds work that is in no file: edits since it was
    // opened or saved, or a project that arrived unsaved. Recovery keeps a
    // copy of exactly that.
    bool hasUnsavedWork() const { return m_unsavedWork; }

    // How a replacing project arrives: read from its file or made empty
    // (nothing to lose yet), or made here with work in it that no file holds
    // (a team's combined project, an import, work restored after a crash).
    enum class Arrival { Saved, Unsaved };

    // Another project takes the place of this one, with its banner and the
    // file it is saved in (empty: Save asks for a name), and starts a fresh
    // history: nothing before may be undone into it. The last folder is the
    // program's, not the project's, and stays.
    void replace(Project&& project, const QString& banner, const QString& path = {}, Arrival arrival = Arrival::Saved);
    // The project was written whole to `path`, which is now its file.
    void markSaved(const QString& path, const QString& banner);
    // Where the next file dialog starts.
    void setLastFolder(const QString& folder);

    // The changes the edit steps make. `valueShown` says whether the
    // rating's value box shows the value afterwards, which only the views
    // keep.
    void setName(EntryKind kind, int index, const QString& name);
    void setImportance(int criterionIndex, int importance);
    void setValue(int optionIndex, int criterionIndex, int value, bool valueShown);
    void setComment(int optionIndex, int criterionIndex, const QString& comment);
    void appendEntry(EntryKind kind, const QString& name);
    void removeLastEntry(EntryKind kind);
    std::optional<TakenOption> takeOption(int index);
    std::optional<TakenCriterion> takeCriterion(int index);
    void restoreOption(TakenOption taken);
    void restoreCriterion(TakenCriterion taken);
    // Exchanges the entry's contents with its neighbour's; false at either end.
    bool moveEntry(EntryKind kind, int index, MoveDirection direction);

    // An undo or redo asks the views to show the user what it changed.
    void requestFocus(FocusTarget target, int index = 0, int criterionIndex = 0);

signals:
    void nameChanged(ponderix::EntryKind kind, int index);
    void importanceChanged(int criterionIndex);
    void valueChanged(int optionIndex, int criterionIndex, bool valueShown);
    void commentChanged(int optionIndex, int criterionIndex);
    // A new entry at the end of its list, and the last entry taken away again.
    void entryAppended(ponderix::EntryKind kind);
    void lastEntryRemoved(ponderix::EntryKind kind);
    // An entry is taken out or put back, and every later one changes its
    // number: a view lets go of what it shows of the list first.
    void entriesAboutToBeRenumbered(ponderix::EntryKind kind);
    void entriesRenumbered(ponderix::EntryKind kind);
    void entriesSwapped(ponderix::EntryKind kind, int first, int second);
    void projectAboutToBeReplaced();
    void projectReplaced();
    void bannerChanged(const QString& banner);
    // The project's file or the last folder changed.
    void fileChanged();
    void focusRequested(ponderix::FocusTarget target, int index, int criterionIndex);
    // After any of the changes above: for views that show the whole project.
    void changed();

private:
    // Runs `change`, which takes an entry out or puts one back, between
    // the announcements around renumbering.
    template <typename Change> void renumber(EntryKind kind, Change change);

    // Every edit makes the work unsaved; each change announces itself.
    void edited();

    Project m_project;
    QString m_banner;
    EditHistory m_history;
    bool m_unsavedWork = false;
};

} // namespace ponderix
