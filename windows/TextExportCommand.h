#pragma once

namespace ponderix {

struct WindowContext;

// The text-export command: asks for a file and a layout, remembers both in
// the settings, and writes the project with its scores as tab-separated text.
// A file that cannot be written is reported; the old file stays as it was.
void exportText(const WindowContext& context);

} // namespace ponderix
