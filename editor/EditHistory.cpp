#include "editor/EditHistory.h"

#include <QUndoCommand>

#include <memory>

namespace ponderix {

EditHistory::EditHistory(QObject* parent) : QObject(parent)
{
    m_stack.setUndoLimit(kStepLimit);
    connect(&m_stack, &QUndoStack::indexChanged, this, &EditHistory::stateChanged);
    connect(&m_stack, &QUndoStack::undoTextChanged, this, &EditHistory::stateChanged);
    connect(&m_stack, &QUndoStack::redoTextChanged, this, &EditHistory::stateChanged);
}

void EditHistory::record(QUndoCommand* step)
{
    std::unique_ptr<QUndoCommand> owned(step);
    if (m_replaying)
        return;
    m_replaying = true;
    m_stack.push(owned.release());
    m_replaying = false;
    emit projectChanged();
}

void EditHistory::undo()
{
    if (m_replaying || !m_stack.canUndo())
        return;
    // A field typed into after an undo starts a step of its own instead of
    // growing the step below the undone one.
    closeMerging();
    m_replaying = true;
    m_stack.undo();
    m_replaying = false;
    closeMerging();
    emit projectChanged();
}

void EditHistory::redo()
{
    if (m_replaying || !m_stack.canRedo())
        return;
    closeMerging();
    m_replaying = true;
    m_stack.redo();
    m_replaying = false;
    closeMerging();
    emit projectChanged();
}

void EditHistory::clear()
{
    closeMerging();
    m_stack.clear();
    emit restarted();
}

} // namespace ponderix
