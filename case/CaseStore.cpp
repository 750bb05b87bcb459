#include "case/CaseStore.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"

namespace {
constexpr int EventLimitText = 68;
constexpr int CprPeriodLimitText = 69;
constexpr int SegmentLimitText = 71;

// What a slot made afresh starts with; tempFilePresent, set before the slot is made,
// survives.
void resetForNewSlot(OpenCase &entry)
{
    const int32_t tempFilePresent = entry.tempFilePresent;
    entry = OpenCase{};
    entry.tempFilePresent = tempFilePresent;
}
} // namespace

CaseStore::CaseStore(LanguagePack &texts, Platform &platform) : m_texts(texts), m_platform(platform) {}

CaseStore::~CaseStore() = default;

void CaseStore::showLimitMessage(int textNumber)
{
    m_platform.showError(m_texts.GetText(textNumber), m_texts.GetText(TextId::Caption));
}

bool CaseStore::isSlotUsed(int slot) const
{
    return slot >= 0 && slot < m_slotCount && m_slots[size_t(slot)].used && m_slots[size_t(slot)].record;
}

CaseRecord *CaseStore::caseAt(int slot) const
{
    return isSlotUsed(slot) ? m_slots[size_t(slot)].record.get() : nullptr;
}

OpenCase &CaseStore::at(int slot)
{
    if (size_t(slot) >= m_slots.size())
        m_slots.resize(size_t(slot) + 1);
    return m_slots[size_t(slot)];
}

const OpenCase *CaseStore::find(int slot) const
{
    return slot >= 0 && size_t(slot) < m_slots.size() ? &m_slots[size_t(slot)] : nullptr;
}

bool CaseStore::isReadOnly(int slot) const
{
    const OpenCase *entry = find(slot);
    return entry && entry->readOnly;
}

int CaseStore::nextCaseSlot() const
{
    for (int i = 0; i < m_slotCount; ++i)
        if (!m_slots[size_t(i)].used)
            return i;
    return m_slotCount;
}

int32_t CaseStore::tempFilePresentOf(int slot) const
{
    const OpenCase *entry = find(slot);
    return entry ? entry->tempFilePresent : 0;
}

void CaseStore::setTempFilePresent(int slot, int32_t value)
{
    at(slot).tempFilePresent = value;
}

int CaseStore::AllocateCaseSlot(const QString &sourcePath)
{
    const int slot = nextCaseSlot();
    OpenCase &entry = at(slot);
    if (slot == m_slotCount) {
        resetForNewSlot(entry);
        ++m_slotCount;
    }
    // A reused slot keeps the feedback, audio and viewed values of the case it held until
    // the flows that load the new case set them.
    entry.record = std::make_unique<CaseRecord>();
    entry.fileSet = std::make_unique<CC8Class>();
    entry.used = true;
    entry.fileSetMade = true;
    entry.sourcePath = sourcePath;
    entry.tempLoaded = 0;
    entry.shockCount = 0;
    entry.adjustedStart.clear();
    entry.adjustedZoneMinutes.reset();
    entry.reviewWriteReported = false;
    entry.reviewFileWritable = true;
    entry.recordingId.clear();
    entry.companions.reset();
    entry.cprFeedbackPath.clear();
    entry.audioRecordPath.clear();
    entry.lock.reset();
    entry.readOnly = false;
    entry.lockTakenOver = false;
    entry.pauseCauses.clear();
    entry.auditedFields.clear();
    return slot;
}

int CaseStore::AddEvent(int slot, int32_t timeMs, const QString &text, const QString &detail, int32_t code)
{
    CaseRecord *c = caseAt(slot);
    if (!c || c->eventLimitReported)
        return -1;
    if (const int event = c->events.add(EventItem::make(timeMs, text, detail, code)); event >= 0)
        return event;
    showLimitMessage(EventLimitText);
    c->eventLimitReported = true;
    return -1;
}

int CaseStore::AddCprPeriod(int slot, int32_t startMs, int32_t endMs, bool returnIndex)
{
    CaseRecord *c = caseAt(slot);
    if (!c)
        return returnIndex ? -1 : 0;
    const int index = c->cprPeriods.add(CprPeriod{startMs, endMs});
    if (index < 0) {
        showLimitMessage(CprPeriodLimitText);
        return returnIndex ? -1 : 0;
    }
    return returnIndex ? index : 0;
}

int CaseStore::FindCprPeriod(int slot, int32_t timeMs) const
{
    const CaseRecord *c = caseAt(slot);
    int found = MaxCprPeriods;
    if (!c || c->cprPeriods.isFull())
        return found;
    c->cprPeriods.forEachUsed([&](int i, const CprPeriod &p) {
        if (p.startMs < timeMs && timeMs < p.endMs)
            found = i;
    });
    return found;
}

void CaseStore::AddSegment(int slot, int32_t startMs, int32_t endMs)
{
    CaseRecord *c = caseAt(slot);
    if (c && c->segments.add(EcgSegment{startMs, endMs}) < 0)
        showLimitMessage(SegmentLimitText);
}

void CaseStore::FreeCase(int slot)
{
    if (slot < 0 || slot >= m_slotCount)
        return;
    OpenCase &entry = m_slots[size_t(slot)];
    entry.record.reset();
    entry.used = false;
    entry.fileSet.reset();
    entry.lock.reset();
}

void CaseStore::FreeAllCases()
{
    for (int slot = 0; slot < m_slotCount; ++slot) {
        OpenCase &entry = m_slots[size_t(slot)];
        const int32_t shockCount = entry.shockCount;
        const int32_t tempLoaded = entry.tempLoaded;
        resetForNewSlot(entry);
        entry.shockCount = shockCount;
        entry.tempLoaded = tempLoaded;
    }
    m_slotCount = 0;
}
