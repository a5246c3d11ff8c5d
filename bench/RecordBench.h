#pragma once

// The decision record of the largest project the editor makes, HTML and PDF,
// each against writing what a user would otherwise paste together by hand:
// the four page images (at 2x, as the record draws them) and the HTML report,
// one after the other.

namespace ponderix::bench {

inline constexpr const char* kRecordHtml = "record/html_26x300";
inline constexpr const char* kRecordPdf = "record/pdf_26x300";
inline constexpr const char* kRecordPieces = "record/pages_and_report_26x300";

inline constexpr double kRecordLimit = 3.0; // times the pages and the report

// The same records of a project at the reader's limits, 1000 x 1000, timed
// once each (a minute or so) and set against the 26 x 300 record. A record
// that does its work in proportion grows by at most what its matrix grows:
// a million cells against 7,800.
inline constexpr const char* kRecordHtmlHuge = "record/html_1000x1000";
inline constexpr const char* kRecordPdfHuge = "record/pdf_1000x1000";
inline constexpr double kRecordHugeLimit = 1'000'000.0 / (26 * 300); // times the 26 x 300 record

} // namespace ponderix::bench
