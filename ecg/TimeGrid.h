#pragma once

#include "base/CTime.h"
#include "ecg/EcgGeometry.h"

#include <QString>
#include <cstdint>
#include <vector>

struct CaseRecord;

// Time labels of the ECG grids: "HH:MM:SS" of the clock time when the case's start time
// is valid, else of the time elapsed since power-on. An elapsed time before power-on is
// written with a leading minus ("-00:01:15").
QString gridTimeLabel(bool startTimeValid, CTime startTime, int64_t secondsFromStart);
// The same for a case; no case counts as one without a valid start.
QString gridTimeLabel(const CaseRecord *c, int64_t secondsFromStart);

// One vertical line of an enlarged grid.
struct VerticalGridLine
{
    enum class Kind {
        Fine,   // a cell boundary: from y = 6 to the grid bottom, fine pen
        Fifth,  // large view, every fifth cell: as Fine with the 3-pixel pen
        Second, // a whole second: over the whole strip height, with a time label
    };
    int x = 0;             // strip x
    int cellNumber = 0;    // cells from the case start, counted from the centre's cell
    Kind kind = Kind::Fine;
    bool labelled = false; // a Second line that still has one of the view's labels
    int64_t labelSeconds = 0; // for a labelled line: seconds from the case start
};

// Cell number of the first line: centre / cell, plus one when the centre lies 13 ms
// (cell 200) or 4 ms (cell 40) or more past a cell boundary.
int firstCellNumber(int32_t centreMs, int32_t cellMs);

// The vertical lines of the window centred on centreMs, from x0 cell by cell; the first
// line past 2 x0 is still included and ends the list. At most scale.maxLabels lines carry
// a label.
std::vector<VerticalGridLine> verticalGridLines(int32_t centreMs, const EnlargedViewScale &scale, int x0, double p);

// Rectangle of a time label in the picture for a line at strip x: (x - x0 + 16, H + 35, 48, 20).
QRectF gridLabelRect(int x, int x0, int H);
