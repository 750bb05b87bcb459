#include "archive/AedArchiveReader.h"

#include "archive/AedArchive.h"
#include "archive/AedText.h"
#include "archive/AedTime.h"
#include "archive/RecordingId.h"
#include "base/BinaryReader.h"
#include "case/CaseStore.h"
#include "case/EcgSampleDecoder.h"
#include "device/ZoneShift.h"

namespace {

// The smallest annotation record: its time and two empty 8-bit texts.
constexpr uint64_t MinAnnotationBytes = 4 + 1 + 1;

// A section is there only when its marker text is; otherwise the text read is dropped.
void readSection(BinaryReader &in, const QString &marker, QByteArray &data)
{
    if (AedText::read(in) != marker)
        return;
    data = in.bytes(in.u32());
}

// The ECG section, whose samples are converted for the pictures piece by piece as they are
// read, while each piece is still in the processor's cache.
void readEcgSection(BinaryReader &in, QByteArray &data, CaseRecord &r)
{
    if (AedText::read(in) != AedArchive::ecgMarker())
        return;
    const uint32_t size = in.u32();
    if (size > uint64_t(in.remaining()))
        in.fail(FileError::Kind::EndOfFile);
    EcgSampleDecoder samples(size);
    data = in.bytes(size, [&](const char *bytes, qsizetype n) { samples.feed(bytes, n); });
    samples.storeInto(r);
}

void readFields(BinaryReader &in, CaseRecord &r)
{
    r.operatorName = AedText::read(in);
    r.extraText1 = AedText::read(in);
    r.extraText2 = AedText::read(in);
    r.patientId = AedText::read(in);
    r.lastName = AedText::read(in);
    r.firstName = AedText::read(in);
    r.lastName = AedText::read(in); // the second copy is the one kept
    r.middleInitial = AedText::read(in);
    r.nameSuffixIndex = in.i32();
    r.sexIndex = in.i32();
    r.raceIndex = in.i32();
    r.birthDate = AedTime::read(in);
    r.birthDateKnown = in.u8() != 0;
    r.birthDateUnknown = in.u8() != 0;
    r.heightText = AedText::read(in);
    r.heightUnitIndex = in.i32();
    r.weightText = AedText::read(in);
    r.weightUnitIndex = in.i32();
}

std::vector<EventItem> readAnnotations(BinaryReader &in)
{
    const int32_t count = in.i32();
    if (count < 0 || uint64_t(count) * MinAnnotationBytes > uint64_t(in.remaining()))
        in.fail(FileError::Kind::EndOfFile);
    std::vector<EventItem> out;
    out.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t timeMs = in.i32();
        const QString title = AedText::read(in);
        const QString body = AedText::read(in);
        out.push_back(EventItem::make(timeMs, title, body));
    }
    return out;
}

} // namespace

AedArchiveContents ParseAedArchive(BinaryReader &in)
{
    AedArchiveContents a;
    CaseRecord &r = a.record;
    r.deviceStartTime = AedTime::read(in);
    r.serialNumber = AedText::read(in);
    readSection(in, AedArchive::ctMarker(), a.files.ctData);
    readEcgSection(in, a.files.ecgData, r);
    readSection(in, AedArchive::hrMarker(), a.files.hrData);
    readSection(in, AedArchive::trendMarker(), a.files.trendData);
    a.files.SplitTrendBlocks();

    // The Temp section is optional: the text after the Trend data is its marker or the comments.
    const QString text = AedText::read(in);
    if (text == AedArchive::tempMarker()) {
        a.tempSection = true;
        a.files.tempData = in.bytes(in.u32());
        r.comments = AedText::read(in);
    } else {
        r.comments = text;
    }
    readFields(in, r);
    a.annotations = readAnnotations(in);
    r.savedAnnotationCount = int32_t(a.annotations.size());
    r.annotationChangeCount = r.savedAnnotationCount;

    // Only the conversion writes the trailer; a trailer that was cut is a cut file. A few
    // stray bytes at the end, too short even for the trailer's first field, are no trailer:
    // the file ended after the annotations.
    if (in.remaining() < qsizetype(sizeof(int32_t))) {
        a.tempFilePresent = a.tempSection ? 1 : 0;
        r.startTimeValid = r.deviceStartTime.GetTime() != 0;
    } else {
        a.tempFilePresent = in.i32();
        r.startTimeValid = in.u8() != 0;
    }
    if (!AedTime::isPlausibleStart(r.deviceStartTime))
        r.startTimeValid = false;
    a.recordingId = RecordingId(a.files);
    return a;
}

void ReadAedArchive(CaseStore &store, const QString &path, int slot, uint16_t timeZoneChoice)
{
    if (!store.caseAt(slot) || !store.at(slot).fileSet)
        return;
    try {
        // Streamed: each section is read from the file straight into its own array.
        BinaryReader in = BinaryReader::streamFile(path);
        AedArchiveContents a = ParseAedArchive(in);

        CaseRecord &r = a.record;
        r.timeZoneIndex = timeZoneChoice;
        // A missing start time stays missing rather than becoming a few hours off 1970;
        // one outside the starts a case can have is not shifted at all.
        if (r.deviceStartTime.GetTime() != 0 && AedTime::isPlausibleStart(r.deviceStartTime))
            r.startTime = ShiftStartToZone(r.deviceStartTime, r.timeZoneIndex);

        OpenCase &entry = store.at(slot);
        *entry.record = std::move(r);
        *entry.fileSet = std::move(a.files);
        entry.tempLoaded = a.tempSection ? 1 : 0;
        entry.tempFilePresent = a.tempFilePresent;
        entry.recordingId = a.recordingId;
        store.pendingAnnotations = std::move(a.annotations);
    } catch (...) {
        store.FreeCase(slot);
        throw;
    }
}
