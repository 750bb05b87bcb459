#pragma once

#include <QString>
#include <cstdint>
#include <map>

class CaseStore;
struct CaseRecord;

// Slot value of an ECG window that shows no case.
constexpr int NoCaseShown = 2000;

// What a drawing run reads of the case an ECG window shows, taken from the store's slot
// arrays in one place. record is null when the window shows no case: its slot is not
// below the store's slot count or the case has been closed.
struct ShownCase
{
    const CaseRecord *record = nullptr;
    bool hasCprFeedback = false;
    bool hasAudio = false;
    bool hasTemperature = false; // tempLoaded is 1
    int32_t audioStartMs = 0;    // case time of the audio record's first sample
    int32_t audioDurationSec = 0;
    // The reviewer's causes of pauses by their start (OpenCase::pauseCauses); null when none.
    const std::map<int32_t, QString> *pauseCauses = nullptr;

    bool shown() const { return record != nullptr; }
    // The audio record covers case time ms (both ends included).
    bool audioCovers(int32_t ms) const;
};

ShownCase shownCase(const CaseStore &store, int slot);
