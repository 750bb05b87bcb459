// The CPR quality measures of a simulated 10-hour case, measured against reading its
// "CPR Feedback.bin" in the same run (absolute times vary from machine to machine; the
// ratio does not), and the measures of ever longer compression lists, which grow linearly.
// Hands-off time split by cause is measured beside the measures alone, which it builds on.
#include "base/BinaryReader.h"
#include "device/CprFeedbackFile.h"
#include "bench/BenchCases.h"
#include "cpr/CprQuality.h"
#include "cpr/HandsOff.h"

namespace {

// A 10-hour recording imported and decoded once per run, with its feedback loaded. Its seed
// gives one of the longer resuscitations before the patient is only watched.
SimulationOptions longCprOptions()
{
    SimulationOptions options = tenHourOptions();
    options.seed = 7;
    return options;
}

struct TenHourCase
{
    RecordingFolder recording{simulateRescue(longCprOptions())};
    CprQualityInput input;
    HandsOffInput handsOff;

    TenHourCase()
    {
        BenchView t;
        t.view.state.mifFolderPath = recording.folder;
        t.view.state.deviceModel = ModelNone;
        const int slot = importAndDecode(t.view);
        LoadCprFeedback(t.view, feedbackPath(), slot);
        input = cprQualityInput(*t.view.store.caseAt(slot));
        handsOff = handsOffInput(*t.view.store.caseAt(slot));
    }

    QString feedbackPath() const { return recording.folder + QLatin1Char('/') + CprFeedbackFile::fileName(); }
};

const TenHourCase &tenHourCase()
{
    static const TenHourCase c;
    return c;
}

size_t readFeedback()
{
    BinaryReader in = BinaryReader::fromFile(tenHourCase().feedbackPath());
    const std::vector<CprFeedbackRecord> records = CprFeedbackFile::parse(in);
    benchmark::DoNotOptimize(records.data());
    return records.size();
}

void BM_ReadTenHourCprFeedback(benchmark::State &state)
{
    tenHourCase();
    for (auto _ : state)
        readFeedback();
    state.counters["compressions"] = double(tenHourCase().input.compressions.size());
}
BENCHMARK(BM_ReadTenHourCprFeedback)->Unit(benchmark::kMicrosecond);

// The measures from the case's compressions and events; counters give the file read of the
// same iterations and the ratio.
void BM_CprQualityTenHour(benchmark::State &state)
{
    const CprQualityInput &input = tenHourCase().input;
    const CprQualitySettings settings;
    const PairedTimes times = timeAgainstBaseline(state, [] { readFeedback(); }, [&] {
        const CprQualityResult r = measureCprQuality(input, settings);
        benchmark::DoNotOptimize(r.perMinute.data());
    });
    state.counters["compressions"] = double(input.compressions.size());
    state.counters["read_us"] = times.baselineNs / double(state.iterations()) / 1e3;
    state.counters["x_read"] = times.workNs / times.baselineNs;
}
BENCHMARK(BM_CprQualityTenHour)->Unit(benchmark::kMicrosecond);

// The parts, totals and per-shock figures of hands-off time; counters give the CPR measures
// alone of the same iterations and the ratio (kept at or below 1.2).
void BM_HandsOffTenHour(benchmark::State &state)
{
    const TenHourCase &c = tenHourCase();
    const CprQualitySettings settings;
    const PairedTimes times = timeAgainstBaseline(
        state,
        [&] {
            const CprQualityResult r = measureCprQuality(c.input, settings);
            benchmark::DoNotOptimize(r.perMinute.data());
        },
        [&] {
            const HandsOffResult r = handsOff(c.handsOff, settings.pauseThresholdMs);
            benchmark::DoNotOptimize(r.pauses.data());
        });
    state.counters["pauses"] = double(handsOff(c.handsOff, settings.pauseThresholdMs).pauses.size());
    state.counters["measures_us"] = times.baselineNs / double(state.iterations()) / 1e3;
    state.counters["x_measures"] = times.workNs / times.baselineNs;
}
BENCHMARK(BM_HandsOffTenHour)->Unit(benchmark::kMicrosecond);

// The 10-hour case's compressions, shocks and analyses repeated copies times one after the
// other (each copy shifted by the recording's length; 59 copies would pass the int32 times).
CprQualityInput repeated(const CprQualityInput &one, int copies)
{
    constexpr int32_t LengthMs = 600 * 60000;
    CprQualityInput out;
    for (int k = 0; k < copies; ++k) {
        const int32_t shift = k * LengthMs;
        for (const auto &c : one.compressions)
            out.compressions.push_back({c.timeMs + shift, c.depth});
        for (int32_t s : one.shocksMs)
            out.shocksMs.push_back(s + shift);
        for (int32_t a : one.analysesMs)
            out.analysesMs.push_back(a + shift);
    }
    return out;
}

void BM_CprQualityScaling(benchmark::State &state)
{
    const CprQualityInput input = repeated(tenHourCase().input, int(state.range(0)));
    const CprQualitySettings settings;
    for (auto _ : state) {
        const CprQualityResult r = measureCprQuality(input, settings);
        benchmark::DoNotOptimize(r.perMinute.data());
    }
    state.SetComplexityN(int64_t(input.compressions.size()));
}
BENCHMARK(BM_CprQualityScaling)->RangeMultiplier(2)->Range(1, 32)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);

// The 10-hour case's hands-off input repeated copies times, shifted as above.
HandsOffInput repeated(const HandsOffInput &one, int copies)
{
    constexpr int32_t LengthMs = 600 * 60000;
    HandsOffInput out;
    const auto shifted = [](const std::vector<int32_t> &from, std::vector<int32_t> &to, int32_t shift) {
        for (int32_t t : from)
            to.push_back(t + shift);
    };
    for (int k = 0; k < copies; ++k) {
        const int32_t shift = k * LengthMs;
        for (const auto &c : one.compressions)
            out.compressions.push_back({c.timeMs + shift, c.depth});
        shifted(one.shocksMs, out.shocksMs, shift);
        shifted(one.analysisStartsMs, out.analysisStartsMs, shift);
        shifted(one.analysisResultsMs, out.analysisResultsMs, shift);
        shifted(one.readyMs, out.readyMs, shift);
        shifted(one.padsMs, out.padsMs, shift);
        shifted(one.padsOnMs, out.padsOnMs, shift);
        shifted(one.breathsMs, out.breathsMs, shift);
    }
    return out;
}

void BM_HandsOffScaling(benchmark::State &state)
{
    const HandsOffInput input = repeated(tenHourCase().handsOff, int(state.range(0)));
    for (auto _ : state) {
        const HandsOffResult r = handsOff(input, CprQualitySettings().pauseThresholdMs);
        benchmark::DoNotOptimize(r.pauses.data());
    }
    state.SetComplexityN(int64_t(input.compressions.size()));
}
BENCHMARK(BM_HandsOffScaling)->RangeMultiplier(2)->Range(1, 32)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);

} // namespace
