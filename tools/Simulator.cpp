#include "tools/Simulator.h"

#include "tools/AudioSynthesis.h"
#include "tools/EcgSynthesis.h"
#include "tools/RescueScript.h"
#include "tools/SimRandom.h"

#include <algorithm>
#include <cmath>

namespace {

// Each part draws from its own stream, so that leaving out the sound or the temperature
// does not change the rest of the rescue. The mishaps of the rescue (slow hands on the
// shock button, pads coming loose, a change of rescuers) have one of their own, so that
// they leave the rest of each seed's story where it was.
enum class Stream : uint32_t { Story = 0, Ecg = 1, Records = 2, Audio = 3, Mishaps = 4 };

SimRandom streamFor(uint32_t seed, Stream stream)
{
    // Mixes the bits (a 32-bit finaliser) so that neighbouring seeds start far apart. The
    // mishaps' stream is moved off the grid of the others, which the next seed's story
    // would otherwise share.
    uint32_t x = stream == Stream::Mishaps ? (seed * 4u) ^ 0x9e3779b9u : seed * 4u + uint32_t(stream);
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return SimRandom(x);
}

DeviceFiles::EcgHeader headerFor(const QDateTime &start)
{
    const QDate d = start.date();
    const QTime t = start.time();
    DeviceFiles::EcgHeader h;
    h.year = uint8_t(std::clamp(d.year() - 2000, 0, 255));
    h.month = uint8_t(d.month());
    h.day = uint8_t(d.day());
    h.hour = uint8_t(t.hour());
    h.minute = uint8_t(t.minute());
    h.second = uint8_t(t.second());
    return h;
}

} // namespace

DeviceFiles::DeviceFolder simulateRescue(const SimulationOptions &options)
{
    const double minutes = std::clamp(options.minutes, 0.0, SimulationOptions::MaxMinutes);
    const int32_t lengthMs = std::max<int32_t>(1, int32_t(std::lround(minutes * 60000.0)));

    SimRandom storyRng = streamFor(options.seed, Stream::Story);
    SimRandom mishapRng = streamFor(options.seed, Stream::Mishaps);
    const RescueScript::Script script = RescueScript::write(options.model, lengthMs, storyRng, mishapRng);

    DeviceFiles::DeviceFolder folder;
    folder.model = options.model;
    folder.header = headerFor(options.start);

    SimRandom ecgRng = streamFor(options.seed, Stream::Ecg);
    folder.ecgFirstSampleMs = script.padsOnMs;
    folder.ecgRaw = EcgSynthesis::rawSamples(script, ecgRng);

    // The monitor reports the heart rate every second and the temperature every 30 s
    // while the pads are on.
    SimRandom recordRng = streamFor(options.seed, Stream::Records);
    for (int32_t t = script.padsOnMs + 1000; t < script.powerOffMs; t += 1000) {
        const int32_t bpm = RescueScript::heartRateAt(script, t);
        folder.heartRate.push_back({t, bpm > 0 ? bpm + recordRng.range(-2, 2) : 0});
    }
    folder.hasTemp = options.temperature;
    if (options.temperature) {
        int32_t celsius = recordRng.chance(0.5) ? 36 : 37;
        for (int32_t t = script.padsOnMs + 5000; t < script.powerOffMs; t += 30000) {
            folder.temperature.push_back({t, celsius});
            if (recordRng.chance(0.1))
                celsius = celsius == 36 ? 37 : 36;
        }
    }

    folder.trend = RescueScript::packTrendBlocks(script);

    folder.hasCprFeedback = true;
    folder.cprFeedback.reserve(script.compressions.size());
    for (const auto &c : script.compressions)
        folder.cprFeedback.push_back({c.timeMs, c.depth});

    folder.hasAudio = options.audio;
    if (options.audio) {
        SimRandom audioRng = streamFor(options.seed, Stream::Audio);
        const int64_t capEnd = int64_t(script.audioStartMs) + int64_t(std::max(0, options.audioCapMinutes)) * 60000;
        const int32_t audioEnd = int32_t(std::min<int64_t>(script.powerOffMs, capEnd));
        folder.audioStartMs = script.audioStartMs;
        folder.audioSamples = AudioSynthesis::samples(script, audioEnd, audioRng);
    }
    return folder;
}
