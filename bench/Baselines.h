#pragma once

#include <QByteArray>
#include <QString>

namespace ponderix::bench {

// The slice size the project reader reads a file in; the bare parse uses the
// same so that both sides make the same read calls.
inline constexpr qint64 kReadChunk = 1 << 16;

// Parses the file with expat and handlers that do nothing: the least any
// loader built on expat can cost. False when the file is missing or not
// well-formed, so a broken setup cannot look fast.
bool parseWithEmptyHandlers(const QString& path);

// Writes `bytes` the plain way with the same durability as a save: a
// temporary file beside `path`, one buffered write, flushed to the disk, then
// renamed over `path`. False on any failed step.
bool writeDurably(const QString& path, const QByteArray& bytes);

} // namespace ponderix::bench
