#pragma once

// Language-pack texts of the exports.
namespace ExportText {
constexpr int CprPeriod = 173;          // annotation of a CPR period
constexpr int EcgSegment = 174;         // annotation of a reviewer-marked ECG segment
constexpr int Compression = 175;        // "Compression %1 in"
constexpr int EcgEnd = 176;             // annotation where the recorded ECG ends inside the last record
constexpr int ExportMenu = 177;         // File > Export, and the caption of its dialogs and messages
constexpr int EdfItem = 178;
constexpr int EventsCsvItem = 179;
constexpr int CompressionsCsvItem = 180;
constexpr int NoEcg = 181;
constexpr int Progress = 182;
constexpr int PausesCsvItem = 183;
constexpr int MinutesCsvItem = 184;
constexpr int NoCprFeedback = 185;
} // namespace ExportText
