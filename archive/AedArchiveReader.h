#pragma once

#include "case/CC8Class.h"
#include "case/CaseRecord.h"

#include <QString>
#include <cstdint>
#include <vector>

class BinaryReader;
class CaseStore;

// Everything one archive holds, read but not yet put into a case slot.
struct AedArchiveContents
{
    // The fields of the archive. deviceStartTime is the start time read (startTime stays
    // 0: the shift to a zone belongs to the open); both annotation counts are the number
    // of annotations; startTimeValid comes from the trailer, else it is true unless the
    // start time is missing (0); a start outside 1970..2099 is never valid.
    CaseRecord record;
    CC8Class files;                      // the five buffers, the trend blocks cut
    std::vector<EventItem> annotations;  // title (with "A: ") and body, file order
    bool tempSection = false;            // the archive held a Temp section
    int32_t tempFilePresent = 0;         // from the trailer, else tempSection
    QString recordingId;                 // RecordingId of the device files held
};

// Reads an archive from its bytes. A text or section running past the end, a length
// that cannot fit in what is left, or a cut trailer (4 bytes of its 5) throws FileError
// EndOfFile; a text length above 2^31 - 1 throws BadFormat. A section whose marker text is
// missing is absent, not an error. Any number of annotations is read. Fewer than 4 bytes
// after the annotations are ignored: such a file is complete without a trailer.
AedArchiveContents ParseAedArchive(BinaryReader &in);

// Fills a slot freshly taken with AllocateCaseSlot from the archive at path: the case
// record with its start time shifted to the zone state.timeZoneChoice (kept as the
// case's timeZoneIndex), the slot's file set, tempLoaded and tempFilePresent, and the
// store's pendingAnnotations, which the event-list build turns into events.
// On any failure the slot is freed (FreeCase) before the FileError is passed on, so no
// half-filled case remains and pendingAnnotations is unchanged.
void ReadAedArchive(CaseStore &store, const QString &path, int slot, uint16_t timeZoneChoice);
