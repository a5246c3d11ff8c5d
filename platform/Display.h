#pragma once

namespace ponderix {

// Whether a desktop can be reached at all. Qt ends the process when its
// window system is missing, so the program asks first and can say why.
bool desktopAvailable();

} // namespace ponderix
