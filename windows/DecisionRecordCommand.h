#pragma once

namespace ponderix {

struct WindowContext;

// The decision-record command: asks for a file (HTML or PDF, the extension
// decides), asks before replacing one, and writes the record while the
// program stays responsive, with a progress dialog and Cancel once it takes
// a second. A file that cannot be written is reported; a cancelled record
// leaves an earlier file as it was.
void exportDecisionRecord(const WindowContext& context);

} // namespace ponderix
