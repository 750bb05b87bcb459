#pragma once

#include "case/CC8Class.h"
#include "case/CaseRecord.h"
#include "case/CompanionFile.h"
#include "case/ReviewLock.h"

#include <QSet>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// Everything one case slot holds while its case is open: the case itself, the MIF file set
// it came from, and what the open and decoding learnt about its companion files.
struct OpenCase
{
    std::unique_ptr<CaseRecord> record; // null once the case is closed
    std::unique_ptr<CC8Class> fileSet;  // null once the case is closed
    QString sourcePath;                 // folder + file name the case came from
    QString recordingId;                // identity of the recording the archive holds (RecordingId)
    bool used = false;                  // the slot holds an open case
    bool fileSetMade = false;
    bool hasCprFeedback = false;
    bool hasAudio = false;
    int32_t audioStartMs = 0;           // case time at which the audio record starts
    int32_t audioDurationSec = 0;
    // The companion files the case uses (bound to its recording and loaded); empty when none.
    QString cprFeedbackPath;
    QString audioRecordPath;
    bool viewed = false;                // the case node shows the viewed image
    int32_t shockCount = 0;             // shocks counted by the decoding
    int32_t tempLoaded = 0;             // 1: the case has temperature data
    int32_t tempFilePresent = 0;        // 1: a Temp file is to be read for the case
    int32_t modelIndex = 0;             // 0, 1, 2: device model of the case's archive (its event icons)
    QString recordedModel;              // the model its review file records ("Q21", ...); "" when none
    // Start typed with "Adjust..." ("YYYY-MM-DD HH:MM:SS"); empty when the case shows the
    // device's own start. The archive always keeps the device's start; this lives in the
    // review file.
    QString adjustedStart;
    // The zone (minutes east of UTC) the adjusted start was typed in, so that the case shows the
    // same moment in any zone; none for a start adjusted before the zone was kept, which is shown
    // as typed whatever the zone.
    std::optional<int32_t> adjustedZoneMinutes;
    // The reviewer's cause of whole pauses by their start (ms of case time), kept in the review
    // file; empty where the device's reading stands.
    std::map<int32_t, QString> pauseCauses;
    bool reviewWriteReported = false;   // a failed write of the review file was reported once
    // The review file is kept up to date with the marks: the case was opened for review (never
    // by a reading command) and nothing but the program's own file is at its name.
    bool reviewFileWritable = true;
    // The companion files bound to the recording as its review file records them; nullopt when
    // nothing is recorded (no review file, or one written before bindings were kept).
    std::optional<std::vector<CompanionFile>> companions;
    // The General form's fields whose change the audit trail has recorded since the case was
    // opened or last saved.
    QSet<QString> auditedFields;
    // One editor at a time: the review lock the case holds while open for editing (null when
    // opened read-only, by a reading command, or where no lock could be had). Released when
    // the case is closed.
    std::unique_ptr<ReviewLock> lock;
    // Another reviewer holds the case: nothing of it is edited, marked or saved, and its review
    // file is not written.
    bool readOnly = false;
    bool lockTakenOver = false; // the lock was taken over from a reviewer who gave no sign of life
    bool timeAdjusted() const { return !adjustedStart.isEmpty(); }
};
