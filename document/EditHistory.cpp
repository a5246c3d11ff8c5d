#include "document/EditHistory.h"

#include <QSet>

#include <vector>

namespace ponderix {

EditHistory::EditHistory(QObject* parent) : QObject(parent)
{
    m_stack.setUndoLimit(kStepLimit);
    connect(&m_stack, &QUndoStack::indexChanged, this, &EditHistory::stateChanged);
    connect(&m_stack, &QUndoStack::undoTextChanged, this, &EditHistory::stateChanged);
    connect(&m_stack, &QUndoStack::redoTextChanged, this, &EditHistory::stateChanged);
}

void EditHistory::record(HistoryStep* step)
{
    m_stack.push(step);
    keepWithinMemory();
    emit projectChanged();
}

void EditHistory::undo()
{
    if (!canUndo())
        return;
    // A field typed into after an undo starts a step of its own instead of
    // growing the step below the undone one.
    closeMerging();
    m_stack.undo();
    closeMerging();
    emit projectChanged();
}

void EditHistory::redo()
{
    if (!m_stack.canRedo())
        return;
    closeMerging();
    m_stack.redo();
    closeMerging();
    emit projectChanged();
}

namespace {

const HistoryStep* stepOf(const QUndoCommand* command)
{
    return dynamic_cast<const HistoryStep*>(command);
}

} // namespace

int EditHistory::firstUndoable() const
{
    int first = 0;
    while (first < m_stack.count() && stepOf(m_stack.command(first)) && stepOf(m_stack.command(first))->forgotten())
        ++first;
    return first;
}

void EditHistory::keepWithinMemory()
{
    // Bytes kept from each step on to the newest, every text counted once:
    // a comment edited again is the next step's text before.
    const int count = m_stack.count();
    std::vector<qint64> keptFrom(static_cast<std::size_t>(count) + 1, 0);
    QSet<const QChar*> counted;
    std::vector<const QString*> texts;
    for (int at = count - 1; at >= 0; --at) {
        qint64 bytes = keptFrom[static_cast<std::size_t>(at) + 1];
        texts.clear();
        if (const HistoryStep* step = stepOf(m_stack.command(at)))
            step->keptTexts(texts);
        for (const QString* text : texts) {
            if (!text->isEmpty() && !counted.contains(text->constData())) {
                counted.insert(text->constData());
                bytes += text->size() * static_cast<qint64>(sizeof(QChar));
            }
        }
        keptFrom[static_cast<std::size_t>(at)] = bytes;
    }
    bool forgot = false;
    for (int at = firstUndoable(); at < m_stack.index() - 1 && keptFrom[static_cast<std::size_t>(at)] > kTextBytesLimit;
         ++at) {
        // Owned by the stack, which hands them out read-only; the history
        // owns the stack.
        auto* step = const_cast<HistoryStep*>(stepOf(m_stack.command(at)));
        if (!step)
            break;
        step->forget();
        forgot = true;
    }
    if (forgot)
        emit stateChanged();
}

void EditHistory::clear()
{
    closeMerging();
    m_stack.clear();
    emit restarted();
}

} // namespace ponderix
