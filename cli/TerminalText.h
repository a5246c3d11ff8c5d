#pragma once

#include <QString>

namespace ponderix {
class Project;
}

namespace ponderix::cli {

// What the plain outputs of ponderix-cli show of a user's text (names, file
// names, anything read from a file or a command line): every control
// character, U+0000-U+001F, U+007F and U+0080-U+009F, becomes a visible
// escape in the style of C and Python, so that a name cannot move the cursor,
// overwrite a line (a CR) or send the terminal a command (ESC, CSI):
//   tab \t, line feed \n, carriage return \r, any other \xHH (two hex digits,
//   upper case: \x1B, \x7F, \x9B).
// A backslash stays as it is: the escapes are for the eye, not to be read
// back. The text is first cut as displayText() cuts it; --json, the files
// and the text export keep every name unchanged.
QString terminalText(const QString& text);
// The same for text made of lines, such as a message: a line feed stays one.
QString terminalLines(const QString& text);
// The project with its option and criterion names as terminalText, for the
// plain outputs that show names through the shared text helpers. Taken by
// value: a project read only to be shown is moved in, not copied.
Project withTerminalNames(Project project);

} // namespace ponderix::cli
