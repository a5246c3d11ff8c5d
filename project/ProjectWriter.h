#pragma once

#include "base/AtomicFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace ponderix {

class Project;

// The document as it goes to disk: UTF-8 without byte-order mark, CR LF, two
// blanks per level. `fileName` is the name without folder; `modified` is
// given by the caller so that the output can be reproduced.
QByteArray projectFileBytes(const Project& project, const QString& fileName, const QDateTime& modified);

// Writes the project to `path` atomically; the old file survives any failure.
WriteResult writeProjectFile(const Project& project, const QString& path, const QDateTime& modified);

} // namespace ponderix
