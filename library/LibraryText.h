#pragma once

// Language-pack texts of the case library.
namespace LibraryText {
constexpr int MenuItem = 173;          // "Case library..."
constexpr int Caption = 174;           // "Case library"
constexpr int CannotUse = 175;         // "The case library %1 cannot be used: %2. The program goes on without it."
constexpr int AddFolder = 176;         // "Add folder..."
constexpr int Indexing = 177;          // "Indexing archives..."
constexpr int Summary = 178;           // "Summary"
constexpr int Cases = 179;             // "Cases"
constexpr int Refresh = 180;           // "Refresh"
constexpr int AddSummary = 181;        // "%1 added, %2 updated, %3 unchanged, %4 could not be read."
constexpr int From = 182;
constexpr int To = 183;
constexpr int Serial = 184;
constexpr int Model = 185;
constexpr int MinShocks = 186;
constexpr int CcfBelow = 187;
constexpr int Search = 188;
constexpr int ByMonth = 189;
constexpr int ByDevice = 190;
constexpr int AutoIndex = 191;         // "Index opened, imported and saved archives automatically"
constexpr int Start = 192;
constexpr int Shocks = 193;
constexpr int PatientId = 194;
constexpr int LastName = 195;
constexpr int FirstName = 196;
constexpr int Duration = 197;
constexpr int MeanRate = 198;
constexpr int MeanDepth = 199;
constexpr int LongestPause = 200;
constexpr int Path = 201;
constexpr int Month = 202;
constexpr int Device = 203;
constexpr int MedianCcf = 204;
constexpr int CcfAtLeast80 = 205;
constexpr int PreShockAtMost10s = 206;
constexpr int Any = 207;
constexpr int Location = 208;          // "Library (empty: this computer; postgresql://user@host/db for a server)"
constexpr int Apply = 209;
constexpr int Unknown = 210;           // "(unknown)"
constexpr int ArchiveGone = 211;       // "The archive %1 is no longer there."
} // namespace LibraryText
