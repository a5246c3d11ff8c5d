#pragma once

namespace ponderix {

// Whether the display Qt would connect to can be reached at all. Qt ends the
// process when its window system is missing, so the program asks first and
// can say why. Qt may still fail where this said yes (a platform it cannot
// load, a display gone in the meantime); the program guards that connection
// as well.
bool desktopAvailable();

} // namespace ponderix
