#pragma once

#include "base/TextTable.h"
#include "project/Project.h"

#include <QString>

namespace ponderix {

class Dialogs;
class Document;

// The commands that change the project's structure: new project, add, delete,
// move and the comment prompt, each with its question or refusal. Each edit
// is recorded as a step of the document's edit history; a new project starts
// a fresh history.
class EditingCommands final {
public:
    EditingCommands(Document& document, Dialogs& dialogs);

    // `marker` is empty for the user's command (which asks first) and "Start"
    // at start-up. Returns false when the user said No.
    bool newProject(const QString& marker);
    void addOption();
    void addCriterion();
    void deleteOption(int optionIndex);
    void deleteCriterion(int criterionIndex);
    void moveOption(int optionIndex, MoveDirection direction);
    void moveCriterion(int criterionIndex, MoveDirection direction);
    // The comment prompt; cancelling it keeps the comment as it was.
    void editComment(int optionIndex, int criterionIndex);

private:
    bool askYesNo(TextKey titleKey, const QString& text);
    // Shows the limit message for a refusal; false when there is none.
    bool refused(AddRefusal refusal, TextKey countLimitKey);

    Document& m_document;
    const Project& m_project;
    Dialogs& m_dialogs;
};

} // namespace ponderix
