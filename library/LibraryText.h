#pragma once

#include "library/ReviewStatus.h"

// Language-pack texts of the case library.
namespace LibraryText {
constexpr int MenuItem = 277;          // "Case library..."
constexpr int Caption = 278;           // "Case library"
constexpr int CannotUse = 279;         // "The case library %1 cannot be used: %2. The program goes on without it."
constexpr int AddFolder = 280;         // "Add folder..."
constexpr int Indexing = 281;          // "Indexing archives..."
constexpr int Summary = 282;           // "Summary"
constexpr int Cases = 283;             // "Cases"
constexpr int Refresh = 284;           // "Refresh"
constexpr int AddSummary = 285;        // "%1 added, %2 updated, %3 unchanged, %4 could not be read."
constexpr int From = 286;
constexpr int To = 287;
constexpr int Serial = 288;
constexpr int Model = 289;
constexpr int MinShocks = 290;
constexpr int CcfBelow = 291;
constexpr int Search = 292;
constexpr int ByMonth = 293;
constexpr int ByDevice = 294;
constexpr int AutoIndex = 295;         // "Index opened, imported and saved archives automatically"
constexpr int Start = 296;
constexpr int Shocks = 297;
constexpr int PatientId = 298;
constexpr int LastName = 299;
constexpr int FirstName = 300;
constexpr int Duration = 301;
constexpr int MeanRate = 302;
constexpr int MeanDepth = 303;
constexpr int LongestPause = 304;
constexpr int Path = 305;
constexpr int Month = 306;
constexpr int Device = 307;
constexpr int MedianCcf = 308;
constexpr int CcfAtLeast80 = 309;
constexpr int PreShockAtMost10s = 310;
constexpr int Any = 311;
constexpr int Location = 312;          // "Library (empty: this computer; postgresql://user@host/db for a server)"
constexpr int Apply = 313;
constexpr int Unknown = 314;           // "(unknown)"
constexpr int ArchiveGone = 315;       // "The archive %1 is no longer there."
constexpr int ChartMissing = 318;      // "The chart cannot be shown: %1" (%1: why its plugin is missing)
constexpr int Status = 319;            // "Status"
constexpr int Assignee = 320;          // "Assignee"
constexpr int All = 321;               // "All"
constexpr int StageNew = 322;          // "new"
constexpr int StageInReview = 323;     // "in review"
constexpr int StageReviewed = 324;     // "reviewed"
constexpr int StageFollowUp = 325;     // "follow-up"
constexpr int AssignTo = 326;          // "Assign to..."
constexpr int SetStatus = 327;         // "Set status"
constexpr int History = 328;           // "History"
constexpr int AssignQuestion = 329;    // "Assign the selected cases to (empty: nobody):"
constexpr int FollowUpNote = 330;      // "Note for the follow-up:"
constexpr int NoRecordingId = 331;     // "%1 of the selected cases were indexed before ..." (%1: how many; their archives follow)
constexpr int SelectCases = 332;       // "Select one or more cases first."
constexpr int HistoryCaption = 333;    // "History of %1" (%1: the archive)
constexpr int TimeUtc = 334;           // "Time (UTC)"
constexpr int Zone = 392;              // "Time zone"
constexpr int Reviewer = 335;          // "Reviewer"
constexpr int Host = 336;              // "Computer"
constexpr int Action = 337;            // "Action"
constexpr int Details = 338;           // "Details"
constexpr int RememberPassword = 339;  // "Remember password"
constexpr int PasswordQuestion = 340;  // "Password of %1:" (%1: the library, without a password)
constexpr int CannotRemember = 341;    // (%1: the library, %2: why)

// The text of a review stage: "new" .. "follow-up".
constexpr int stageText(ReviewStatus::Stage stage)
{
    switch (stage) {
    case ReviewStatus::Stage::New: return StageNew;
    case ReviewStatus::Stage::InReview: return StageInReview;
    case ReviewStatus::Stage::Reviewed: return StageReviewed;
    case ReviewStatus::Stage::FollowUp: return StageFollowUp;
    }
    return StageNew;
}
} // namespace LibraryText
