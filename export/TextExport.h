#pragma once

#include <QByteArray>
#include <QString>

namespace ponderix {

class Project;

// The layouts by the index of their pattern in the save dialog, which is also
// the index the settings remember.
inline constexpr int kCriteriaRowsLayout = 0; // one row per criterion, two columns per option
inline constexpr int kOptionRowsLayout = 1;   // a value row and a comment row per option

// The export file's bytes: UTF-8 without byte-order mark, a tab after every
// field, CR LF after every line; a field with a tab or line break in it is
// quoted (tabSeparatedField). Reads the scores stored in the project: run
// ComputeScores first. An index other than kOptionRowsLayout gives the
// criteria rows, the layout a fresh settings file starts with.
QByteArray textExportBytes(const Project& project, int layout);

// The chosen name with ".txt" appended unless its extension already is
// "txt" in any case: Result -> Result.txt, Result.csv -> Result.csv.txt,
// Result.TXT unchanged.
QString withTextExtension(const QString& chosenPath);

} // namespace ponderix
