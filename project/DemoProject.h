#pragma once

#include <QByteArrayView>

namespace ponderix {

// The built-in demo project, exactly as stored (CR LF after every line).
QByteArrayView demoProjectBytes();

} // namespace ponderix
