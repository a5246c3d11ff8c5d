#pragma once

#include <QString>

namespace ponderix {

// The folders the program works with, resolved once at start-up. Every
// folder path ends with "/"; a folder the system cannot name is empty.
struct ApplicationFolders {
    // Where the save dialogs start: the home folder when the system's
    // documents (pictures) folder does not exist.
    QString documents;
    QString pictures;
    QString applicationData; // per-user configuration folder + AppData_Subdir
    QString temporary;       // private to this user: chart files, demo copy
    QString state;           // per-user state: the recovery copy of unsaved work
    QString programPath;     // the running program file
    QString programFolder;

    QString settingsFile() const;
};

ApplicationFolders resolveFolders();

// Where a save dialog starts for a file remembered from last time. Had its
// folder gone since, the dialog would open in the program's working
// directory, where one Enter writes the file; the same name in
// `fallbackFolder` (ending in "/") is offered instead.
QString dialogStartPath(const QString& remembered, const QString& fallbackFolder);

// The per-user state folder of the program: $XDG_STATE_HOME/Ponderix/ when
// that variable names an absolute folder, else ~/.local/state/Ponderix/;
// empty when neither can be named. Qt has no location for it.
QString stateFolder();

// The offline help document. A copy beside the program (the build tree, a
// portable folder) comes first; else the one in the data folder of the
// installation the program belongs to: <prefix>/share/ponderix/ for
// <prefix>/bin/ponderix. When neither exists the path beside the program is
// returned, so the failure names the usual place.
QString helpDocumentPath(const ApplicationFolders& folders);

// Whether a private folder could be made, and if not why: its path and the
// reason, ready to be shown.
struct PrivateFolder {
    QString problem; // "<folder>: <reason>"; empty when the folder is ready
    // The folder was open to others' writing until now: what is in it may
    // have been put there by someone else.
    bool othersCouldWrite = false;

    explicit operator bool() const { return problem.isEmpty(); }
};

// What happens to the contents of an existing folder that others could
// write into.
enum class ForeignContents {
    Keep,    // the user's own files: settings, recovery copies
    Discard, // scratch files only: anything in it may have been put there by
             // someone else, such as a link to one of the user's files
             // waiting for the program to write through it
};

// Creates `folder` (and its parents) readable only by the user, or accepts an
// existing one that is a real folder owned by the user and closes it to
// others. A library is later loaded from the temporary folder, so a folder of
// someone else's, or a link planted in its place, is refused.
PrivateFolder makePrivateFolder(const QString& folder, ForeignContents contents);

// Removes a folder with everything in it; failures are ignored.
void removeFolder(const QString& folder);

} // namespace ponderix
