#pragma once

#include "base/CTime.h"

#include <QString>
#include <cstdint>

struct CaseRecord;
struct EventItem;

// How far a case reaches, as the detail view and the ECG tab hosts measure it. A null
// case counts as one without events.

// Largest timeMs among the events in use, starting from 0 (case ms, never negative).
int32_t LatestEventTimeMs(const CaseRecord *c);
// Largest elapsed time (whole seconds) among the events in use; 0 without events.
CTimeSpan CaseEnd(const CaseRecord *c);
// The latest event after power-on: largest timeMs above 0, the first such event in slot
// order winning ties; null when there is none.
const EventItem *LatestEvent(const CaseRecord *c);
// The elapsed time of LatestEvent as "%02d:%02d:%02d": hours within the day, minutes,
// seconds ("00:00:00" without one).
QString DataDurationText(const CaseRecord *c);
