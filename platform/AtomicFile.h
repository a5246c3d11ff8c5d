#pragma once

#include <QByteArrayView>
#include <QString>

namespace ponderix {

struct WriteResult {
    bool ok = false;
    QString error; // the system's reason when !ok

    explicit operator bool() const { return ok; }
};

// Writes the whole of `bytes` to `path` or nothing at all: the bytes go to a
// temporary file beside the target, which replaces the target only when every
// step succeeded. A failure leaves any earlier file untouched.
WriteResult writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace ponderix
