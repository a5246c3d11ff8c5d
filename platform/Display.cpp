#include "platform/Display.h"

#include <QtGlobal>

#include <xcb/xcb.h>

namespace ponderix {

bool desktopAvailable()
{
    // An explicitly chosen platform (offscreen, vnc, wayland...) is trusted.
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

} // namespace ponderix
