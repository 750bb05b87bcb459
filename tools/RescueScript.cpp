#include "tools/RescueScript.h"

#include <algorithm>
#include <cmath>

namespace RescueScript {

namespace {

using DeviceFiles::Model;

// Device event codes the story uses.
enum Code : int32_t {
    CheckResponse = 1, CallForHelp = 2, OpenAirway = 3, CheckBreathing = 4, PlacePads = 5,
    Analyzing = 6, AnalysisResult = 7, Charging = 8, PressShockButton = 9, SafeToTouch = 11,
    BeginCpr = 12, GiveBreaths = 13, StopCpr = 14,
    PressSlower = 16, PressFaster = 17, PressSofter = 18, PressHarder = 19,
    SlowerAndSofter = 20, SlowerAndHarder = 21, FasterAndSofter = 22, FasterAndHarder = 23,
    PressConsistently = 24, GoodCompressions = 25,
    AutomaticShock = 27, AudioRecording = 28, ReplacePads = 29,
};

constexpr int CompressionsPerCycle = 30;
constexpr int32_t CprPeriodMs = 120000;
// The first beep follows "Begin CPR" by this much; the rescuer presses with it.
constexpr int32_t FirstBeepMs = 1300;
// The device reports the shock delivered this long after the button.
constexpr int32_t ShockDeliveryMs = 520;
// Rescuers drift within this band of rates (per minute) and these depths (feedback scale).
constexpr double SlowestRate = 90.0, FastestRate = 130.0;
constexpr int32_t ShallowestDepth = 35, DeepestDepth = 65;
// After this many CPR periods the patient is given a lasting return of circulation, so
// that a recording of many hours stays within the case's 200 CPR periods.
constexpr int CprPeriodCap = 30;
constexpr int32_t MonitoringIntervalMs = 300000;
// How often the rescuers' mishaps happen: a shock button found late, a period whose last
// compressions run on into the analysis, a team that presses on through every charging the
// story had them wait out, a period with a change of rescuers in the middle of a cycle.
constexpr double SlowButtonChance = 0.3;
constexpr double PressIntoAnalysisChance = 0.3;
constexpr double PressThroughChargingChance = 0.5;
constexpr double ChangeoverChance = 0.5;

// Feedback prompt for one cycle of compressions, from its rate (per minute), mean depth
// and spread (feedback scale units).
int32_t feedbackCode(int rate, double meanDepth, double spread)
{
    const bool fast = rate > 114, slow = rate < 106;
    const bool deep = meanDepth > 57.0, shallow = meanDepth < 46.0;
    if (fast && deep) return SlowerAndSofter;
    if (fast && shallow) return SlowerAndHarder;
    if (slow && deep) return FasterAndSofter;
    if (slow && shallow) return FasterAndHarder;
    if (fast) return PressSlower;
    if (slow) return PressFaster;
    if (deep) return PressSofter;
    if (shallow) return PressHarder;
    if (spread > 4.0) return PressConsistently;
    return GoodCompressions;
}

class StoryWriter
{
public:
    StoryWriter(Model model, int32_t lengthMs, SimRandom &rng, SimRandom &mishaps)
        : m_rng(rng), m_mishaps(mishaps), m_end(lengthMs)
    {
        m_s.model = model;
        m_s.powerOffMs = lengthMs;
        m_impedance = m_rng.range(55, 110);
        m_s.impedanceOhm = m_impedance;
        m_rWave = m_rng.uniform(0.8, 1.15);
        m_vfAmplitude = m_rng.uniform(0.6, 1.0);
        m_sinusBpm = m_rng.range(66, 104);
        m_padsGlitchPeriod = m_rng.range(0, 1);
        m_pressThroughCharging = m_mishaps.uniform() >= 1.0 - PressThroughChargingChance;
    }

