#pragma once

#include <QObject>
#include <QString>
#include <QUndoCommand>
#include <QUndoStack>

#include <vector>

namespace ponderix {

// What the history needs of a step to keep within its memory: the texts the
// step holds on to, and a way to let them go for good.
class HistoryStep : public QUndoCommand {
public:
    // Every text the step keeps to undo or redo itself (names, comments).
    virtual void keptTexts(std::vector<const QString*>& texts) const { Q_UNUSED(texts); }
    // The step can never be undone again and drops what it kept.
    void forget()
    {
        m_forgotten = true;
        dropKeptTexts();
    }
    bool forgotten() const { return m_forgotten; }

protected:
    virtual void dropKeptTexts() { }

private:
    bool m_forgotten = false;
};

// The open project's history of edits: every change the user makes is
// recorded here as a step that can be undone and redone. The history lives
// only in memory and starts afresh for every project.
class EditHistory final : public QObject {
    Q_OBJECT

public:
    // Older steps are forgotten beyond this many, and beyond this many bytes
    // of names and comments kept for undo (a text several steps keep counts
    // once); the last step always stays.
    static constexpr int kStepLimit = 1000;
    static constexpr qint64 kTextBytesLimit = 100LL * 1024 * 1024;

    explicit EditHistory(QObject* parent = nullptr);

    // Takes over a step the user has just made and applies it. A step that
    // merges into the last one (more typing in the same field, more of the
    // same slider drag) makes no new step. An undo or redo never comes back
    // here as a new step: the views show what it changed with their
    // controls' signals blocked, and that is the one guard against echoes.
    void record(HistoryStep* step);

    void undo();
    void redo();
    bool canUndo() const { return m_stack.canUndo() && m_stack.index() > firstUndoable(); }
    bool canRedo() const { return m_stack.canRedo(); }
    // The name of the step, "delete Option B"; empty when there is none.
    QString undoText() const { return canUndo() ? m_stack.undoText() : QString(); }
    QString redoText() const { return m_stack.redoText(); }
    int count() const { return m_stack.count(); }
    int index() const { return m_stack.index(); }

    // A fresh history for another project.
    void clear();

    // Ends the current run of merging steps: from now on the next small
    // change is a step of its own (the field lost the focus, the knob was
    // let go, a step was undone).
    void closeMerging() { ++m_mergeSerial; }
    int mergeSerial() const { return m_mergeSerial; }

signals:
    // The project changed by a step: recorded, merged, undone or redone.
    void projectChanged();
    // What can be undone or redone, or its name, may have changed.
    void stateChanged();
    // The history was cleared for another project.
    void restarted();

private:
    // The steps let go to stay within the memory bound come first; undo
    // stops above them.
    int firstUndoable() const;
    void keepWithinMemory();

    QUndoStack m_stack;
    int m_mergeSerial = 0;
};

} // namespace ponderix
