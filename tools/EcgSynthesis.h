#pragma once

#include "tools/RescueScript.h"
#include "tools/SimRandom.h"

#include <cstdint>
#include <vector>

// The pads' ECG of a simulated rescue as the device stores it: signed raw values, one
// every 4 ms (250 per second) from the script's padsOnMs to its power-off. About 190 raw
// units make 1 mV (the stored byte keeps raw × 0.26315789, 50 bytes per mV).
namespace EcgSynthesis {

constexpr int SamplesPerSecond = 250;
constexpr int32_t SampleMs = 4;
constexpr double RawPerMillivolt = 190.0;

std::vector<int32_t> rawSamples(const RescueScript::Script &script, SimRandom &rng);

} // namespace EcgSynthesis
