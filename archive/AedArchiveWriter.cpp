#include "archive/AedArchiveWriter.h"

#include "archive/AedArchive.h"
#include "archive/AedText.h"
#include "archive/AedTime.h"
#include "base/AtomicFileWriter.h"
#include "base/BinaryWriter.h"
#include "case/CaseStore.h"
#include "device/MifHeader.h"

namespace {

// A section's marker and length go into out; out so far, then the data itself, become parts.
void writeSection(BinaryWriter &out, QByteArrayList &parts, const QString &marker, const QByteArray &data)
{
    AedText::write(out, marker);
    out.u32(uint32_t(data.size()));
    parts << out.take() << data;
}

std::vector<const EventItem *> annotationsOf(const CaseRecord &record)
{
    std::vector<const EventItem *> out;
    record.events.forEachUsed([&](int, const EventItem &e) {
        if (e.text.startsWith(AedArchive::annotationPrefix()))
            out.push_back(&e);
    });
    return out;
}

} // namespace

QByteArray EncodeAedArchive(const CaseRecord &record, const CC8Class &files, const AedArchiveLayout &layout)
{
    return EncodeAedArchiveParts(record, files, layout).join();
}

QByteArrayList EncodeAedArchiveParts(const CaseRecord &record, const CC8Class &files, const AedArchiveLayout &layout)
{
    QByteArrayList parts;
    BinaryWriter out;
    AedTime::write(out, layout.startTime);
    AedText::write(out, record.serialNumber);
    writeSection(out, parts, AedArchive::ctMarker(), files.ctData);
    writeSection(out, parts, AedArchive::ecgMarker(), files.ecgData);
    writeSection(out, parts, AedArchive::hrMarker(), files.hrData);
    writeSection(out, parts, AedArchive::trendMarker(), files.trendData);
    if (layout.withTemp)
        writeSection(out, parts, AedArchive::tempMarker(), files.tempData);

    for (const QString *text : {&record.comments, &record.operatorName, &record.extraText1, &record.extraText2,
                                &record.patientId, &record.lastName, &record.firstName, &record.lastName,
                                &record.middleInitial})
        AedText::write(out, *text);
    out.i32(record.nameSuffixIndex);
    out.i32(record.sexIndex);
    out.i32(record.raceIndex);
    AedTime::write(out, record.birthDate);
    out.u8(record.birthDateKnown ? 1 : 0);
    out.u8(record.birthDateUnknown ? 1 : 0);
    AedText::write(out, record.heightText);
    out.i32(record.heightUnitIndex);
    AedText::write(out, record.weightText);
    out.i32(record.weightUnitIndex);

    out.i32(int32_t(layout.annotations.size()));
    for (const EventItem *a : layout.annotations) {
        out.i32(a->timeMs);
        AedText::write(out, a->text);
        AedText::write(out, a->detail);
    }
    if (layout.withTrailer) {
        out.i32(layout.tempFilePresent);
        out.u8(layout.startTimeValid ? 1 : 0);
    }
    parts << out.take();
    return parts;
}

void WriteAedArchive(CaseStore &store, int slot, const QString &path, AedArchiveVariant variant)
{
    CaseRecord *record = store.caseAt(slot);
    if (!record || !store.at(slot).fileSet)
        return;
    const CC8Class &files = *store.at(slot).fileSet;

    AedArchiveLayout layout;
    if (variant == AedArchiveVariant::Conversion) {
        layout.startTime = record->startTime;
        layout.tempFilePresent = store.tempFilePresentOf(slot);
        layout.withTemp = layout.tempFilePresent == 1;
        layout.withTrailer = true;
        layout.startTimeValid = MifHeader::IsValid(files);
    } else {
        layout.startTime = record->deviceStartTime;
        layout.withTemp = store.at(slot).tempLoaded == 1;
        layout.annotations = annotationsOf(*record);
    }
    // Comments reading "<<<TEMP>>>" would be taken for the Temp marker: an empty Temp
    // section before them keeps the archive readable.
    if (record->comments == AedArchive::tempMarker())
        layout.withTemp = true;

    AtomicFileWriter::write(path, EncodeAedArchiveParts(*record, files, layout));

    const auto written = int32_t(layout.annotations.size());
    record->savedAnnotationCount = written;
    if (variant == AedArchiveVariant::Conversion)
        record->startTimeValid = layout.startTimeValid;
    else
        record->annotationChangeCount = written;
}
