#include "report/SelectionPrint.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace SelectionPrint {

namespace {

int32_t clampToCaseTime(int64_t ms)
{
    return int32_t(std::clamp<int64_t>(ms, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// A run of pieces from `from`: one piece, then one more for every whole 10 s up to `to`.
void addRun(std::vector<PrintPiece> &list, int64_t from, int64_t to)
{
    const int64_t more = std::max<int64_t>(0, (to - from) / PieceMs);
    for (int64_t k = 0; k <= more; ++k) {
        const int64_t start = from + PieceMs * k;
        list.push_back({clampToCaseTime(start), clampToCaseTime(start + PieceMs)});
    }
}

} // namespace

std::vector<EcgSegment> sortedSegments(const SegmentTable &segments)
{
    std::vector<EcgSegment> sorted;
    sorted.reserve(size_t(segments.usedCount()));
    segments.forEachUsed([&](int, const EcgSegment &s) { sorted.push_back(s); });
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const EcgSegment &l, const EcgSegment &r) { return l.startMs < r.startMs; });
    return sorted;
}

std::vector<PrintPiece> buildPrintList(const std::vector<EcgSegment> &sorted)
{
    std::vector<PrintPiece> list;
    for (const EcgSegment &s : sorted) {
        if (list.empty() || list.back().endMs < s.startMs)
            addRun(list, s.startMs, s.endMs);
        else if (list.back().endMs < s.endMs)
            addRun(list, list.back().endMs, s.endMs);
    }
    return list;
}

int pageCount(int pieceCount)
{
    return (std::max(0, pieceCount) + StripsPerPage - 1) / StripsPerPage;
}

SelectionReport report(const CaseRecord *c, std::vector<PrintPiece> pieces, uint8_t language)
{
    SelectionReport r;
    r.caseRecord = c;
    if (c)
        r.pieces = std::move(pieces);
    r.pageCount = pageCount(int(r.pieces.size()));
    r.language = language;
    return r;
}

} // namespace SelectionPrint
