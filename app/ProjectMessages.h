#pragma once

#include <QString>

namespace ponderix {

struct ReadError;
struct WriteResult;

// What the user is told, as a message box's title and text.
struct Message {
    QString title;
    QString text;
};

Message readErrorMessage(const ReadError& error);
Message writeErrorMessage(const WriteResult& result);

} // namespace ponderix
