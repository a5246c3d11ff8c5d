#include "platform/gui/Display.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <xcb/xcb.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace ponderix {

namespace {

bool xcbReachable()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

// The compositor's socket, found the way the Wayland client library finds it:
// WAYLAND_DISPLAY as a path, or as a name in the runtime folder ("wayland-0"
// when unset). A socket handed over by the parent is trusted.
bool waylandReachable()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return true;
    QByteArray path = qgetenv("WAYLAND_DISPLAY");
    if (path.isEmpty())
        path = "wayland-0";
    if (!path.startsWith('/')) {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return false;
        path = runtime + '/' + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int channel = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (channel < 0)
        return false;
    const bool reachable = connect(channel, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(channel);
    return reachable;
}

} // namespace

bool desktopAvailable()
{
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (chosen.isEmpty())
        return waylandReachable() || xcbReachable();
    // "wayland;xcb" lists platforms to try in turn; options follow a colon.
    for (const QByteArray& entry : chosen.split(';')) {
        const QByteArray name = entry.split(':').constFirst().trimmed();
        if (name == "xcb") {
            if (xcbReachable())
                return true;
        } else if (name.startsWith("wayland")) {
            if (waylandReachable())
                return true;
        } else if (!name.isEmpty()) {
            // Platforms without a display server (offscreen, vnc, eglfs...)
            // are Qt's to judge.
            return true;
        }
    }
    return false;
}

} // namespace ponderix
