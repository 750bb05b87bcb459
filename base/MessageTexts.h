#pragma once

// Language-pack texts of the messages the file layer and the open, import, review-file,
// review-status and sound flows give, and their reasons. The English column is what FileError::message() and the
// flows write without a pack (the command line), word for word.
namespace MessageText {
constexpr int FileNotFound = 394; // "%1 was not found."
constexpr int FileOpenFailed = 395; // "%1 cannot be opened."
constexpr int FileCreateFailed = 396; // "%1 cannot be created."
constexpr int FileWriteFailed = 397; // "An error occurred while writing %1."
constexpr int FileEndOfFile = 398; // "Attempted to access %1 past its end."
constexpr int FileBadFormat = 399; // "An unknown error occurred while accessing %1."
constexpr int FileNotAFile = 400; // "%1 is not a file (a folder, a device or a pipe) and was not read."
constexpr int FileTooLarge = 401; // "%1 is larger than a file of its kind can be and was not read."
constexpr int SymbolicLinkNotWritten = 402; // "It is a symbolic link, which is never written through."
constexpr int NotARegularFile = 403; // "It is not a regular file."
constexpr int NameTaken = 404; // "A file of that name is there already."
constexpr int NotAReviewFile = 405; // "It is not a review file of this program."
constexpr int ReviewVersionUnknown = 406; // "Its version is not one this program reads."
constexpr int NoFreeAsideName = 407; // "No free name to move it aside."
constexpr int FileGrew = 408; // "The file grew while it was read."
constexpr int CompanionChanged = 409; // "It changed since it was bound to the case; it was not copied."
constexpr int ArchiveLacksDeviceFiles = 410; // "The archive does not hold the device files as they were read; they were kept in %1."
constexpr int ReviewMovedAside = 411; // "It was moved aside to %1; the case starts without marks."
constexpr int CompanionsUnreadable = 412; // "Not bound, since it cannot be read: %1"
constexpr int SoundNotStarted = 413; // "Could not initialize Direct Sound."
constexpr int ErrorCaption = 414; // "Error"
constexpr int OpenedWithoutSound = 415; // "The case is opened without its sound."
constexpr int StandardToolbar = 416; // "Standard"
constexpr int CutFilesIntro = 417; // "These device files end in a cut record, so the event list may be incomplete; the archive keeps their bytes as they are:"
constexpr int CutFileLine = 418; // "%1: %2 bytes after the last whole record"
constexpr int ChangedWhileRead = 419; // "%1 changed while it was being read. Nothing was imported and nothing was erased; import the folder again."
constexpr int KeptChanged = 420; // "These device files changed after they were archived and were not erased; import the folder again to keep what they hold now:"
constexpr int NotErased = 421; // "These device files could not be erased and stay on the card; erase them yourself once the archive is kept safe:"
constexpr int ReviewStatusCaption = 422; // "Review status"
constexpr int ReviewStageQuestion = 423; // "Status of this recording's review:"
constexpr int ReviewAssigneeQuestion = 424; // "Assigned to (empty for nobody):"
constexpr int ReviewFollowUpQuestion = 425; // "What is to be followed up (a short note):"
constexpr int OtherRecordingMarks = 426; // "%1 holds the review marks of another recording."
constexpr int ReviewFileLink = 427; // "%1 is a symbolic link: review marks are never read or written through one, so this case's marks are kept in memory only."
constexpr int CprPanelTitle = 428; // "CPR": the title of the enlarged ECG's compression strip
constexpr int ReviewedByAt = 429; // " by %1, %2 UTC" (the General form's review line)
constexpr int AssignedTo = 430; // ", assigned to %1" (the General form's review line)
} // namespace MessageText
