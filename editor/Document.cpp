#include "editor/Document.h"

namespace ponderix {

Document::Document(QObject* parent) : QObject(parent) { }

void Document::setBanner(const QString& banner)
{
    m_banner = banner;
    emit bannerChanged(m_banner);
    emit changed();
}

void Document::replace(Project&& project, const QString& banner)
{
    // The views let go of the old entries before they are gone.
    emit projectAboutToBeReplaced();
    m_project = std::move(project);
    m_banner = banner;
    emit bannerChanged(m_banner);
    emit projectReplaced();
    m_history.clear();
    emit changed();
}

void Document::setName(EntryKind kind, int index, const QString& name)
{
    if (kind == EntryKind::Option)
        m_project.setOptionName(index, name);
    else
        m_project.setCriterionName(index, name);
    emit nameChanged(kind, index);
    emit changed();
}

void Document::setImportance(int criterionIndex, int importance)
{
    m_project.setImportance(criterionIndex, importance);
    emit importanceChanged(criterionIndex);
    emit changed();
}

void Document::setValue(int optionIndex, int criterionIndex, int value, bool valueShown)
{
    m_project.setValue(optionIndex, criterionIndex, value);
    emit valueChanged(optionIndex, criterionIndex, valueShown);
    emit changed();
}

void Document::setComment(int optionIndex, int criterionIndex, const QString& comment)
{
    m_project.setComment(optionIndex, criterionIndex, comment);
    emit commentChanged(optionIndex, criterionIndex);
    emit changed();
}

void Document::appendEntry(EntryKind kind, const QString& name)
{
    if (kind == EntryKind::Option)
        m_project.addOption(name);
    else
        m_project.addCriterion(name);
    emit entryAppended(kind);
    emit changed();
}

void Document::removeLastEntry(EntryKind kind)
{
    if (kind == EntryKind::Option)
        m_project.deleteOption(m_project.optionCount() - 1);
    else
        m_project.deleteCriterion(m_project.criterionCount() - 1);
    emit lastEntryRemoved(kind);
    emit changed();
}

template <typename Change> void Document::renumber(EntryKind kind, Change change)
{
    emit entriesAboutToBeRenumbered(kind);
    change();
    emit entriesRenumbered(kind);
    emit changed();
}

std::optional<TakenOption> Document::takeOption(int index)
{
    std::optional<TakenOption> taken;
    renumber(EntryKind::Option, [&] { taken = m_project.takeOption(index); });
    return taken;
}

std::optional<TakenCriterion> Document::takeCriterion(int index)
{
    std::optional<TakenCriterion> taken;
    renumber(EntryKind::Criterion, [&] { taken = m_project.takeCriterion(index); });
    return taken;
}

void Document::restoreOption(TakenOption taken)
{
    renumber(EntryKind::Option, [&] { m_project.restoreOption(std::move(taken)); });
}

void Document::restoreCriterion(TakenCriterion taken)
{
    renumber(EntryKind::Criterion, [&] { m_project.restoreCriterion(std::move(taken)); });
}

bool Document::moveEntry(EntryKind kind, int index, MoveDirection direction)
{
    const bool moved =
        kind == EntryKind::Option ? m_project.moveOption(index, direction) : m_project.moveCriterion(index, direction);
    if (!moved)
        return false;
    emit entriesSwapped(kind, index, direction == MoveDirection::Backward ? index - 1 : index + 1);
    emit changed();
    return true;
}

void Document::requestFocus(FocusTarget target, int index, int criterionIndex)
{
    emit focusRequested(target, index, criterionIndex);
}

} // namespace ponderix
