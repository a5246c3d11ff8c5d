#pragma once

#include <QString>

#include <sys/types.h>

namespace ponderix {

// The system's reason for a failed call, by its errno value, in the chosen
// language; in English exactly the C library's strerror text. A value the
// text table does not know comes from strerror itself.
QString systemReason(int error);

// A reason Qt gives as text, such as QFileDevice::errorString(), in the
// chosen language when it is one the text table knows; any other text, like
// Qt's own "Unknown error", is given back as it is.
QString translatedSystemReason(const QString& reason);

// Why a path that names something other than a regular file (a folder, a
// pipe, a device) cannot be read or written as a file; `mode` is its
// st_mode.
QString notAFileReason(mode_t mode);

} // namespace ponderix
