#pragma once

// Identifiers of the menu, toolbar and context-menu commands, and the numbers of the
// synchronous messages between the windows. A context-menu action carries its command
// identifier in QAction::data().
namespace CommandId {

// Main menu and toolbar.
constexpr int New = 57600;
constexpr int Open = 57601;
constexpr int Save = 32808;
constexpr int SaveAs = 57604;
constexpr int StandardSave = 57603;  // what Ctrl+S issues; nobody acts on it
constexpr int Print = 57607;
constexpr int PrintSetup = 57606;
constexpr int RecentFileList = 57616;
constexpr int Exit = 57665;
constexpr int About = 57664;
constexpr int PreviousPage = 32809;  // toolbar left arrow (folder-scan paging)
constexpr int NextPage = 32810;      // toolbar right arrow (folder-scan paging)

// Case menu of the case tree.
constexpr int CloseCase = 32771;
constexpr int AddAnnotation = 32772;
constexpr int MarkViewed = 32773;
constexpr int MarkNotViewed = 32774;

// Annotation menu of the case tree.
constexpr int EditAnnotation = 32781;
constexpr int DeleteAnnotation = 32782;

// CPR-period menu of the entire ECG.
constexpr int EntireCprStart = 32784;
constexpr int EntireCprEnd = 32785;
constexpr int EntireCprDelete = 32786;
constexpr int EntireShowCprPeriods = 32787;

// Options menu of the enlarged ECG.
constexpr int DisplayLargeView = 32788;
constexpr int DisplayEventText = 32789;
constexpr int DisplaySixSecondView = 32805;

// Context menu of the enlarged ECG.
constexpr int EnlargedAddAnnotation = 32790;
constexpr int ExportEntireEcg = 32791;
constexpr int CopySegment = 32792;
constexpr int SelectSegment = 32793;
constexpr int EnlargedShowCprPeriods = 32798;
constexpr int EnlargedCprStart = 32799;
constexpr int EnlargedCprEnd = 32800;
constexpr int EnlargedCprDelete = 32801;
constexpr int DeselectSegment = 32802;
constexpr int DeselectAllSegment = 32803;
constexpr int PrintAllSegment = 32804;

// Report menu of the Print command.
constexpr int IncidentLog = 32806;
constexpr int EcgWaveform = 32807;
constexpr int CprQualityReport = 32811;

// File menu: the pause threshold, targets and depth unit of the CPR quality review.
constexpr int CprQualitySettings = 32812;

// Finding one's way: File > Go to time... (also in the ECG context menus), and the jumps
// to the next / previous event of the toolbar's kind.
constexpr int GoToTime = 32920;
constexpr int NextEventOfKind = 32921;
constexpr int PreviousEventOfKind = 32922;

// Case menu: bind the CPR data and sound files of the archive's folder to its recording.
constexpr int BindCompanions = 32923;

// Case menu: the review status of the case's recording (kept in the case library).
constexpr int ReviewStatus = 32924;

// Context menu of the CPR quality tab's pause list: the cause the reviewer sets for a pause,
// or back to the device's reading.
constexpr int PauseCauseBreaths = 32925;
constexpr int PauseCausePads = 32926;
constexpr int PauseCauseRhythmCheck = 32927;
constexpr int PauseCauseAirway = 32928;
constexpr int PauseCauseTransport = 32929;
constexpr int PauseCauseOther = 32930;
constexpr int PauseCauseDevice = 32931;

// Case menu: back to the device's start after "Adjust...".
constexpr int UndoAdjustment = 32932;

} // namespace CommandId

// Messages between the windows, all delivered synchronously (a direct call).
namespace MessageId {

constexpr int ShowCaseMenu = 1124;       // tree → view: right button pressed
constexpr int CloseCase = 1125;          // tree → view: "Close"
constexpr int MarkViewed = 1126;         // tree → view: "Mark as Viewed"
constexpr int MarkNotViewed = 1127;      // tree → view: "Mark as Not Viewed"
constexpr int AddAnnotation = 1128;      // tree → view: "Add Annotation"
constexpr int RebuildEvents = 1130;      // annotation dialog → view: rebuild a case's event items
constexpr int EditAnnotation = 1131;     // tree → view: "Edit / View Annotation"
constexpr int DeleteAnnotation = 1132;   // tree → view: "Delete Annotation"
constexpr int SelectionChanged = 1133;   // tree → frame: the selection changed
constexpr int SelectEventAtTime = 1134;  // ECG windows, detail view, playback → view
constexpr int PrintSegments = 1135;      // enlarged ECG → frame → view: print the selected segments
constexpr int RunOpen = 1145;            // every Open command → view: run the Open flow
constexpr int PreviousPage = 1146;       // toolbar → active view: previous folder-scan page
constexpr int NextPage = 1147;           // toolbar → active view: next folder-scan page
constexpr int ReopenAdjusted = 1148;     // General form "Adjust..." → view: close all, reopen last archive

} // namespace MessageId
