#include "bench/BenchCases.h"

int importAndDecode(CaseSession &view)
{
    view.store.setTempFilePresent(view.store.nextCaseSlot(), 1);
    view.store.scratchFileSet.SetPaths(view.state.mifFolderPath, view.state.deviceModel);
    MifCase::LoadFiles(view.store, view.store.scratchFileSet, 0, view.platform());
    view.store.scratchFileSet.SplitTrendBlocks();
    const int slot = MifCase::CreateCaseFromMif(view);
    view.store.at(slot).tempLoaded = 1;
    MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex);
    return slot;
}

SimulationOptions tenHourOptions()
{
    SimulationOptions options;
    options.minutes = 600;
    options.audio = false;
    return options;
}
