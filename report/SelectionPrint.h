#pragma once

#include "case/CaseRecord.h"
#include "cpr/HandsOffResult.h"

#include <cstdint>
#include <vector>

// The selection report: the ECG segments the reviewer selected, printed as 10-second
// strips, four to a page. This part decides what is printed; painting is elsewhere.

// One 10-second strip of the report, in case ms; endMs = startMs + PieceMs.
struct PrintPiece
{
    int32_t startMs = 0;
    int32_t endMs = 0;
};

// What the print dialog and the pages are given.
struct SelectionReport
{
    const CaseRecord *caseRecord = nullptr; // the case the pieces were cut from
    std::vector<PrintPiece> pieces;         // piece n is strip n mod 4 of page n div 4 (from 0)
    int pageCount = 0;
    uint8_t language = 1;                   // 2: Italian texts
    HandsOffResult handsOff;                // the pauses by cause, shaded on the strips; none: nothing shaded
};

// The segment print in progress between "Print All Segment" and the end of its job. A
// cancelled print dialog ends it (the segments stay selected, and Print shows the report
// menu again); a print that failed keeps it, so that the next Print command goes back to
// the print dialog with the same list.
struct SelectionPrintState
{
    static constexpr uint8_t KindAllSegments = 10;

    uint8_t printRequested = 0;           // 1 while a segment print is under way
    uint8_t printKind = 0;                // KindAllSegments (the only kind there is)
    uint8_t listBuilt = 0;                // printList is the current job's
    int listSlot = -1;                    // case slot the list was built for
    std::vector<EcgSegment> sortedSegments;
    std::vector<PrintPiece> printList;
};

namespace SelectionPrint {

constexpr int32_t PieceMs = 10000;
constexpr int StripsPerPage = 4;

// The used segments ordered by start; segments with equal starts keep slot order.
std::vector<EcgSegment> sortedSegments(const SegmentTable &segments);

// The 10-second pieces that cover the sorted segments. A segment that starts after the
// last piece ends begins a new run of pieces at its own start; one that starts inside the
// last piece and ends after it continues from that piece's end; one inside it adds
// nothing. A run from s to e has 1 + (e - s) div 10 s pieces, so a segment of exactly
// 10 s gives two. Every selected second is printed: the list has no length limit.
std::vector<PrintPiece> buildPrintList(const std::vector<EcgSegment> &sorted);

// Pages for a number of pieces: four strips per page, rounded up.
int pageCount(int pieceCount);

// The report of pieces cut from case c (null: nothing to print) in a language.
SelectionReport report(const CaseRecord *c, std::vector<PrintPiece> pieces, uint8_t language);

} // namespace SelectionPrint
