#pragma once

#include "case/CprFeedbackRecord.h"

#include <QString>
#include <vector>

class BinaryReader;
class CaseStore;

namespace CprFeedbackFile {

inline QString fileName() { return QStringLiteral("CPR Feedback.bin"); }

// 8-byte records {int32 time in ms since power-on, int32 depth}, no header, file order.
// A partial last record throws FileError EndOfFile naming the file.
std::vector<CprFeedbackRecord> parse(BinaryReader &in);

} // namespace CprFeedbackFile

// Loads "CPR Feedback.bin" of folder into the case of a used slot: the records replace
// the case's cprFeedback and hasCprFeedback is set. A file that cannot be opened clears
// hasCprFeedback and is not an error. A file with a partial record throws FileError
// naming it and loads nothing: hasCprFeedback is cleared and the case keeps no records.
void LoadCprFeedback(CaseStore &store, const QString &folder, int slot);
