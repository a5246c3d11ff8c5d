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

} // namespace ponderix::bench
