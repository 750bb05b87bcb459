#include "tools/EcgSynthesis.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace EcgSynthesis {

namespace {

using RescueScript::Rhythm;

constexpr double TwoPi = 6.283185307179586;

// One P-QRS-T complex in mV, sampled every 4 ms from 260 ms before the R peak to 460 ms
// after it: sums of Gaussian waves, the T wave rising slower than it falls.
constexpr int32_t BeatBeforeMs = 260;
constexpr int32_t BeatAfterMs = 460;
constexpr size_t BeatSamples = (BeatBeforeMs + BeatAfterMs) / SampleMs + 1;

double wave(double tauMs, double centreMs, double widthMs, double mv)
{
    const double z = (tauMs - centreMs) / widthMs;
    return mv * std::exp(-0.5 * z * z);
}

std::array<double, BeatSamples> beatTemplate()
{
    std::array<double, BeatSamples> beat{};
    for (size_t i = 0; i < BeatSamples; ++i) {
        const double tau = double(i) * SampleMs - BeatBeforeMs;
        beat[i] = wave(tau, -170, 22, 0.15)                // P
                + wave(tau, -28, 8, -0.12)                 // Q
                + wave(tau, 0, 10, 1.7)                    // R
                + wave(tau, 26, 9, -0.45)                  // S
                + wave(tau, 250, tau < 250 ? 55 : 38, 0.35); // T
    }
    return beat;
}

// A value wandering slowly and at random between -1 and 1 (reflected at the bounds).
class Wander
{
public:
    explicit Wander(double step) : m_step(step) {}
    double next(SimRandom &rng)
    {
        m_value += m_step * rng.gauss();
        if (m_value > 1.0) m_value = 2.0 - m_value;
        if (m_value < -1.0) m_value = -2.0 - m_value;
        return m_value;
    }

private:
    double m_step;
    double m_value = 0.0;
};

class Synthesizer
{
public:
    Synthesizer(const RescueScript::Script &script, SimRandom &rng)
        : m_script(script), m_rng(rng), m_startMs(script.padsOnMs)
    {
        const int64_t span = int64_t(script.powerOffMs) - script.padsOnMs;
        m_mv.assign(span > 0 ? size_t(span / SampleMs) : 0, 0.0f);
        m_cprGain = m_rng.uniform(0.75, 1.15);
        m_wanderPhase = m_rng.uniform(0.0, TwoPi);
    }

    std::vector<int32_t> run()
    {
        const auto &segs = m_script.rhythm;
        for (size_t i = 0; i < segs.size(); ++i) {
            const int32_t end = i + 1 < segs.size() ? segs[i + 1].startMs : m_script.powerOffMs;
            if (segs[i].rhythm == Rhythm::Sinus)
                sinus(segs[i], end);
            else if (segs[i].rhythm == Rhythm::VentricularFibrillation)
                fibrillation(segs[i], end);
        }
        for (const auto &c : m_script.compressions)
            compression(c);
        for (const auto &s : m_script.shocks)
            shock(s.timeMs);
        baselineAndNoise();
        for (const auto &off : m_script.padsOff)
            flat(off);

        std::vector<int32_t> raw(m_mv.size());
        for (size_t k = 0; k < m_mv.size(); ++k)
            raw[k] = int32_t(std::lround(m_mv[k] * RawPerMillivolt));
        return raw;
    }

private:
    // Sample index of a case time, possibly outside the buffer.
    int64_t index(int32_t timeMs) const { return (int64_t(timeMs) - m_startMs) / SampleMs; }
    size_t clampIndex(int32_t timeMs) const
    {
        return size_t(std::clamp<int64_t>(index(timeMs), 0, int64_t(m_mv.size())));
    }
    void add(int64_t k, double mv)
    {
        if (k >= 0 && k < int64_t(m_mv.size()))
            m_mv[size_t(k)] += float(mv);
    }

    // Beats at the segment's rate, with the small breathing swing of the intervals.
    void sinus(const RescueScript::RhythmSegment &seg, int32_t endMs)
    {
        static const auto beat = beatTemplate();
        const double rr = 60000.0 / std::max(seg.bpm, 20);
        double t = seg.startMs + m_rng.uniform(0.2, 1.0) * rr;
        while (t < endMs) {
            const double scale = seg.amplitude * (1.0 + 0.04 * std::sin(TwoPi * t / 4000.0));
            const int64_t first = index(int32_t(t)) - BeatBeforeMs / SampleMs;
            for (size_t i = 0; i < BeatSamples; ++i)
                add(first + int64_t(i), scale * beat[i]);
            t += rr * (1.0 + 0.03 * std::sin(TwoPi * t / 4000.0) + 0.01 * m_rng.gauss());
        }
    }

