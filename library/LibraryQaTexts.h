#pragma once

// Language-pack texts of the QA report of the case library.
namespace LibraryQaText {
constexpr int MenuItem = 392;           // "QA report..."
constexpr int Title = 393;              // "Quality assurance report"
constexpr int Period = 394;             // "Period: %1 to %2"
constexpr int Filters = 395;
constexpr int NoFilters = 396;          // "none (every recording of the library)"
constexpr int Recordings = 397;
constexpr int MedianCcfIqr = 398;       // "Median CCF (interquartile range)"
constexpr int CcfAtTarget = 399;        // "Recordings with CCF ≥ %1"
constexpr int PreShockAtMost = 400;     // "Shocks with a pre-shock pause ≤ %1"
constexpr int ToFirstAnalysis = 401;
constexpr int ToFirstShock = 402;
constexpr int ToFirstCompression = 403;
constexpr int CcfTrend = 404;
constexpr int PauseTrend = 405;
constexpr int CountTrend = 406;
constexpr int ByDevice = 407;
constexpr int Attention = 408;          // "Recordings that need attention"
constexpr int Date = 409;
constexpr int Patient = 410;
constexpr int LongestPreShock = 411;
constexpr int AttentionMore = 412;      // (%1: how many more, %2: how many listed)
constexpr int NoAttention = 413;
constexpr int Empty = 414;              // no recording matches
constexpr int NoData = 415;             // "No data." (an empty chart or table)
constexpr int FewRecordings = 416;      // (%1: how many)
constexpr int Definitions = 417;        // "Definitions and targets"
constexpr int FirstDefinition = 418;    // (the first: %1 the CCF target)
constexpr int DefinitionCount = 6;
constexpr int Anonymised = 424;         // "Patient names and IDs are left out."
constexpr int Share = 425;
constexpr int Time = 426;
constexpr int CannotWrite = 427;        // (%1: the file, %2: why)
constexpr int Written = 428;            // (%1: the file)
constexpr int PdfFilter = 429;          // "PDF files (*.pdf)"
constexpr int Why = 430;
constexpr int CcfBelowTarget = 431;
constexpr int PreShockOver20s = 432;
constexpr int FirstRecording = 433;     // an open start of the period
constexpr int LastRecording = 434;      // an open end
constexpr int NotShown = 435;           // a search text of an anonymised report
} // namespace LibraryQaText
