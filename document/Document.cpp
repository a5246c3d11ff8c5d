#include "document/Document.h"

namespace ponderix {

Document::Document(QObject* parent) : QObject(parent) { }

void Document::setBanner(const QString& banner)
{
    m_banner = banner;
    emit bannerChanged(m_banner);
    emit changed();
}

void Document::replace(Project&& project, const QString& banner, const QString& path, Arrival arrival)
{
    // The views let go of the old entries before they are gone.
    emit projectAboutToBeReplaced();
    project.setLastFolder(m_project.lastFolder());
    project.setPath(path);
    m_project = std::move(project);
    m_banner = banner;
    m_unsavedWork = arrival == Arrival::Unsaved;
    emit bannerChanged(m_banner);
    emit projectReplaced();
    m_history.clear();
    emit fileChanged();
    emit changed();
}

void Document::markSaved(const QString& path, const QString& banner)
{
    m_project.setPath(path);
    m_banner = banner;
    m_unsavedWork = false;
    emit bannerChanged(m_banner);
    emit fileChanged();
    emit changed();
}

void Document::setLastFolder(const QString& folder)
{
    if (folder == m_project.lastFolder())
        return;
    m_project.setLastFolder(folder);
    emit fileChanged();
}

void Document::edited()
{
    m_unsavedWork = true;
    emit changed();
}

void Document::setName(EntryKind kind, int index, const QString& name)
{
    if (kind == EntryKind::Option)
        m_project.setOptionName(index, name);
    else
        m_project.setCriterionName(index, name);
    emit nameChanged(kind, index);
    edited();
}

void Document::setImportance(int criterionIndex, int importance)
{
    m_project.setImportance(criterionIndex, importance);
    emit importanceChanged(criterionIndex);
    edited();
}

void Document::setValue(int optionIndex, int criterionIndex, int value, bool valueShown)
{
    m_project.setValue(optionIndex, criterionIndex, value);
    emit valueChanged(optionIndex, criterionIndex, valueShown);
    edited();
}

void Document::setComment(int optionIndex, int criterionIndex, const QString& comment)
{
    m_project.setComment(optionIndex, criterionIndex, comment);
    emit commentChanged(optionIndex, criterionIndex);
    edited();
}

void Document::appendEntry(EntryKind kind, const QString& name)
{
    if (kind == EntryKind::Option)
        m_project.addOption(name);
    else
        m_project.addCriterion(name);
    emit entryAppended(kind);
    edited();
}

void Document::removeLastEntry(EntryKind kind)
{
    if (kind == EntryKind::Option)
        m_project.deleteOption(m_project.optionCount() - 1);
    else
        m_project.deleteCriterion(m_project.criterionCount() - 1);
    emit lastEntryRemoved(kind);
    edited();
}

template <typename Change> void Document::renumber(EntryKind kind, Change change)
{
    emit entriesAboutToBeRenumbered(kind);
    change();
    emit entriesRenumbered(kind);
    edited();
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
    edited();
    return true;
}

void Document::requestFocus(FocusTarget target, int index, int criterionIndex)
{
    emit focusRequested(target, index, criterionIndex);
}

} // namespace ponderix
