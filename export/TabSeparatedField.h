#pragma once

#include <QString>

namespace ponderix {

// One field of tab-separated text the way spreadsheets write it and read it
// back: a field holding a tab, CR or LF, or starting with a double quote,
// goes in double quotes with its own quotes doubled; any other field stands
// as it is, so files without such texts keep their bytes.
QString tabSeparatedField(const QString& value);

} // namespace ponderix
