#pragma once

// Language-pack numbers of the texts for finding one's way through a case: go to time,
// the event kinds of the jumps and the tree filter, and the General form's start fields.
namespace NavigationText {
constexpr int GoToMenu = 173;           // "Go to time..."
constexpr int GoToCaption = 174;        // "Go to time"
constexpr int GoToLabel = 175;          // what may be typed
constexpr int GoToInvalid = 176;        // %1: the text typed
constexpr int GoToOutside = 177;        // %1: the time asked for, %2 / %3: the case's first and last time
constexpr int GoToNoEvent = 178;        // %1: the number typed, %2: the case's event count
constexpr int KindShocks = 179;
constexpr int KindAnalyses = 180;
constexpr int KindCprPrompts = 181;
constexpr int KindCompressionBeeps = 182;
constexpr int KindPadsAndPower = 183;
constexpr int KindOtherEvents = 184;
constexpr int KindAnnotations = 185;
constexpr int NextOfKind = 186;         // "Next event of the kind"
constexpr int PreviousOfKind = 187;     // "Previous event of the kind"
constexpr int JumpKindTip = 188;        // tooltip of the toolbar's kind selector
constexpr int SearchPlaceholder = 189;  // "Search events"
constexpr int ShownCount = 190;         // %1 of %2 events shown
constexpr int PowerOnTime = 191;        // "Power on time : "
constexpr int AdjustedPowerOnTime = 192;
constexpr int AdjustButton = 193;       // "Adjust..."
constexpr int DeviceId = 194;           // "Device ID : "
constexpr int TitleCharactersLeft = 195; // %1 characters left
constexpr int NoEventOfKind = 196;      // no further event of the kind
constexpr int Navigate = 197;           // the menu holding go to time and the jumps
} // namespace NavigationText
