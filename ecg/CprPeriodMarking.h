#pragma once

#include "case/CprPeriod.h"

#include <cstdint>

class CaseStore;
struct CaseRecord;

// Enabled states of the CPR Periods items "Start", "End" and "Delete".
struct CprMenuStates
{
    bool startEnabled = false;
    bool endEnabled = false;
    bool deleteEnabled = false;
    bool operator==(const CprMenuStates &) const = default;
};

// Marking CPR periods by hand, shared by both ECG windows (each has its own). Start adds
// a provisional period at the whole second under the mouse; End gives it its real end (or
// start, when the user ends before where he started); Delete removes the period under the
// mouse. Times are case ms; the mouse time comes from the window's last right click.
//
// End changes only the period that Start made, in the case it was made in: when that
// period has been deleted meanwhile, when the full table refused it, or when the window
// now shows another case, End changes nothing.
class CprPeriodMarking
{
public:
    bool m_bCprStartPending = false; // Start was chosen and End not yet
    int m_nPendingCpr = 0;           // table slot Start got; -1 when the table refused it
    bool m_bShowCprPeriods = true;   // the window shades CPR periods
    int m_nHitCpr = 0;               // slot found by the last hit test

    // Records in m_nHitCpr the last used period (slot order) with startMs <= t <= endMs;
    // returns whether there was one. m_nHitCpr keeps its value when there is none.
    bool HitTest(const CaseRecord *c, int32_t t);
    // Item states of the menu after a hit test that found a period or not; all greyed for a
    // case that is not editable (open read-only).
    CprMenuStates menuStates(bool hit, bool editable = true) const;

    // Start, End and Delete change nothing of a case open read-only.
    // Adds [s, s + provisionalMs] for s = t rounded down to a whole second.
    void Start(CaseStore &store, int slot, int32_t t, int32_t provisionalMs);
    // Ends the pending mark at t rounded up to a whole second (see the class comment).
    void End(CaseStore &store, int slot, int32_t t);
    // Deletes the period of the last hit test; the table's count stays.
    void Delete(CaseStore &store, int slot);
    void Show() { m_bShowCprPeriods = !m_bShowCprPeriods; }

private:
    // The period Start made, to recognise it at End.
    int m_markSlot = -1;                     // case slot; -1 when Start made nothing
    const CaseRecord *m_markCase = nullptr;
    const CprPeriod *m_markPeriod = nullptr;
    CprPeriod m_markValues;
};
