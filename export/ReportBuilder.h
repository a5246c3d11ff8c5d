#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace ponderix {

class Project;

// The report table twice: as an HTML document for the report view and as
// tab-separated text for the clipboard, built in one pass so they never
// disagree.
struct Report {
    QByteArray document; // UTF-8, the character set its meta line declares
    QString text;        // cells (tabSeparatedField) end with a tab, rows with CR LF
};

// The style element carried in the program image and put into the report's
// head as it stands.
QByteArrayView reportStyleText();

// Reads the scores stored in the project: run ComputeScores first.
Report buildReport(const Project& project);

// The report document cut after its first `rows` table rows (the header row
// counts) and closed as the whole one is: what a window can show at once
// while it reads the rest. The whole document when it has no more rows.
QByteArray reportHead(const QByteArray& document, int rows);

} // namespace ponderix
