#pragma once

namespace ponderix {

class Document;
class EditingCommands;
class MatrixView;

// The view shows every change the document announces: names, values,
// entries added, taken, moved, the project replaced, the banner, and the
// control an undo or redo hands the keyboard focus to.
void followDocument(Document& document, MatrixView& view);

// Puts a matrix view to work on a document: the user's edits in the view
// become steps of the document's history, the view's requests run the
// editing commands, and the view follows every change the document
// announces. The program and the tests wire a view this one way.
void wireMatrixView(Document& document, MatrixView& view, EditingCommands& commands);

} // namespace ponderix