    Script run()
    {
        int32_t t = introduction();
        while (t < m_end) {
            const int32_t cprStart = analysis(t);
            if (cprStart < 0) {
                t = -cprStart;
            } else {
                t = cpr(cprStart) + m_rng.range(300, 1000);
                // The rescuer presses on through "Stop CPR" and the breaths until the
                // device's "do not touch" sinks in, after the analysis has begun; a team
                // trained to press through the charging lets go when told.
                if (m_mishaps.chance(PressIntoAnalysisChance) && !m_pressThroughCharging)
                    pressOn(t + m_mishaps.range(800, 2500));
            }
        }
        truncate();
        return std::move(m_s);
    }

private:
    void event(int32_t code, int32_t t)
    {
        TrendItem item;
        item.kind = TrendItem::Kind::Event;
        item.timeMs = t;
        item.code = code;
        m_s.trend.push_back(item);
    }

    void pads(int32_t at, uint32_t offMs, uint32_t onMs)
    {
        TrendItem item;
        item.kind = TrendItem::Kind::Pads;
        item.timeMs = at;
        item.pads = {offMs, onMs, 1};
        m_s.trend.push_back(item);
    }

    void setRhythm(int32_t t, Rhythm rhythm)
    {
        RhythmSegment seg;
        seg.startMs = t;
        seg.rhythm = rhythm;
        if (rhythm == Rhythm::Sinus) {
            seg.bpm = m_sinusBpm;
            seg.amplitude = m_rWave;
        } else if (rhythm == Rhythm::VentricularFibrillation) {
            seg.amplitude = m_vfAmplitude;
        }
        m_s.rhythm.push_back(seg);
        m_hadSinus = m_hadSinus || rhythm == Rhythm::Sinus;
    }

    Rhythm rhythm() const { return m_s.rhythm.back().rhythm; }

    // Power-on, the self test, the first-aid prompts and the pads going on; returns the
    // time of the first analysis.
    int32_t introduction()
    {
        m_s.audioStartMs = m_rng.range(2000, 3000);
        int32_t t = m_s.audioStartMs + m_rng.range(300, 600);
        event(AudioRecording, t);
        for (int32_t code : {CheckResponse, CallForHelp, OpenAirway, CheckBreathing, PlacePads}) {
            t += m_rng.range(3000, 4000);
            event(code, t);
        }
        m_s.padsOnMs = (t + m_rng.range(6000, 14000)) / 4 * 4;
        pads(m_s.padsOnMs, 0, uint32_t(m_s.padsOnMs));
        const double first = m_rng.uniform();
        setRhythm(m_s.padsOnMs, first < 0.75 ? Rhythm::VentricularFibrillation
                                : first < 0.88 ? Rhythm::Asystole : Rhythm::Sinus);
        return m_s.padsOnMs + m_rng.range(1500, 3000);
    }

