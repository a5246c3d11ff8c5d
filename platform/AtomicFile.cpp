#include "platform/AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace ponderix {

WriteResult writeFileAtomically(const QString& path, QByteArrayView bytes)
{
    // QSaveFile would replace a folder's entry only to fail late; say so early.
    if (QFileInfo(path).isDir())
        return {false, QStringLiteral("%1 is a folder").arg(path)};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    const qint64 written = file.write(bytes.data(), bytes.size());
    if (written != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, QString()};
}

} // namespace ponderix
