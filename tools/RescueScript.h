#pragma once

#include "tools/DeviceFolderWriter.h"
#include "tools/SimRandom.h"

#include <cstdint>
#include <vector>

// The story of one simulated rescue on the device's clock (milliseconds since power-on):
// what the device said and did, what the heart did, when the chest was pressed. The ECG,
// the records, the trend blocks and the sound are all derived from it.
namespace RescueScript {

enum class Rhythm { Sinus, VentricularFibrillation, Asystole };

// A rhythm holding from startMs until the next segment's start (or power-off).
struct RhythmSegment
{
    int32_t startMs = 0;
    Rhythm rhythm = Rhythm::Asystole;
    int32_t bpm = 0;          // sinus only: beats per minute
    double amplitude = 1.0;   // sinus: R-wave scale; fibrillation: waves in mV (0.2..1.3)
};

struct Compression
{
    int32_t timeMs = 0;
    int32_t depth = 50;       // feedback scale: 50 is about 5 cm
};

struct Shock
{
    int32_t timeMs = 0;
    uint32_t energyTenthsJ = 0;
    int32_t impedanceOhm = 0;
    bool automatic = false;   // announced by code 27 instead of the button prompt
};

struct Interval
{
    int32_t startMs = 0;
    int32_t endMs = 0;
};

// What the trend blocks take, in time order: a device event, a shock or a pads entry.
struct TrendItem
{
    enum class Kind { Event, Shock, Pads };
    Kind kind = Kind::Event;
    int32_t timeMs = 0;
    int32_t code = 0;                   // Event: the device's event code
    int shockIndex = -1;                // Shock: index into Script::shocks
    DeviceFiles::PadsEntry pads;        // Pads
};

struct Script
{
    int32_t powerOffMs = 0;
    int32_t padsOnMs = 0;               // first contact of the pads: the ECG starts here
    int32_t audioStartMs = 0;
    int32_t impedanceOhm = 0;           // the patient's chest between the pads
    DeviceFiles::Model model = DeviceFiles::Model::Q26;
    std::vector<TrendItem> trend;       // time order, all before power-off
    std::vector<RhythmSegment> rhythm;  // time order, the first one at padsOnMs
    std::vector<Compression> compressions;
    std::vector<Shock> shocks;
    std::vector<Interval> padsOff;      // pads lost contact: no ECG signal
    std::vector<Interval> charging;     // capacitor charging: the charge whine
    std::vector<Interval> cprPeriods;   // from the first "Begin CPR" to "Stop CPR"
};

// A rescue of lengthMs (at least 1 ms) from power-on to power-off, decided by rng; the
// rescuers' mishaps (pads trouble, a slow shock button, pressing on into an analysis or
// through the charging, a change of rescuers) by mishaps.
Script write(DeviceFiles::Model model, int32_t lengthMs, SimRandom &rng, SimRandom &mishaps);

// Heart-rate reading the device shows at timeMs: the sinus rate, 0 without one.
int32_t heartRateAt(const Script &script, int32_t timeMs);
// The rhythm segment holding at timeMs (the first one before the pads are on).
const RhythmSegment &rhythmAt(const Script &script, int32_t timeMs);

// Packs the trend items into 2668-byte blocks: at most 100 events a block, one shock a
// block (a new block starts at an analysis when the current one holds a shock), a code 7
// never split from the code 11 that words it, power-off in the last block.
std::vector<DeviceFiles::TrendBlock> packTrendBlocks(const Script &script);

} // namespace RescueScript