    // One analysis from code 6; returns the time CPR begins, or minus the time of the next
    // analysis when the patient is only watched. The hands-off time before a shock, from the
    // last compression to the delivery (520 ms after the button), is about 15 to 25 s when
    // the rescuers wait through the analysis and the charging, 5 to 12 s when they press on
    // while the device charges; a rescuer slow to find the shock button adds 2.5 to 4 s.
    // After a shock they start again within 2 to 10 s.
    int32_t analysis(int32_t tA)
    {
        event(Analyzing, tA);
        const int32_t t7 = tA + m_rng.range(6000, 8000);
        if (rhythm() == Rhythm::VentricularFibrillation) {
            m_sinusAnalyses = 0;
            event(AnalysisResult, t7);
            const int32_t t8 = t7 + m_rng.range(1000, 1500);
            event(Charging, t8);
            const int32_t charged = t8 + m_rng.range(5000, 8000);
            m_s.charging.push_back({t8 + 300, charged});
            Shock shock;
            shock.automatic = m_rng.chance(0.35);
            if (shock.automatic) {
                event(AutomaticShock, charged);
                shock.timeMs = charged + m_rng.range(3000, 3400);
            } else {
                event(PressShockButton, charged);
                shock.timeMs = charged + m_rng.range(1000, 3000);
            }
            const int32_t deliveredMs = shock.timeMs + ShockDeliveryMs;
            bool pressed = false;
            if (m_rng.chance(0.5)) {
                const int32_t resume = t8 + m_rng.range(600, 1000);
                const int32_t handsOff = deliveredMs - m_rng.range(5000, 12000);
                pressed = handsOff - resume >= 1500;
                if (pressed)
                    press(resume, handsOff, m_rng);
            }
            if (!pressed && m_pressThroughCharging && m_cprPeriods > 0) {
                const int32_t resume = t8 + m_mishaps.range(600, 1000);
                const int32_t handsOff = deliveredMs - m_mishaps.range(5000, 7000);
                if (handsOff - resume >= 1500)
                    press(resume, handsOff, m_mishaps);
            }
            // Now and then the rescuer is slow to find the button.
            if (!shock.automatic && m_mishaps.chance(SlowButtonChance))
                shock.timeMs += m_mishaps.range(2500, 4000);
            deliver(shock);
            // CPR begins as the story planned it, or 2 s after a late shock at the earliest.
            const int32_t cprStart = deliveredMs + m_rng.range(2020, 9980) - FirstBeepMs;
            return std::max(cprStart, shock.timeMs + ShockDeliveryMs + 2020 - FirstBeepMs);
        }
        event(AnalysisResult, t7);
        const int32_t t11 = t7 + m_rng.range(2000, 2800);
        event(SafeToTouch, t11);
        if (rhythm() == Rhythm::Sinus) {
            if (++m_sinusAnalyses >= 2 || m_monitoring) {
                // A lasting return of circulation: the device keeps watching, no more CPR.
                m_monitoring = true;
                m_sinusBpm = std::clamp(m_sinusBpm + m_rng.range(-6, 6), 58, 110);
                setRhythm(t11, Rhythm::Sinus);
                return -(t11 + MonitoringIntervalMs + m_rng.range(-20000, 20000));
            }
        } else {
            m_sinusAnalyses = 0;
        }
        return t11 + m_rng.range(2000, 3000);
    }

    // One compression at t, depth from the rescuer's present depth and spread.
    void compress(int32_t t, double depth, double spread, SimRandom &rng)
    {
        const int32_t d = std::clamp(int32_t(std::lround(depth + spread * rng.gauss())), ShallowestDepth,
                                     DeepestDepth);
        m_s.compressions.push_back({t, d});
    }

    // Compressions at the rescuer's rate from fromMs until before toMs, outside any CPR period
    // (pressing on while the device charges).
    void press(int32_t fromMs, int32_t toMs, SimRandom &rng)
    {
        const int32_t interval = int32_t(std::lround(60000.0 / m_rate));
        for (int32_t t = fromMs; t < toMs; t += interval + rng.range(-12, 12))
            compress(t, m_depth, 2.5, rng);
    }

    // The rescuer goes on pressing after the last compression until before toMs.
    void pressOn(int32_t toMs)
    {
        if (m_s.compressions.empty())
            return;
        const int32_t interval = int32_t(std::lround(60000.0 / m_rate));
        press(m_s.compressions.back().timeMs + interval + m_mishaps.range(-12, 12), toMs, m_mishaps);
    }

