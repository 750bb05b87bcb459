#pragma once

// Language-pack numbers of the texts for finding one's way through a case: go to time,
// the event kinds of the jumps and the tree filter, and the General form's start fields.
namespace NavigationText {
constexpr int GoToMenu = 188;           // "Go to time..."
constexpr int GoToCaption = 189;        // "Go to time"
constexpr int GoToLabel = 190;          // what may be typed
constexpr int GoToInvalid = 191;        // %1: the text typed
constexpr int GoToOutside = 192;        // %1: the time asked for, %2 / %3: the case's first and last time
constexpr int GoToNoEvent = 193;        // %1: the number typed, %2: the case's event count
constexpr int KindShocks = 194;
constexpr int KindAnalyses = 195;
constexpr int KindCprPrompts = 196;
constexpr int KindCompressionBeeps = 197;
constexpr int KindPadsAndPower = 198;
constexpr int KindOtherEvents = 199;
constexpr int KindAnnotations = 200;
constexpr int NextOfKind = 201;         // "Next event of the kind"
constexpr int PreviousOfKind = 202;     // "Previous event of the kind"
constexpr int JumpKindTip = 203;        // tooltip of the toolbar's kind selector
constexpr int SearchPlaceholder = 204;  // "Search events"
constexpr int ShownCount = 205;         // %1 of %2 events shown
constexpr int PowerOnTime = 206;        // "Power on time : "
constexpr int AdjustedPowerOnTime = 207;
constexpr int AdjustButton = 208;       // "Adjust..."
constexpr int DeviceId = 209;           // "Device ID : "
constexpr int TitleCharactersLeft = 210; // %1 characters left
constexpr int NoEventOfKind = 211;      // no further event of the kind
constexpr int Navigate = 212;           // the menu holding go to time and the jumps
} // namespace NavigationText
