#pragma once

namespace ponderix {

// Command numbers of the menus, the toolbar and the shortcuts. Menu items
// and toolbar buttons that do the same thing keep their own numbers and are
// mapped to the same handler.
enum class Command : int {
    New = 1,
    Open = 2,
    Save = 3,
    SaveAs = 4,
    Quit = 6,
    Cut = 7,
    Copy = 8,
    Paste = 9,
    Clear = 10,
    SelectAll = 11,
    Results = 12,
    Profile = 13,
    Report = 14,
    TextExport = 15,
    Demo = 16,
    Help = 18,
    WebPage = 19,
    Signature = 21,
    MoreTools = 22,
    About = 23,
    ToolbarNew = 26,
    ToolbarOpen = 27,
    ToolbarSave = 28,
    ToolbarResults = 29,
    ToolbarProfile = 30,
    ToolbarReport = 31,
    Robustness = 32,
    DecisionRecord = 33,
    Undo = 40,
    Redo = 41,
    SaveBlankCopy = 50,
    CombineTeam = 51,
};

} // namespace ponderix
