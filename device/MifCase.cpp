#include "device/MifCase.h"

#include "case/CaseSession.h"
#include "device/MifDecoder.h"
#include "case/CC8Class.h"
#include "device/MifHeader.h"

namespace MifCase {

int LoadFiles(const CaseStore &store, CC8Class &fileSet, int slot, Platform &platform)
{
    return fileSet.LoadFiles(store.tempFilePresentOf(slot) == 1, platform);
}

int CreateCaseFromMif(CaseSession &session, const CC8Class *alreadyRead)
{
    CaseStore &store = session.store;
    const SharedState &state = session.state;
    // The case has no archive yet: its import writes one and opens that.
    const int slot = store.AllocateCaseSlot(QString());
    CaseRecord &c = *store.caseAt(slot);
    CC8Class &files = *store.at(slot).fileSet;

    if (alreadyRead) {
        files = *alreadyRead;
        if (store.tempFilePresentOf(slot) == 1)
            files.LoadTempFile(session.platform()); // a missing file was reported
    } else {
        files.SetPaths(state.mifFolderPath, state.deviceModel);
        LoadFiles(store, files, slot, session.platform()); // a missing file was reported; the case keeps what was read
    }
    files.SplitTrendBlocks();

    store.scratchFileSet.ctData = QByteArray();
    store.scratchFileSet.ecgData = QByteArray();
    store.scratchFileSet.hrData = QByteArray();
    store.scratchFileSet.trendData = QByteArray();

    c.buildState = CaseFilesLoaded;
    files.headerYear = MifHeader::CorrectedYear(files.headerYear);
    c.startTimeValid = MifHeader::IsValid(files);
    c.serialNumber = state.serialNumber;
    c.startTime = c.startTimeValid ? MifHeader::StartTime(files) : CTime();
    return slot;
}

void DecodeCaseData(CaseStore &store, int slot, const LanguagePack &texts, int32_t deviceModel, int32_t modelIndex,
                    const std::function<void()> &addAnnotations)
{
    if (!store.isSlotUsed(slot) || !store.at(slot).fileSet)
        return;
    MifDecoder decoder(store, slot, texts, deviceModel, modelIndex);
    decoder.DecodeSeriesAndEvents();
    if (addAnnotations)
        addAnnotations();
    decoder.DecodeEcg();
}

} // namespace MifCase
