#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

class QIODevice;

namespace ponderix {

struct WriteResult {
    bool ok = false;
    QString error; // the system's reason when !ok

    explicit operator bool() const { return ok; }
};

// Writes the whole of `bytes` to `path` or nothing at all: the bytes go to a
// temporary file beside the target, which replaces the target only when every
// step succeeded. A failure leaves any earlier file untouched. A pipe or a
// character device at `path` (/dev/stdout, a FIFO, /dev/null) is written
// through as a stream, as the user asked; anything else that is not a
// regular file (a folder, a socket, a disk) is refused. Neither is ever
// replaced by a file.
WriteResult writeFileAtomically(const QString& path, QByteArrayView bytes);

// Whether two paths name one existing file: the same device and inode,
// whichever links and spellings lead there. A path that names nothing is
// nobody's file.
bool sameFile(const QString& first, const QString& second);

// For the program's own scratch files: writes `bytes` to a file created
// anew at `path`. Whatever stands at the name (a file, a link) is removed
// first and the new file is made exclusively and without following a link,
// so the bytes never go through a link to somewhere else. A folder at the
// name is left alone and fails the write; a failed write leaves no file.
WriteResult writeNewFile(const QString& path, QByteArrayView bytes);

// The same for content produced piece by piece, so a large document need not
// be held in memory whole. `produce` writes to the device and returns false
// when a write failed; the device's error then says why.
using ContentProducer = std::function<bool(QIODevice& device)>;
WriteResult writeFileAtomically(const QString& path, const ContentProducer& produce);

} // namespace ponderix
