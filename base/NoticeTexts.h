#pragma once

// Language-pack texts of the notices that say which case, device or file a message is about.
namespace NoticeText {
constexpr int UnsavedCasesList = 384;      // "Unsaved changes in: %1" (%1: the cases' archive names)
constexpr int NoSoundDevice = 385;         // "No sound output device is available."
constexpr int SoundFormatRefused = 386;    // "%1 cannot play sound in this format." (%1: the output device)
constexpr int SoundOutputError = 387;      // "%1 reported an error (%2)." (%1: the output device, %2: its error)
constexpr int SoundRecordUnreadable = 388; // "The sound recording %1 could not be read." (%1: its path)
constexpr int IncidentLogNotShown = 389;   // "The incident log was written to %1, but no application could show it."
} // namespace NoticeText
