#pragma once

#include "case/CprFeedbackRecord.h"

#include <QString>
#include <vector>

class BinaryReader;
class CaseSession;

namespace CprFeedbackFile {

inline QString fileName() { return QStringLiteral("CPR Feedback.bin"); }

constexpr qsizetype RecordBytes = 8;

// 8-byte records {int32 time in ms since power-on, int32 depth}, no header, file order.
// Reads every whole record; the bytes of a partial last record stay unread in `in`.
std::vector<CprFeedbackRecord> parse(BinaryReader &in);

// The warning for a file whose last record was cut: which file, and how much was kept.
QString partialRecordText(const QString &path, size_t keptRecords, qsizetype leftOverBytes);

} // namespace CprFeedbackFile

// Loads "CPR Feedback.bin" of folder into the case of a used slot: the records replace
// the case's cprFeedback and hasCprFeedback is set. A missing file clears hasCprFeedback
// and is not an error; any other file error (a folder, a pipe, no permission) clears it
// and is thrown. A file whose last record was cut keeps every whole record and is
// reported once through the platform as a warning naming it.
void LoadCprFeedback(CaseSession &session, const QString &folder, int slot);
