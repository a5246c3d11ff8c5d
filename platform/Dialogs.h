#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QTextDocument;

namespace ponderix {

// Every message box, question, file, text and print dialog of the program goes
// through this interface, so that tests can answer them from a script and
// the program never blocks on a dialog nobody will see.
class Dialogs {
public:
    enum class Icon { None, Information, Question, Warning };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    // A file chosen in a save or open dialog; empty when cancelled.
    struct FileChoice {
        QString path;
        int patternIndex = 0; // position of the selected description|pattern pair
    };

    virtual ~Dialogs() = default;

    // `defaultAnswer` is the button Enter presses; by default the first one.
    virtual Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons = Buttons::Ok,
                           std::optional<Answer> defaultAnswer = std::nullopt) = 0;

    // `patterns` alternates descriptions and patterns, separated by "|":
    // "Ponderix (*.pnx)|*.pnx". `initialPath` may name a folder or a file.
    virtual FileChoice openFile(const QString& title, const QString& initialPath, const QString& patterns,
                                int selectedPattern) = 0;
    virtual FileChoice saveFile(const QString& title, const QString& initialPath, const QString& patterns,
                                int selectedPattern) = 0;
    // An open dialog where several files may be chosen at once; empty when
    // cancelled.
    virtual QStringList openFiles(const QString& title, const QString& initialPath, const QString& patterns) = 0;

    // A one-line text entry; empty optional when the user cancels.
    virtual std::optional<QString> textEntry(const QString& title, const QString& prompt,
                                             const QString& initialText) = 0;

    // Hands a file or web address to the desktop to open; the outcome is not
    // examined (a missing help file or browser is the desktop's to report).
    virtual void openExternal(const QUrl& url) = 0;

    // Shows what identifies a file: its path, size, date and SHA-256 checksum.
    virtual void fileProperties(const QString& title, const QString& filePath) = 0;

    // The print dialog for a job of that name: the printer the user chose,
    // set up and named for the job, or null when the dialog was cancelled.
    virtual std::unique_ptr<QPrinter> choosePrinter(const QString& jobName) = 0;

    // The print preview of a document, where the user sets up the page and
    // prints; it reports its own errors.
    virtual void printPreview(const QTextDocument& document) = 0;

    // Tells how many parts of a total are done; false once the user cancelled.
    using ProgressReport = std::function<bool(int done, int total)>;

    // Runs `work` on a thread of its own while the program stays responsive
    // and takes no other input. Once the work has taken a second, a dialog
    // titled `title` shows `label`, how far it is and a Cancel button
    // captioned `cancelText`. Returns when `work` has returned.
    virtual void runWithProgress(const QString& title, const QString& label, const QString& cancelText,
                                 const std::function<void(const ProgressReport&)>& work) = 0;
};

// Before an export writes over a file: true when nothing stands at `path`
// or the user said Yes to the "Replace file" question, whose default is No,
// so one Enter too many never costs an older export.
bool mayReplace(Dialogs& dialogs, const QString& path);

} // namespace ponderix
