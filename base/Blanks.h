#pragma once

#include <QString>
#include <QStringView>

namespace ponderix {

// Leading and trailing blanks (code 32 only) removed; tabs and line breaks
// stay, since a user may mean them. Project files, settings and page legends
// all trim this way.
QStringView withoutOuterBlanks(QStringView text);
QString trimBlanks(const QString& text);

} // namespace ponderix
