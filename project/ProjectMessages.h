#pragma once

#include "base/Message.h"

namespace ponderix {

struct ReadError;
struct WriteResult;

Message readErrorMessage(const ReadError& error);
Message writeErrorMessage(const WriteResult& result);

} // namespace ponderix
