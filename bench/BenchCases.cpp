#include "bench/BenchCases.h"

int importAndDecode(CRavelinView &view)
{
    view.setTempFilePresent(view.nextCaseSlot(), 1);
    view.scratchFileSet.SetPaths(view.state.mifFolderPath, view.state.deviceModel);
    view.LoadFiles(view.scratchFileSet, 0);
    view.scratchFileSet.SplitTrendBlocks();
    const int slot = view.CreateCaseFromMif();
    view.tempLoaded[size_t(slot)] = 1;
    view.DecodeCaseData(slot);
    return slot;
}

SimulationOptions tenHourOptions()
{
    SimulationOptions options;
    options.minutes = 600;
    options.audio = false;
    return options;
}
