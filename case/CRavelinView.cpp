#include "case/CRavelinView.h"

#include "app/LanguagePack.h"
#include "app/Platform.h"
#include "archive/CloseAllCases.h"
#include "archive/FolderScan.h"
#include "archive/OpenFlow.h"
#include "archive/SaveCommand.h"
#include "case/MifDecoder.h"
#include "case/EventText.h"
#include "case/MifHeader.h"

namespace {
constexpr int EventLimitText = 68;
constexpr int CprPeriodLimitText = 69;
constexpr int SegmentLimitText = 71;

template <typename T>
void growTo(std::vector<T> &entries, int size)
{
    if (int(entries.size()) < size)
        entries.resize(size_t(size), T{});
}
} // namespace

CRavelinView::CRavelinView(LanguagePack &texts, Platform &platform, QObject *parent)
    : QObject(parent), m_texts(texts), m_platform(platform)
{
}

CRavelinView::~CRavelinView() = default;

QString CRavelinView::GetText(int number) const
{
    return m_texts.GetText(number);
}

void CRavelinView::showLimitMessage(int textNumber)
{
    m_platform.showError(GetText(textNumber), GetText(TextId::Caption));
}

bool CRavelinView::isSlotUsed(int slot) const
{
    return slot >= 0 && slot < slotCount && slotUsed[size_t(slot)] && cases[size_t(slot)];
}

CaseRecord *CRavelinView::caseAt(int slot) const
{
    return isSlotUsed(slot) ? cases[size_t(slot)].get() : nullptr;
}

int CRavelinView::nextCaseSlot() const
{
    for (int i = 0; i < slotCount; ++i)
        if (!slotUsed[size_t(i)])
            return i;
    return slotCount;
}

int32_t CRavelinView::tempFilePresentOf(int slot) const
{
    return slot >= 0 && slot < int(tempFilePresent.size()) ? tempFilePresent[size_t(slot)] : 0;
}

void CRavelinView::setTempFilePresent(int slot, int32_t value)
{
    growTo(tempFilePresent, slot + 1);
    tempFilePresent[size_t(slot)] = value;
}

int CRavelinView::AllocateCaseSlot()
{
    const int slot = nextCaseSlot();
    const auto s = size_t(slot);
    if (slot == slotCount) {
        cases.push_back(nullptr);
        slotUsed.push_back(false);
        viewedFlags.push_back(false);
        fileSets.push_back(nullptr);
        fileSetMade.push_back(false);
        sourcePaths.emplace_back();
        hasCprFeedback.push_back(false);
        hasAudio.push_back(false);
        audioStartMs.push_back(0);
        audioDurationSec.push_back(0);
        ++slotCount;
    }
    // A reused slot keeps the feedback, audio and viewed values of the case it held until
    // the flows that load the new case set them.
    cases[s] = std::make_unique<CaseRecord>();
    fileSets[s] = std::make_unique<CC8Class>();
    slotUsed[s] = true;
    fileSetMade[s] = true;
    sourcePaths[s] = state.currentFolder + state.currentArchiveName;
    growTo(tempLoaded, slotCount);
    growTo(shockCounts, slotCount);
    growTo(tempFilePresent, slotCount);
    tempLoaded[s] = 0;
    shockCounts[s] = 0;
    return slot;
}

void CRavelinView::AddEvent(int slot, int32_t timeMs, const QString &text, const QString &detail, int32_t code)
{
    CaseRecord *c = caseAt(slot);
    if (!c || c->eventLimitReported)
        return;
    if (c->events.add(EventItem::make(timeMs, text, detail, code)) >= 0)
        return;
    showLimitMessage(EventLimitText);
    c->eventLimitReported = true;
}

int CRavelinView::AddCprPeriod(int slot, int32_t startMs, int32_t endMs, bool returnIndex)
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

int CRavelinView::FindCprPeriod(int slot, int32_t timeMs) const
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

void CRavelinView::AddSegment(int slot, int32_t startMs, int32_t endMs)
{
    CaseRecord *c = caseAt(slot);
    if (c && c->segments.add(EcgSegment{startMs, endMs}) < 0)
        showLimitMessage(SegmentLimitText);
}

void CRavelinView::FreeCase(int slot)
{
    if (slot < 0 || slot >= slotCount)
        return;
    const auto s = size_t(slot);
    cases[s].reset();
    slotUsed[s] = false;
    fileSets[s].reset();
}

void CRavelinView::FreeAllCases()
{
    for (int slot = 0; slot < slotCount; ++slot)
        FreeCase(slot);
    cases.clear();
    sourcePaths.clear();
    slotUsed.clear();
    fileSets.clear();
    fileSetMade.clear();
    hasCprFeedback.clear();
    hasAudio.clear();
    audioStartMs.clear();
    audioDurationSec.clear();
    viewedFlags.clear();
    slotCount = 0;
}

int CRavelinView::LoadFiles(CC8Class &fileSet, int slot)
{
    return fileSet.LoadFiles(tempFilePresentOf(slot) == 1, m_platform);
}

int CRavelinView::CreateCaseFromMif()
{
    const int slot = AllocateCaseSlot();
    CaseRecord &c = *cases[size_t(slot)];
    CC8Class &files = *fileSets[size_t(slot)];

    files.SetPaths(state.mifFolderPath, state.deviceModel);
    LoadFiles(files, slot); // a missing file was reported; the case keeps what was read
    files.SplitTrendBlocks();

    scratchFileSet.ctData = QByteArray();
    scratchFileSet.ecgData = QByteArray();
    scratchFileSet.hrData = QByteArray();
    scratchFileSet.trendData = QByteArray();

    c.buildState = CaseFilesLoaded;
    files.headerYear = MifHeader::CorrectedYear(files.headerYear);
    c.startTimeValid = MifHeader::IsValid(files);
    c.serialNumber = state.serialNumber;
    c.startTime = c.startTimeValid ? MifHeader::StartTime(files) : CTime();
    return slot;
}

void CRavelinView::DecodeCaseData(int slot, const std::function<void()> &addAnnotations)
{
    if (!isSlotUsed(slot) || !fileSets[size_t(slot)])
        return;
    MifDecoder decoder(*this, slot);
    decoder.DecodeSeriesAndEvents();
    if (addAnnotations)
        addAnnotations();
    decoder.DecodeEcg();
}

QString CRavelinView::EventText(int code) const
{
    return ::EventText(code, state.deviceModel, m_texts);
}

bool CRavelinView::SaveSelectedCase()
{
    return ::SaveSelectedCase(*this);
}

void CRavelinView::OnOpenRequest()
{
    OpenFlow(*this).OnOpenRequest();
}

void CRavelinView::OnReloadRequest()
{
    OpenFlow(*this).OnReloadRequest();
}

bool CRavelinView::OpenArchiveFile(const QString &path)
{
    OpenFlow flow(*this);
    flow.OpenArchiveFile(path);
    return flow.openedSlot() >= 0;
}

void CRavelinView::CloseAllCases()
{
    ::CloseAllCases(*this);
}

void CRavelinView::OnPreviousPage()
{
    FolderScan(*this).OnPreviousPage();
}

void CRavelinView::OnNextPage()
{
    FolderScan(*this).OnNextPage();
}
