#pragma once

#include <QDateTime>
#include <QString>

namespace ponderix {

// What lets a user recognise a file: where it is, how big, when it was last
// changed and its SHA-256 checksum (empty when the file cannot be read).
struct FileFacts {
    QString path;
    qint64 size = -1;
    QDateTime modified;
    QString sha256; // lower-case hexadecimal
};

FileFacts describeFile(const QString& path);

} // namespace ponderix