    void deliver(Shock shock)
    {
        static constexpr int Escalation[] = {150, 150, 200};
        const int nominal = m_s.model == Model::Q21 ? 150 : Escalation[std::min<size_t>(m_s.shocks.size(), 2)];
        shock.energyTenthsJ = uint32_t(std::lround(nominal * 10 * m_rng.uniform(0.975, 1.015)));
        shock.impedanceOhm = m_impedance + m_rng.range(-4, 4);
        TrendItem item;
        item.kind = TrendItem::Kind::Shock;
        item.timeMs = shock.timeMs;
        item.shockIndex = int(m_s.shocks.size());
        m_s.shocks.push_back(shock);
        m_s.trend.push_back(item);

        // The stunned heart pauses for a moment before the shock's outcome shows.
        setRhythm(shock.timeMs, Rhythm::Asystole);
        const int32_t outcomeAt = shock.timeMs + m_rng.range(1200, 3000);
        // Circulation mostly returns by the second shock, so that every rescue with two
        // shocks shows all three rhythms.
        const double p = m_rng.uniform();
        const double rosc = m_s.shocks.size() >= 2 && !m_hadSinus ? 0.8 : 0.45;
        if (p < rosc || m_cprPeriods >= CprPeriodCap) {
            m_sinusBpm = m_rng.range(72, 110);
            setRhythm(outcomeAt, Rhythm::Sinus);
        } else if (p < rosc + 0.75 * (1.0 - rosc)) { // else three in four fibrillate again
            m_vfAmplitude = std::max(0.25, m_vfAmplitude * m_rng.uniform(0.8, 0.95));
            setRhythm(outcomeAt, Rhythm::VentricularFibrillation);
        } else {
            setRhythm(outcomeAt, Rhythm::Asystole);
        }
    }

    // What the heart does by itself during a CPR period, decided once per period.
    void rhythmChangeDuring(int32_t tC)
    {
        const int32_t at = tC + m_rng.range(15000, 90000);
        const double p = m_rng.uniform();
        const Rhythm now = rhythm();
        if (m_cprPeriods >= CprPeriodCap && now != Rhythm::Sinus) {
            setRhythm(at, Rhythm::Sinus);
        } else if (now == Rhythm::Asystole && p < 0.3) {
            m_vfAmplitude = m_rng.uniform(0.3, 0.6);
            setRhythm(at, Rhythm::VentricularFibrillation);
        } else if (now == Rhythm::VentricularFibrillation && p < 0.1) {
            setRhythm(at, Rhythm::Asystole);
        } else if (now == Rhythm::Sinus && p < 0.15 && m_cprPeriods < CprPeriodCap) {
            m_vfAmplitude = m_rng.uniform(0.6, 1.0);
            setRhythm(at, Rhythm::VentricularFibrillation);
        }
    }

