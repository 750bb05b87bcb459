#pragma once

#include "case/CC8Class.h"
#include "case/CaseRecord.h"

#include <QString>
#include <cstdint>
#include <memory>

// Everything one case slot holds while its case is open: the case itself, the MIF file set
// it came from, and what the open and decoding learnt about its companion files.
struct OpenCase
{
    std::unique_ptr<CaseRecord> record; // null once the case is closed
    std::unique_ptr<CC8Class> fileSet;  // null once the case is closed
    QString sourcePath;                 // folder + file name the case came from
    bool used = false;                  // the slot holds an open case
    bool fileSetMade = false;
    bool hasCprFeedback = false;
    bool hasAudio = false;
    int32_t audioStartMs = 0;           // case time at which the audio record starts
    int32_t audioDurationSec = 0;
    // The companion files bound to the case; empty when it has none.
    QString cprFeedbackPath;
    QString audioRecordPath;
    bool viewed = false;                // the case node shows the viewed image
    int32_t shockCount = 0;             // shocks counted by the decoding
    int32_t tempLoaded = 0;             // 1: the case has temperature data
    int32_t tempFilePresent = 0;        // 1: a Temp file is to be read for the case
    int32_t modelIndex = 0;             // 0, 1, 2: device model of the case's archive (its event icons)
    // Start typed with "Adjust..." ("YYYY-MM-DD HH:MM:SS"); empty when the case shows the
    // device's own start. The archive always keeps the device's start; this lives in the
    // review file.
    QString adjustedStart;
    bool reviewWriteReported = false;   // a failed write of the review file was reported once
    bool timeAdjusted() const { return !adjustedStart.isEmpty(); }
};