    // Chaotic 4-6 Hz waves: two oscillators whose rates and sizes wander independently,
    // every half wave of the first with a height of its own, and a drifting harmonic, so
    // no two waves look alike. The waves grow in over a second after a pause.
    void fibrillation(const RescueScript::RhythmSegment &seg, int32_t endMs)
    {
        Wander f1(0.08), f2(0.08), a2(0.05), harmonic(0.03);
        const double dt = SampleMs / 1000.0;
        const size_t first = clampIndex(seg.startMs);
        double height = 1.0, heightTarget = 1.0;
        for (size_t k = first, e = clampIndex(endMs); k < e; ++k) {
            const double before = m_phase1;
            m_phase1 += TwoPi * (4.9 + 1.1 * f1.next(m_rng)) * dt;
            m_phase2 += TwoPi * (5.1 + 1.1 * f2.next(m_rng)) * dt;
            if (std::floor(before / (TwoPi / 2)) != std::floor(m_phase1 / (TwoPi / 2)))
                heightTarget = m_rng.uniform(0.35, 1.25);
            height += 0.12 * (heightTarget - height);
            const double v = 0.7 * height * std::sin(m_phase1)
                           + 0.4 * (0.6 + 0.4 * a2.next(m_rng)) * std::sin(m_phase2)
                           + 0.18 * std::sin(2.0 * m_phase1 + 3.0 * harmonic.next(m_rng));
            const double onset = std::min(1.0, double(k - first) / SamplesPerSecond);
            m_mv[k] += float(seg.amplitude * onset * v);
        }
    }

    // Each push on the chest moves the pads: a smooth hump of about 1 mV at 5 cm depth,
    // then a smaller dip as the chest recoils.
    void compression(const RescueScript::Compression &c)
    {
        constexpr int32_t LengthMs = 460;
        const double peak = m_cprGain * c.depth / 50.0;
        const int64_t first = index(c.timeMs);
        for (int32_t ms = 0; ms < LengthMs; ms += SampleMs) {
            const double x = double(ms) / LengthMs;
            const double v = x < 0.45 ? std::sin(TwoPi / 2 * x / 0.45) : -0.35 * std::sin(TwoPi / 2 * (x - 0.45) / 0.55);
            add(first + ms / SampleMs, peak * v);
        }
    }

    // The amplifier recovering from the shock: a large deflection that dies away.
    void shock(int32_t timeMs)
    {
        const int64_t first = index(timeMs);
        for (int32_t ms = 0; ms < 3000; ms += SampleMs) {
            const double v = 2.25 * std::exp(-ms / 180.0) - 0.45 * (std::exp(-ms / 900.0) - std::exp(-ms / 120.0));
            add(first + ms / SampleMs, v);
        }
    }

    // Breathing moves the baseline; the amplifier adds a little noise.
    void baselineAndNoise()
    {
        for (size_t k = 0; k < m_mv.size(); ++k) {
            const double t = (double(m_startMs) + double(k) * SampleMs) / 1000.0;
            m_mv[k] += float(0.08 * std::sin(TwoPi * 0.22 * t + m_wanderPhase) + 0.05 * std::sin(TwoPi * 0.05 * t)
                             + 0.015 * m_rng.gauss());
        }
    }

    // No contact, no signal.
    void flat(const RescueScript::Interval &off)
    {
        std::fill(m_mv.begin() + ptrdiff_t(clampIndex(off.startMs)), m_mv.begin() + ptrdiff_t(clampIndex(off.endMs)), 0.0f);
    }

    const RescueScript::Script &m_script;
    SimRandom &m_rng;
    int32_t m_startMs;
    std::vector<float> m_mv;   // millivolts, one per sample
    double m_cprGain = 1.0;    // mV of artefact per 5 cm of compression
    double m_wanderPhase = 0.0;
    double m_phase1 = 0.0, m_phase2 = 0.0;
};

} // namespace

std::vector<int32_t> rawSamples(const RescueScript::Script &script, SimRandom &rng)
{
    return Synthesizer(script, rng).run();
}

} // namespace EcgSynthesis
