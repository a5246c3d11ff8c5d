#include "export/TabSeparatedField.h"

namespace ponderix {

using namespace Qt::StringLiterals;

QString tabSeparatedField(const QString& value)
{
    // A quote inside an unquoted field is read as a plain character, so only
    // a leading one needs the quoting.
    const bool plain =
        !value.startsWith(u'"') && !value.contains(u'\t') && !value.contains(u'\r') && !value.contains(u'\n');
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(u"\""_s, u"\"\""_s);
    return u'"' + quoted + u'"';
}

} // namespace ponderix
