#pragma once

#include <QString>

namespace ponderix {

// What the user is told, as a message box's title and text.
struct Message {
    QString title;
    QString text;
};

} // namespace ponderix
