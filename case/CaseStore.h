#pragma once

#include "case/CC8Class.h"
#include "case/CaseRecord.h"
#include "case/OpenCase.h"

#include <QString>
#include <cstdint>
#include <vector>

class LanguagePack;
class Platform;

// The numbered case slots of the open cases. A slot is handed out lowest free first and
// keeps its number until its case is closed; slotCount() is the number of slots ever made
// since the last FreeAllCases.
//
// A slot's record may exist before the slot is made: the flows set tempFilePresent of the
// slot the next case will take (nextCaseSlot()) before allocating it, and shockCount,
// tempLoaded and tempFilePresent outlive FreeAllCases (a new slot resets the first two).
class CaseStore
{
public:
    CaseStore(LanguagePack &texts, Platform &platform);
    ~CaseStore();
    CaseStore(const CaseStore &) = delete;
    CaseStore &operator=(const CaseStore &) = delete;

    int slotCount() const { return m_slotCount; }
    // True when slot is below slotCount() and holds an open case.
    bool isSlotUsed(int slot) const;
    // The case in a used slot; null otherwise.
    CaseRecord *caseAt(int slot) const;
    // The slot's record (made on demand for a slot not made yet). slot >= 0.
    OpenCase &at(int slot);
    // The slot's record, or null for a slot never made or set.
    const OpenCase *find(int slot) const;
    // The case in slot is open read-only: no edit, mark or save of it is taken.
    bool isReadOnly(int slot) const;

    // A slot holding a new, empty case and file set: the lowest free slot, else a new one.
    // sourcePath is the folder + file name the case comes from.
    int AllocateCaseSlot(const QString &sourcePath);
    // The slot the next AllocateCaseSlot() will return.
    int nextCaseSlot() const;
    // tempFilePresent of a slot, 0 for a slot never set.
    int32_t tempFilePresentOf(int slot) const;
    void setTempFilePresent(int slot, int32_t value);

    // Stores a new event; the texts are copied. code is the device's event code it was
    // decoded from (EventCode). When the table is full the limit message is shown once per
    // case and later calls for the case do nothing. Returns the event's table slot, -1 when
    // it was not stored.
    int AddEvent(int slot, int32_t timeMs, const QString &text, const QString &detail,
                  int32_t code = EventCode::None);
    // Stores a new CPR period. Returns the table slot used when returnIndex, else 0. When
    // the table is full it shows the limit message and returns -1 if returnIndex (so no
    // caller takes period 0 for the refused one), else 0.
    int AddCprPeriod(int slot, int32_t startMs, int32_t endMs, bool returnIndex);
    // The last used CPR-period slot with startMs < timeMs < endMs; MaxCprPeriods (200)
    // when none matches or when the table is full.
    int FindCprPeriod(int slot, int32_t timeMs) const;
    // Stores a new ECG segment; a full table shows the limit message.
    void AddSegment(int slot, int32_t startMs, int32_t endMs);
    // Deletes the case and its file set and marks the slot free. The caller removes the
    // case's branch from the tree.
    void FreeCase(int slot);
    // Frees every case (slotCount() 0). shockCount, tempLoaded and tempFilePresent of the
    // records keep their values.
    void FreeAllCases();

    // Annotations read from an archive (title with its "A: ", body), in file order, waiting
    // for the event-list build to add them to the case and empty the table.
    std::vector<EventItem> pendingAnnotations;

    // The file set the open and import flows read a folder into before a slot exists.
    CC8Class scratchFileSet;

private:
    void showLimitMessage(int textNumber);

    std::vector<OpenCase> m_slots;
    int m_slotCount = 0;
    LanguagePack &m_texts;
    Platform &m_platform;
};
