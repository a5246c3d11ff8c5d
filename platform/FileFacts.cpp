#include "platform/FileFacts.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace ponderix {

FileFacts describeFile(const QString& path)
{
    const QFileInfo info(path);
    FileFacts facts;
    facts.path = info.absoluteFilePath();
    if (!info.isFile())
        return facts;
    facts.size = info.size();
    facts.modified = info.lastModified();
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (file.open(QIODevice::ReadOnly) && hash.addData(&file))
        facts.sha256 = QString::fromLatin1(hash.result().toHex());
    return facts;
}

} // namespace ponderix
