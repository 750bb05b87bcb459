#pragma once

#include "tools/RescueScript.h"
#include "tools/SimRandom.h"

#include <QByteArray>
#include <cstdint>

// The sound the device records during a simulated rescue: 8-bit unsigned mono PCM at
// 16000 samples per second, 128 being silence, from the script's audioStartMs. Voice
// prompts are stood in for by short tone bursts with a pitch per kind of prompt; the
// metronome beeps at every compression; charging whines; the shock thumps.
namespace AudioSynthesis {

constexpr int SamplesPerSecond = 16000;

// Sound from audioStartMs up to endMs (nothing when endMs is not later).
QByteArray samples(const RescueScript::Script &script, int32_t endMs, SimRandom &rng);

// Pitch in Hz of the tone standing for a device prompt of the given event code.
double promptPitch(int32_t code);

} // namespace AudioSynthesis
