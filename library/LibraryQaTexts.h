#pragma once

// Language-pack texts of the QA report of the case library.
namespace LibraryQaText {
constexpr int MenuItem = 431;           // "QA report..."
constexpr int Title = 432;              // "Quality assurance report"
constexpr int Period = 433;             // "Period: %1 to %2"
constexpr int Filters = 434;
constexpr int NoFilters = 435;          // "none (every recording of the library)"
constexpr int Recordings = 436;
constexpr int MedianCcfIqr = 437;       // "Median CCF (interquartile range)"
constexpr int CcfAtTarget = 438;        // "Recordings with CCF ≥ %1"
constexpr int PreShockAtMost = 439;     // "Shocks with a pre-shock pause ≤ %1"
constexpr int ToFirstAnalysis = 440;
constexpr int ToFirstShock = 441;
constexpr int ToFirstCompression = 442;
constexpr int CcfTrend = 443;
constexpr int PauseTrend = 444;
constexpr int CountTrend = 445;
constexpr int ByDevice = 446;
constexpr int Attention = 447;          // "Recordings that need attention"
constexpr int Date = 448;
constexpr int Patient = 449;
constexpr int LongestPreShock = 450;
constexpr int AttentionMore = 451;      // (%1: how many more, %2: how many listed)
constexpr int NoAttention = 452;
constexpr int Empty = 453;              // no recording matches
constexpr int NoData = 454;             // "No data." (an empty chart or table)
constexpr int FewRecordings = 455;      // (%1: how many)
constexpr int Definitions = 456;        // "Definitions and targets"
constexpr int FirstDefinition = 457;    // (the first: %1 the CCF target)
constexpr int DefinitionCount = 6;
constexpr int Anonymised = 463;         // "Patient names and IDs are left out."
constexpr int Share = 464;
constexpr int Time = 465;
constexpr int CannotWrite = 466;        // (%1: the file, %2: why)
constexpr int Written = 467;            // (%1: the file)
constexpr int PdfFilter = 468;          // "PDF files (*.pdf)"
constexpr int Why = 469;
constexpr int CcfBelowTarget = 470;
constexpr int PreShockOver20s = 471;
constexpr int FirstRecording = 472;     // an open start of the period
constexpr int LastRecording = 473;      // an open end
constexpr int NotShown = 474;           // a search text of an anonymised report
} // namespace LibraryQaText
