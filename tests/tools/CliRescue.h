#pragma once

#include "tools/DeviceFolderWriter.h"

// The device folder the command tests import: a rescue started 2021-03-07 09:05 with one
// shock, a CPR period, CPR feedback and two seconds of sound.
inline DeviceFiles::DeviceFolder cliRescue(DeviceFiles::Model model = DeviceFiles::Model::Q25)
{
    DeviceFiles::DeviceFolder f;
    f.model = model;
    f.ecgRaw = std::vector<int32_t>(2500, 0);
    f.heartRate = {{1000, 72}};
    f.temperature = {{1500, 36}};
    DeviceFiles::TrendBlock block;
    block.events[0] = {101, 3000};
    block.shockMs = 8000;
    block.impedanceOhm = 90;
    block.energyTenthsJ = 1500;
    f.trend = {block};
    f.cprFeedback = {{4000, 50}, {4500, 55}};
    f.hasCprFeedback = true;
    f.audioStartMs = 250;
    f.audioSamples = QByteArray(32000, char(0x80));
    f.hasAudio = true;
    return f;
}
