#pragma once

// What the HTML and the PDF record say, worked out once so that both say
// the same thing in the same order; only the layout differs between them.

#include "evaluation/Robustness.h"
#include "export/DecisionRecord.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QIODevice;
class QPainter;

namespace ponderix {

// A label and what follows it: "Runner-up:" and its line, an option and what
// it needs, line by line.
struct RecordFact {
    QString label;
    QStringList lines;
};

struct RecordContent {
    Robustness robustness; // at the smallest spread
    QString title;
    QString exported;                        // "Exported on 2026-03-01 14:05"
    QString summary;                         // the one sentence with the choice and how solid it is
    QString footer;                          // the program, its version and the project file
    std::vector<RecordFact> robustnessFacts; // runner-up, lead, verdict, closest change
    std::vector<RecordFact> challengers;     // what each other option needs
    QString chanceHeading;                   // "Chance of being best (ratings uncertain by ±1)"
    std::vector<RecordFact> chances;         // each option with one line: "62.5%"
};

class RecordSteps;

// The analysis and its words: the first part of either format. Empty when
// the caller's progress says stop after it.
std::optional<RecordContent> analyseForRecord(const RecordSource& source, RecordSteps& steps);

// A result page as the record shows it: its heading, its height in page
// pixels and the painting onto any painter.
struct RecordPage {
    QString heading;
    int height = 0;
    std::function<void(QPainter&)> paint;
};

// The overview, one detail page per option, the profile, and the robustness
// page, which are placed in this order around the texts.
RecordPage overviewRecordPage(const RecordSource& source);
RecordPage detailRecordPage(const RecordSource& source, int option);
RecordPage profileRecordPage(const RecordSource& source);
RecordPage robustnessRecordPage(const RecordSource& source, const Robustness& robustness);

// The pieces of the matrix table: "1. Price", "Option A", the rating as the
// matrix shows it ("+4", "0", "-2"), the score ("+65%") and the verdict.
QString criterionLabel(const Project& project, int criterion);
QString optionLabel(int option);
QString ratingLabel(const Project& project, int option, int criterion);
QString commentOf(const Project& project, int option, int criterion);
QString scoreLabel(const Project& project, int option);
QString verdictLabel(const Project& project, int option);

// Counts finished parts and asks the caller's progress whether to go on.
// The parts: the analysis, the overview, each option's details, the profile,
// the matrix and the robustness page.
class RecordSteps final {
public:
    RecordSteps(const RecordProgress& progress, const Project& project);
    // False once the caller said stop.
    bool done();
    // Asks again without counting a part: a long part (the matrix of a
    // thousand options, page after page of it) asks as it goes, so that
    // Cancel is heard within a moment rather than at the part's end.
    bool stillWanted() const;
    int total() const { return m_total; }

private:
    const RecordProgress& m_progress;
    int m_total = 0;
    int m_done = 0;
};

// The two layouts of the same content, written to `device` part by part.
RecordOutcome writeHtmlRecord(QIODevice& device, const RecordSource& source, const RecordContent& content,
                              RecordSteps& steps);
RecordOutcome writePdfRecord(QIODevice& device, const RecordSource& source, const RecordContent& content,
                             RecordSteps& steps);

} // namespace ponderix
