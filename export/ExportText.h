#pragma once

// Language-pack texts of the exports.
namespace ExportText {
constexpr int CprPeriod = 175;          // annotation of a CPR period
constexpr int EcgSegment = 176;         // annotation of a reviewer-marked ECG segment
constexpr int Compression = 177;        // "Compression %1 in"
constexpr int EcgEnd = 178;             // annotation where the recorded ECG ends inside the last record
constexpr int ExportMenu = 179;         // File > Export, and the caption of its dialogs and messages
constexpr int EdfItem = 180;
constexpr int EventsCsvItem = 181;
constexpr int CompressionsCsvItem = 182;
constexpr int NoEcg = 183;
constexpr int Progress = 184;
constexpr int PausesCsvItem = 185;
constexpr int MinutesCsvItem = 186;
constexpr int NoCprFeedback = 187;
} // namespace ExportText

// The check boxes asked before an export's save dialog (and before the CPR quality report is
// printed), in English whatever the pack's language.
namespace ExportOptionText {
inline constexpr char Anonymise[] = "Anonymise: no patient fields, times of day, serial number or annotation texts";
inline constexpr char WithCompressions[] = "With compressions: one annotation per compression";
} // namespace ExportOptionText
