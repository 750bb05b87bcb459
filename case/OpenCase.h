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
    bool viewed = false;                // the case node shows the viewed image
    int32_t shockCount = 0;             // shocks counted by the decoding
    int32_t tempLoaded = 0;             // 1: the case has temperature data
    int32_t tempFilePresent = 0;        // 1: a Temp file is to be read for the case
};
