#include "editor/MatrixWiring.h"

#include "document/Document.h"
#include "document/EditSteps.h"
#include "document/EditingCommands.h"
#include "editor/MatrixView.h"

#include <optional>

namespace ponderix {

namespace {

void recordEdits(Document& document, MatrixView& view)
{
    EditHistory& history = document.history();
    const auto serialWhile = [&history](bool dragging) {
        return dragging ? std::optional<int>(history.mergeSerial()) : std::nullopt;
    };
    QObject::connect(&view, &MatrixView::nameEdited, &document,
                     [&document, &history](EntryKind kind, int index, const QString& name) {
                         history.record(new NameStep(document, kind, index, name, history.mergeSerial()));
                     });
    QObject::connect(&view, &MatrixView::importanceEdited, &document,
                     [&document, &history, serialWhile](int index, int importance, bool dragging) {
                         history.record(new ImportanceStep(document, index, importance, serialWhile(dragging)));
                     });
    QObject::connect(&view, &MatrixView::valueEdited, &document,
                     [&document, &history, serialWhile](int option, int criterion, int value, bool wasShown,
                                                        bool dragging) {
                         history.record(
                             new RatingValueStep(document, option, criterion, value, wasShown, serialWhile(dragging)));
                     });
    QObject::connect(&view, &MatrixView::editRunEnded, &history, &EditHistory::closeMerging);
}

void runRequests(MatrixView& view, EditingCommands& commands)
{
    QObject::connect(&view, &MatrixView::addOptionRequested, &view, [&commands] { commands.addOption(); });
    QObject::connect(&view, &MatrixView::addCriterionRequested, &view, [&commands] { commands.addCriterion(); });
    QObject::connect(&view, &MatrixView::deleteOptionRequested, &view,
                     [&commands](int index) { commands.deleteOption(index); });
    QObject::connect(&view, &MatrixView::deleteCriterionRequested, &view,
                     [&commands](int index) { commands.deleteCriterion(index); });
    QObject::connect(&view, &MatrixView::moveOptionRequested, &view,
                     [&commands](int index, MoveDirection direction) { commands.moveOption(index, direction); });
    QObject::connect(&view, &MatrixView::moveCriterionRequested, &view,
                     [&commands](int index, MoveDirection direction) { commands.moveCriterion(index, direction); });
    QObject::connect(&view, &MatrixView::commentRequested, &view,
                     [&commands](int option, int criterion) { commands.editComment(option, criterion); });
}

} // namespace

void followDocument(Document& document, MatrixView& view)
{
    QObject::connect(&document, &Document::nameChanged, &view, &MatrixView::showName);
    QObject::connect(&document, &Document::importanceChanged, &view, &MatrixView::showImportance);
    QObject::connect(&document, &Document::valueChanged, &view, &MatrixView::showRatingValue);
    QObject::connect(&document, &Document::commentChanged, &view, &MatrixView::commentChanged);
    QObject::connect(&document, &Document::entryAppended, &view, &MatrixView::entryAppended);
    QObject::connect(&document, &Document::lastEntryRemoved, &view, &MatrixView::lastEntryRemoved);
    // The old cells go first: none of them may outlive the entries they show.
    QObject::connect(&document, &Document::entriesAboutToBeRenumbered, &view, &MatrixView::clearCells);
    QObject::connect(&document, &Document::entriesRenumbered, &view, &MatrixView::entriesRenumbered);
    QObject::connect(&document, &Document::entriesSwapped, &view, &MatrixView::entriesSwapped);
    QObject::connect(&document, &Document::projectAboutToBeReplaced, &view, &MatrixView::clearCells);
    QObject::connect(&document, &Document::projectReplaced, &view, &MatrixView::showProject);
    QObject::connect(&document, &Document::bannerChanged, &view, &MatrixView::setBanner);
    QObject::connect(&document, &Document::focusRequested, &view, &MatrixView::focusControl);
}

void wireMatrixView(Document& document, MatrixView& view, EditingCommands& commands)
{
    recordEdits(document, view);
    runRequests(view, commands);
    followDocument(document, view);
}

} // namespace ponderix
