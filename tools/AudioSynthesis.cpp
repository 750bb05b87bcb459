#include "tools/AudioSynthesis.h"

#include <algorithm>
#include <cmath>

namespace AudioSynthesis {

namespace {

constexpr double TwoPi = 6.283185307179586;
constexpr double PadsPromptPitch = 622.0; // "Plug in pads" when the pads come loose

class Mixer
{
public:
    Mixer(int32_t startMs, int32_t endMs, SimRandom &rng) : m_startMs(startMs), m_rng(rng)
    {
        const int64_t span = int64_t(endMs) - startMs;
        const qsizetype n = span > 0 ? qsizetype(span * SamplesPerSecond / 1000) : 0;
        m_pcm = QByteArray(n, Qt::Uninitialized);
        // Room hiss of one step around silence.
        char *p = m_pcm.data();
        for (qsizetype i = 0; i < n; ++i)
            p[i] = char(127 + (m_rng.range(0, 7) == 0 ? 0 : 1) + (m_rng.range(0, 7) == 0 ? 1 : 0));
    }

    // A tone of freq Hz (a sweep up to freqEnd) with 8 ms fade in and out; amplitude in
    // sample steps; a second harmonic of the given share colours voice-like tones.
    void tone(double atMs, double lengthMs, double freq, double freqEnd, double amplitude, double harmonic = 0.0)
    {
        const int64_t first = sampleAt(atMs);
        const int64_t count = int64_t(lengthMs * SamplesPerSecond / 1000.0);
        const int64_t fade = 8 * SamplesPerSecond / 1000;
        double phase = 0.0;
        for (int64_t i = 0; i < count; ++i) {
            const double f = freq + (freqEnd - freq) * double(i) / double(count);
            phase += TwoPi * f / SamplesPerSecond;
            const double envelope = std::min({1.0, double(i) / fade, double(count - i) / fade});
            const double v = std::sin(phase) + harmonic * std::sin(2.0 * phase);
            add(first + i, amplitude * envelope * v / (1.0 + harmonic));
        }
    }

    // A low thump with a burst of noise.
    void thump(double atMs)
    {
        const int64_t first = sampleAt(atMs);
        const int64_t count = SamplesPerSecond / 4;
        for (int64_t i = 0; i < count; ++i) {
            const double t = double(i) / SamplesPerSecond;
            const double decay = std::exp(-t / 0.06);
            add(first + i, decay * (70.0 * std::sin(TwoPi * 70.0 * t) + 25.0 * m_rng.gauss()));
        }
    }

    QByteArray take() { return std::move(m_pcm); }

private:
    int64_t sampleAt(double atMs) const { return int64_t((atMs - m_startMs) * SamplesPerSecond / 1000.0); }
    void add(int64_t i, double v)
    {
        if (i < 0 || i >= m_pcm.size())
            return;
        const int s = uint8_t(m_pcm[qsizetype(i)]) + int(std::lround(v));
        m_pcm[qsizetype(i)] = char(std::clamp(s, 0, 255));
    }

    int32_t m_startMs;
    SimRandom &m_rng;
    QByteArray m_pcm;
};

constexpr double SyllableMs = 220.0;

// A spoken prompt stood in for by a few syllable-like bursts around the prompt's pitch;
// at least one, and no more than fit in roomMs before the next prompt cuts it short.
void prompt(Mixer &mixer, int32_t code, double atMs, double pitch, double roomMs = 1e9)
{
    const int syllables = std::max(1, std::min(3 + code % 4, int(roomMs / SyllableMs)));
    static constexpr double Intonation[] = {1.0, 1.06, 0.96, 1.03, 0.92, 1.0};
    double t = atMs;
    for (int i = 0; i < syllables; ++i) {
        const double f = pitch * Intonation[i % 6];
        mixer.tone(t, 150.0, f, f * 0.97, 45.0, 0.3);
        t += SyllableMs;
    }
}

} // namespace

double promptPitch(int32_t code)
{
    switch (code) {
    case 1: case 2: case 3: case 4: case 5: return 440.0;   // first-aid instructions
    case 6: return 523.0;                                   // analysing
    case 7: return 659.0;                                   // the analysis result
    case 8: return 587.0;                                   // charging
    case 9: case 27: case 32: return 784.0;                 // shock now
    case 11: return 392.0;                                  // safe to touch
    case 12: case 13: case 14: case 15: case 26: return 494.0; // CPR
    case 28: return 349.0;                                  // audio recording
    default: break;
    }
    if (code >= 16 && code <= 25)
        return 698.0;                                       // compression feedback
    return 330.0;
}

QByteArray samples(const RescueScript::Script &script, int32_t endMs, SimRandom &rng)
{
    using RescueScript::TrendItem;
    Mixer mixer(script.audioStartMs, endMs, rng);
    const auto &trend = script.trend;
    for (size_t i = 0; i < trend.size(); ++i) {
        if (trend[i].kind == TrendItem::Kind::Shock) {
            mixer.thump(script.shocks[size_t(trend[i].shockIndex)].timeMs);
        } else if (trend[i].kind == TrendItem::Kind::Event) {
            auto next = std::find_if(trend.begin() + ptrdiff_t(i) + 1, trend.end(), [&](const TrendItem &later) {
                return later.kind == TrendItem::Kind::Event && later.timeMs > trend[i].timeMs;
            });
            const double room = next == trend.end() ? 1e9 : double(next->timeMs - trend[i].timeMs);
            prompt(mixer, trend[i].code, trend[i].timeMs, promptPitch(trend[i].code), room);
        }
    }
    for (const auto &off : script.padsOff)
        prompt(mixer, 5, off.startMs + 300, PadsPromptPitch);
    for (const auto &c : script.charging)
        mixer.tone(c.startMs, c.endMs - c.startMs, 500.0, 2500.0, 18.0);
    for (const auto &c : script.compressions)
        mixer.tone(c.timeMs, 50.0, 1000.0, 1000.0, 35.0);
    return mixer.take();
}

} // namespace AudioSynthesis
