#pragma once

#include "base/CTime.h"
#include "case/CprFeedbackRecord.h"
#include "case/CprPeriod.h"
#include "case/EcgSegment.h"
#include "case/EventItem.h"
#include "case/SlotTable.h"
#include "case/TreeControl.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// Capacities of a case's tables.
constexpr int MaxEvents = 50000;
constexpr int MaxCprPeriods = 200;
constexpr int MaxSegments = 200;

// Values of CaseRecord::buildState.
constexpr int32_t CaseFilesLoaded = 100; // device files loaded, event list not built yet
constexpr int32_t CaseListBuilt = 50;    // event list built; only such a case can be saved

using EventTable = SlotTable<EventItem, MaxEvents>;
using CprPeriodTable = SlotTable<CprPeriod, MaxCprPeriods>;
using SegmentTable = SlotTable<EcgSegment, MaxSegments>;

// One open case: what one device recorded from power-on to power-off, with the
// reviewer's fields. Case times are ms since power-on. A new record is all zero, false
// or empty except the two unit indexes. Tables are added to only through the store's
// store operations (AddEvent, AddCprPeriod, AddSegment).
struct CaseRecord
{
    CTime startDate;                 // startTime at 00:00:00; cases with equal dates share a date node
    CTime startTime;                 // power-on date and time; 0 when !startTimeValid
    CTime deviceStartTime;           // start as an archive holds it (device clock, before the zone shift); Save writes it
    bool startTimeValid = false;     // the ECG header's date and time passed the range test
    QString comments;
    QString serialNumber;            // AED serial number typed in the Open dialog
    QString operatorName;
    QString powerOnTimeText;
    QString adjustedPowerOnTimeText;
    QString extraText1;              // kept in the archive, not shown
    QString extraText2;              // kept in the archive, not shown
    QString patientId;
    QString lastName;
    QString firstName;
    QString middleInitial;
    int32_t nameSuffixIndex = 0;
    int32_t sexIndex = 0;
    int32_t raceIndex = 0;
    CTime birthDate;
    bool birthDateKnown = false;
    bool birthDateUnknown = false;
    QString heightText;
    int32_t heightUnitIndex = 1;
    QString weightText;
    int32_t weightUnitIndex = 1;
    int32_t buildState = 0;          // CaseFilesLoaded or CaseListBuilt
    int32_t savedAnnotationCount = 0;
    int32_t annotationChangeCount = 0; // annotations added or deleted since the case was opened
    // The reviewer changed a field of the General form or an annotation since the case was
    // opened or last saved (CaseSession::markChanged / markSaved).
    bool changed = false;
    bool hasUnsavedChanges() const { return changed; }

    EventTable events;               // eventCount = events.count()
    bool eventLimitReported = false; // the full-table message was shown for this case

    TreeItemId dateItem = NoTreeItem;
    TreeItemId deviceItem = NoTreeItem;
    TreeItemId caseItem = NoTreeItem;

    CprPeriodTable cprPeriods;       // cprPeriodCount = cprPeriods.count()

    std::vector<CprFeedbackRecord> cprFeedback;
    int32_t cprFeedbackCount = 0;

    QByteArray ecgSamples;           // one byte per 4 ms: 1..250, 125 = zero line
    int32_t ecgStartMs = 0;          // case time of the first sample
    int32_t ecgEndMs = 0;            // ecgStartMs + 4 * sample count
    bool ecgAllocated = false;

    std::vector<int32_t> hrValues;   // beats per minute
    std::vector<int32_t> hrTimes;    // case time of each hrValues entry
    bool hrAllocated = false;
    int32_t hrCount = 0;

    SegmentTable segments;           // segmentCount = segments.count()

    std::vector<int32_t> tempValues; // degrees Celsius
    std::vector<int32_t> tempTimes;  // case time of each tempValues entry
    bool tempAllocated = false;
    int32_t tempCount = 0;

    int32_t timeZoneIndex = 0;       // row of the time-zone table chosen at load
};
