#pragma once

#include "case/CprFeedbackRecord.h"

#include <QString>
#include <vector>

class BinaryReader;
class CaseSession;
struct CaseRecord;

namespace CprFeedbackFile {

inline QString fileName() { return QStringLiteral("CPR Feedback.bin"); }

constexpr qsizetype RecordBytes = 8;

// 8-byte records {int32 time in ms since power-on, int32 depth}, no header, file order.
// Reads every whole record; the bytes of a partial last record stay unread in `in`.
std::vector<CprFeedbackRecord> parse(BinaryReader &in);

// The warning for a file whose last record was cut: which file, and how much was kept.
QString partialRecordText(const QString &path, size_t keptRecords, qsizetype leftOverBytes);

// The deepest compression the sensor reports: depths are inches * 25, and no depth beyond
// 10 inches is taken by the CPR quality measures.
constexpr int32_t MaxDepth = 250;
// How long past the recording's end a compression may be timed: CPR goes on after the last
// logged event for several two-minute cycles at most, while a broken clock lands days away.
constexpr int32_t MaxMsPastEnd = 10 * 60 * 1000;
// No rescuer compresses faster than this (a realistic rate is 100 to 120 a minute).
constexpr int MaxCompressionsPerSecond = 4;
// Records within one second of case time: the fastest compressions, each sent twice.
constexpr int MaxRecordsPerSecond = 2 * MaxCompressionsPerSecond;

// The case time at which a recording ends: the later of the ECG's end and its last event.
int32_t recordingEndMs(const CaseRecord &c);
// The most bytes a feedback file of a recording ending at recordingEndMs can plausibly
// hold: MaxCompressionsPerSecond from power-on until MaxMsPastEnd after the end.
qint64 maxFileBytes(int32_t recordingEndMs);
// Why records cannot be the feedback of a recording ending at recordingEndMs (a negative
// time, a time before the one before it, a time more than MaxMsPastEnd past the end, more
// than MaxRecordsPerSecond in one second, a depth outside 0..MaxDepth), naming the first
// record that shows it; empty when they can.
// Equal times are duplicates the sensor sends and are fine.
QString implausibility(const std::vector<CprFeedbackRecord> &records, int32_t recordingEndMs);

} // namespace CprFeedbackFile

// Binds the CPR feedback file at path to the case of a used slot: its records replace the
// case's cprFeedback, and hasCprFeedback and cprFeedbackPath are set. A missing file clears
// them and is not an error. A file that cannot be used (not a regular file, unreadable,
// larger than the recording could fill, or records that are not plausible) clears them
// too and is reported once through the platform as a warning naming it and why; the case
// opens without it. A file whose last record was cut keeps every whole record and is
// reported once the same way. Never throws.
void LoadCprFeedback(CaseSession &session, const QString &path, int slot);
