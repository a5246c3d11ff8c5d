#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace ponderix {

// Shows the wait cursor for as long as it lives, so that an early return or
// an exception can never leave the user looking at an hourglass.
class WaitCursor final {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }

    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace ponderix
