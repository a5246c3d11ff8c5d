#include "base/AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace ponderix {

namespace {

WriteResult failed(QSaveFile& file)
{
    const QString reason = file.errorString();
    file.cancelWriting();
    return {false, reason};
}

} // namespace

WriteResult writeFileAtomically(const QString& path, const ContentProducer& produce)
{
    // QSaveFile would replace a folder's entry only to fail late; say so early.
    if (QFileInfo(path).isDir())
        return {false, QStringLiteral("%1 is a folder").arg(path)};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    if (!produce(file) || !file.flush())
        return failed(file);
    if (!file.commit())
        return {false, file.errorString()};
    return {true, QString()};
}

WriteResult writeFileAtomically(const QString& path, QByteArrayView bytes)
{
    return writeFileAtomically(path, [bytes](QIODevice& device) {
        return device.write(bytes.data(), bytes.size()) == bytes.size();
    });
}

} // namespace ponderix
