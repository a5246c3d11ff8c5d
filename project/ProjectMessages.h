#pragma once

#include "base/Message.h"

namespace ponderix {

struct ReadError;
struct WriteResult;

Message readErrorMessage(const ReadError& error);
// Names the file that could not be written, then the system's reason.
Message writeErrorMessage(const QString& path, const WriteResult& result);

} // namespace ponderix
