// Archive reader: any bytes either read or end in a FileError. What reads is written
// again and must read back the same.
#include "archive/AedArchiveReader.h"
#include "archive/AedArchiveWriter.h"
#include "base/BinaryReader.h"

#include <cstddef>
#include <cstdint>

namespace {

AedArchiveLayout layoutOf(const AedArchiveContents &a)
{
    AedArchiveLayout layout;
    layout.startTime = a.record.deviceStartTime;
    layout.withTemp = a.tempSection;
    for (const EventItem &e : a.annotations)
        layout.annotations.push_back(&e);
    layout.withTrailer = true;
    layout.tempFilePresent = a.tempFilePresent;
    layout.startTimeValid = a.record.startTimeValid;
    return layout;
}

bool same(const AedArchiveContents &x, const AedArchiveContents &y)
{
    const CaseRecord &a = x.record;
    const CaseRecord &b = y.record;
    if (a.deviceStartTime != b.deviceStartTime || a.serialNumber != b.serialNumber || a.comments != b.comments
        || a.lastName != b.lastName || a.weightText != b.weightText || a.birthDate != b.birthDate
        || a.raceIndex != b.raceIndex || a.startTimeValid != b.startTimeValid)
        return false;
    if (x.files.ctData != y.files.ctData || x.files.ecgData != y.files.ecgData || x.files.trendData != y.files.trendData
        || x.files.tempData != y.files.tempData || x.files.trendBlockCount != y.files.trendBlockCount)
        return false;
    if (x.annotations.size() != y.annotations.size() || x.tempSection != y.tempSection
        || x.tempFilePresent != y.tempFilePresent)
        return false;
    for (size_t i = 0; i < x.annotations.size(); ++i)
        if (x.annotations[i].timeMs != y.annotations[i].timeMs || x.annotations[i].text != y.annotations[i].text
            || x.annotations[i].detail != y.annotations[i].detail)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    BinaryReader in(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("fuzz.aed"));
    AedArchiveContents first;
    try {
        first = ParseAedArchive(in);
    } catch (const FileError &) {
        return 0;
    }
    const AedArchiveLayout layout = layoutOf(first);
    BinaryReader again(EncodeAedArchive(first.record, first.files, layout), QStringLiteral("again.aed"));
    if (!same(first, ParseAedArchive(again)))
        __builtin_trap();
    return 0;
}