    // A CPR period of about two minutes in cycles of 30 compressions and two breaths,
    // beginning with code 12 at tC; returns the time of "Stop CPR". Each period has a fresh
    // rescuer: the rate wanders between about 90 and 130 per minute from cycle to cycle,
    // pulled back a little by the device's prompts; the depth fades as the rescuer tires, and
    // now and then a cycle is pressed shallow.
    int32_t cpr(int32_t tC)
    {
        const int period = m_cprPeriods++;
        rhythmChangeDuring(tC);
        event(BeginCpr, tC);
        const int glitchCycle = period == m_padsGlitchPeriod ? m_rng.range(1, 2) : -1;
        Interval glitch;
        // A change of rescuers in the middle of a cycle: a few beats go unpressed, and no
        // prompt says why.
        const int changeoverCycle = m_mishaps.chance(ChangeoverChance) ? m_mishaps.range(1, 3) : -1;
        const int changeoverFrom = m_mishaps.range(17, 22);
        const int changeoverTo = changeoverFrom + m_mishaps.range(4, 6);
        const double habitRate = m_rng.uniform(96.0, 126.0);
        const double freshDepth = m_rng.uniform(50.0, 61.0);
        const double fatigue = m_rng.uniform(5.0, 13.0); // depth lost over the two minutes
        m_rate = std::clamp(habitRate + 4.0 * m_rng.gauss(), SlowestRate, FastestRate);
        int32_t cycleStart = tC + FirstBeepMs;
        for (int cycle = 0;; ++cycle) {
            const double spread = m_rng.chance(0.15) ? 5.0 : 2.0;
            const double shallow = m_rng.chance(0.2) ? m_rng.uniform(6.0, 12.0) : 0.0;
            const double tired = fatigue * std::min(1.0, double(cycleStart - tC) / CprPeriodMs);
            m_depth = freshDepth - tired - shallow;
            const int32_t interval = int32_t(std::lround(60000.0 / m_rate));
            int32_t t = cycleStart;
            for (int i = 0; i < CompressionsPerCycle; ++i) {
                t = cycleStart + i * interval + m_rng.range(-12, 12);
                if (cycle == changeoverCycle && i >= changeoverFrom && i < changeoverTo)
                    m_rng.gauss(); // the depth the story had drawn for it
                else
                    compress(t, m_depth, spread, m_rng);
                if (i == 14)
                    event(feedbackCode(int(std::lround(m_rate)), m_depth, spread), t + 150);
            }
            const int32_t t13 = t + m_rng.range(500, 800);
            event(GiveBreaths, t13);
            int32_t next = t13 + m_rng.range(4000, 6000);
            if (cycle == glitchCycle) {
                // The pads come loose while the breaths are given and are pressed on again.
                glitch.startMs = t13 + m_rng.range(700, 1200);
                glitch.endMs = glitch.startMs + m_rng.range(4000, 6500);
                next = glitch.endMs + m_rng.range(1500, 2500);
                // The device finds the pads loose and asks for them to be replaced or
                // pressed on firmly.
                event(m_mishaps.chance(0.5) ? ReplacePads : PlacePads, glitch.startMs + m_mishaps.range(300, 900));
            }
            if (next + 16000 > tC + CprPeriodMs) {
                const int32_t t14 = t13 + m_rng.range(800, 1500);
                event(StopCpr, t14);
                // The pads entry is written with the period closed, so that it cuts the
                // finished period; a rescue that stops earlier keeps the pads untouched.
                if (glitch.endMs != 0 && t14 < m_end) {
                    pads(t14, uint32_t(glitch.startMs), uint32_t(glitch.endMs));
                    m_s.padsOff.push_back(glitch);
                }
                m_s.cprPeriods.push_back({tC, t14});
                return t14;
            }
            event(BeginCpr, next);
            cycleStart = next + m_rng.range(0, 100);
            // The rate wanders about the rescuer's habit; a prompt to go faster or slower
            // brings it part of the way back to 110.
            const bool prompted = m_rate > 114.0 || m_rate < 106.0;
            m_rate += (habitRate - m_rate) * 0.25 + 6.0 * m_rng.gauss();
            if (prompted)
                m_rate += (110.0 - m_rate) * 0.3;
            m_rate = std::clamp(m_rate, SlowestRate, FastestRate);
        }
    }

    // Keeps what happened before power-off.
    void truncate()
    {
        const int32_t end = m_end;
        auto &trend = m_s.trend;
        trend.erase(std::remove_if(trend.begin(), trend.end(), [&](const TrendItem &i) { return i.timeMs >= end; }),
                    trend.end());
        std::stable_sort(trend.begin(), trend.end(),
                         [](const TrendItem &a, const TrendItem &b) { return a.timeMs < b.timeMs; });
        // A "no shock" result cut off before its code 11 would read as "shock advised".
        for (auto it = trend.rbegin(); it != trend.rend(); ++it) {
            if (it->kind != TrendItem::Kind::Event)
                continue;
            if (it->code == AnalysisResult && rhythmAt(m_s, it->timeMs).rhythm != Rhythm::VentricularFibrillation)
                trend.erase(std::next(it).base());
            break;
        }
        auto &segs = m_s.rhythm;
        segs.erase(std::remove_if(segs.begin() + 1, segs.end(), [&](const RhythmSegment &s) { return s.startMs >= end; }),
                   segs.end());
        auto &comp = m_s.compressions;
        comp.erase(std::remove_if(comp.begin(), comp.end(), [&](const Compression &c) { return c.timeMs >= end; }),
                   comp.end());
        auto &charging = m_s.charging;
        charging.erase(std::remove_if(charging.begin(), charging.end(), [&](const Interval &i) { return i.startMs >= end; }),
                       charging.end());
        // Shocks stay indexed by the trend items; the ones after power-off are only dropped
        // from the trend.
        if (m_s.padsOnMs > end)
            m_s.padsOnMs = end;
    }

