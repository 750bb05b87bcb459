#pragma once

#include "cpr/HandsOffResult.h"

// Numbers of the hands-off review's texts in the language pack.
namespace HandsOffText {
constexpr int FirstCause = 342;          // "until analysis" .. "transport", in PauseCause order
constexpr int SetByReviewer = 354;       // "%1 (set by the reviewer)" (%1: the cause)
constexpr int ByCauseTitle = 355;        // "Hands-off time by cause"
constexpr int ShocksTitle = 356;         // "Shocks"
constexpr int Shock = 357;               // column: the shock's time
constexpr int Analysis = 358;
constexpr int Charge = 359;
constexpr int ToShock = 360;
constexpr int PreShockPause = 361;
constexpr int PostShockPause = 362;
constexpr int PeriShockPause = 363;
constexpr int Parts = 364;
constexpr int Cause = 365;
constexpr int SetCause = 366;            // the pause list's context menu
constexpr int UseDeviceReading = 367;    // "Use the device's reading"
constexpr int BeforeCpr = 368;
constexpr int FirstPadsOn = 369;
constexpr int FirstAnalysis = 370;
constexpr int FirstShock = 371;
constexpr int FirstCompression = 372;
constexpr int HandsOffTime = 373;
constexpr int NoShocks = 374;
constexpr int FirstDefinition = 375;     // the definitions of the split, one text each
constexpr int DefinitionCount = 5;
constexpr int MedianAnalysis = 380;      // library statistics: "Median analysis (s)"
constexpr int MedianToShock = 381;       // "Median to shock (s)"
constexpr int MedianPreShockPause = 382; // "Median pre-shock pause (s)"
constexpr int ShareHandsOffOther = 383;  // "Hands-off time without a cause (%)"

constexpr int causeText(PauseCause cause) { return FirstCause + int(cause); }
} // namespace HandsOffText
