#pragma once

#include <QString>

class CaseStore;

// The open case of a slot as one JSON object ("ravelin-cli info"): the case and patient
// fields, the annotations, the sizes of the device files, the decoded series and periods,
// and the CPR feedback and sound that came with it. Members in a fixed order, two blanks
// of indent per level, a line feed at the end. Times are epoch seconds (startTime after
// the zone shift, birthDate) or ms of case time.
QString CaseInfoJson(const CaseStore &store, int slot);