    Script m_s;
    SimRandom &m_rng;
    SimRandom &m_mishaps;
    int32_t m_end;
    int m_impedance = 70;          // ohm, this patient's chest
    double m_rWave = 1.0;          // scale of this patient's QRS
    double m_vfAmplitude = 1.0;    // mV, shrinks as fibrillation goes on
    int m_sinusBpm = 80;
    double m_rate = 110.0;         // the present rescuer's compressions per minute
    double m_depth = 52.0;         // and depth on the feedback scale
    int m_cprPeriods = 0;
    int m_padsGlitchPeriod = 0;    // the CPR period in which the pads come loose
    int m_sinusAnalyses = 0;       // consecutive analyses that found a sinus rhythm
    bool m_monitoring = false;
    bool m_hadSinus = false;
    bool m_pressThroughCharging = false; // a team that presses on while the device charges
};

} // namespace

Script write(Model model, int32_t lengthMs, SimRandom &rng, SimRandom &mishaps)
{
    return StoryWriter(model, std::max<int32_t>(lengthMs, 1), rng, mishaps).run();
}

const RhythmSegment &rhythmAt(const Script &script, int32_t timeMs)
{
    const auto &segs = script.rhythm;
    auto it = std::upper_bound(segs.begin(), segs.end(), timeMs,
                               [](int32_t t, const RhythmSegment &s) { return t < s.startMs; });
    return it == segs.begin() ? segs.front() : *std::prev(it);
}

int32_t heartRateAt(const Script &script, int32_t timeMs)
{
    for (const auto &off : script.padsOff) {
        if (timeMs >= off.startMs && timeMs < off.endMs)
            return 0;
    }
    const auto &seg = rhythmAt(script, timeMs);
    return seg.rhythm == Rhythm::Sinus ? seg.bpm : 0;
}

std::vector<DeviceFiles::TrendBlock> packTrendBlocks(const Script &script)
{
    std::vector<DeviceFiles::TrendBlock> blocks(1);
    int events = 0, padsEntries = 0;
    bool hasShock = false;
    const auto newBlock = [&] {
        blocks.emplace_back();
        events = padsEntries = 0;
        hasShock = false;
    };
    const auto &trend = script.trend;
    for (size_t i = 0; i < trend.size(); ++i) {
        const TrendItem &item = trend[i];
        switch (item.kind) {
        case TrendItem::Kind::Event: {
            int need = 1;
            if (item.code == AnalysisResult) {
                for (size_t j = i + 1; j < trend.size(); ++j) {
                    if (trend[j].kind == TrendItem::Kind::Event) {
                        need = trend[j].code == SafeToTouch ? 2 : 1;
                        break;
                    }
                }
            }
            if (events + need > 100 || (item.code == Analyzing && hasShock))
                newBlock();
            blocks.back().events[size_t(events++)] = {item.code, item.timeMs};
            break;
        }
        case TrendItem::Kind::Shock: {
            if (hasShock)
                newBlock();
            const Shock &shock = script.shocks[size_t(item.shockIndex)];
            auto &block = blocks.back();
            block.shockMs = shock.timeMs;
            block.energyTenthsJ = shock.energyTenthsJ;
            block.impedanceOhm = shock.impedanceOhm;
            hasShock = true;
            break;
        }
        case TrendItem::Kind::Pads:
            if (padsEntries == 50)
                newBlock();
            blocks.back().pads[size_t(padsEntries++)] = item.pads;
            break;
        }
    }
    // Blocks without a shock carry the impedance measured through the pads, which words
    // their "no shock" results.
    for (auto &block : blocks) {
        if (block.shockMs == 0)
            block.impedanceOhm = script.impedanceOhm;
    }
    blocks.back().powerOffMs = uint32_t(script.powerOffMs);
    return blocks;
}

} // namespace RescueScript
