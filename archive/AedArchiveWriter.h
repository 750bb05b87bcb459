#pragma once

#include "base/CTime.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <cstdint>
#include <vector>

class CC8Class;
class CaseStore;
struct CaseRecord;
struct EventItem;

enum class AedArchiveVariant {
    Conversion, // a case just made from device files: no annotations, then the trailer
    Save,       // a case under review: its annotations, no trailer
};

// What an archive holds besides the case's fields and its file set's buffers.
struct AedArchiveLayout
{
    CTime startTime;                            // the device's own start time
    bool withTemp = false;                      // write the Temp section
    std::vector<const EventItem *> annotations; // events whose text begins "A: ", table order
    bool withTrailer = false;
    int32_t tempFilePresent = 0;                // trailer: the device folder held a Temp file
    bool startTimeValid = false;                // trailer
};

// The bytes of the archive of one case.
QByteArray EncodeAedArchive(const CaseRecord &record, const CC8Class &files, const AedArchiveLayout &layout);
// The same bytes in parts, in file order: the sections' data are the file set's own
// buffers (shared, not copied), the parts between them encoded anew.
QByteArrayList EncodeAedArchiveParts(const CaseRecord &record, const CC8Class &files, const AedArchiveLayout &layout);

// Writes the case of a used slot to path. The file is replaced whole or not at all (a
// temporary file beside it, flushed and renamed over it); a failure throws FileError
// naming path and leaves the case unchanged. After a successful write the conversion
// variant has stored 0 annotations and the start time's validity recomputed from the
// ECG header; the save variant has stored the number of annotations written in both
// annotation counts, so the case no longer has unsaved changes.
//
// The conversion variant writes the start time the case holds (a case made from device
// files holds the device's clock); the save variant writes deviceStartTime, the start as
// it was read before the zone shift, so that reopening in the same zone shows the same
// start time. The Temp section is written when the slot's tempFilePresent (conversion)
// or tempLoaded (save) is 1, and also, empty, when the comments are the Temp marker text.
void WriteAedArchive(CaseStore &store, int slot, const QString &path, AedArchiveVariant variant);
