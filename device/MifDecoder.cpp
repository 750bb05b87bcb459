#include "device/MifDecoder.h"

#include "base/LanguagePack.h"
#include "case/CC8Class.h"
#include "case/CaseRecord.h"
#include "case/CaseStore.h"
#include "case/EcgSampleDecoder.h"
#include "device/EventText.h"
#include "device/TrendBlockRecord.h"

#include <QtEndian>
#include <algorithm>

namespace {

// Language-pack texts the decoding adds on its own.
namespace Txt {
constexpr int ShockAdvised = 7;
constexpr int ShockDelivered = 10;
constexpr int BeginCpr = 12;
constexpr int GiveTwoBreaths = 13;
constexpr int StopCpr = 14;
constexpr int ShockWillBeDelivered = 27;
constexpr int AudioRecording = 28;
constexpr int ReplacePads = 29;
constexpr int IfNeededBeginCpr = 33;
constexpr int PowerOn = 50;
constexpr int PowerOff = 51;
constexpr int UnitOk = 52;
constexpr int AdultPads = 54;
constexpr int PediatricPads = 55;
constexpr int AdultMode = 56;
constexpr int PediatricMode = 57;
constexpr int NoShockAdvised = 58;
constexpr int ShockButtonNotPressed = 59;
constexpr int CompressionBeep = 60;
constexpr int PlugInPads = 61;
constexpr int ShockButtonPressed = 94;
} // namespace Txt

// Case times from the device are added to with two's-complement wrap-around, so a
// corrupt time near the int32 limits cannot overflow.
int32_t shifted(int32_t timeMs, int64_t deltaMs)
{
    return int32_t(uint32_t(int64_t(timeMs) + deltaMs));
}

int32_t readI32(const QByteArray &data, qsizetype offset)
{
    return qFromLittleEndian<int32_t>(data.constData() + offset);
}

bool isPlainEventCode(int32_t code)
{
    return (code >= 1 && code <= 32) || (code >= 100 && code <= 116);
}

constexpr int32_t HeartRateLookBackMs = 5000;
constexpr uint32_t PadsTimeThresholdMs = 5000;
constexpr int NoCprPeriod = MaxCprPeriods; // what FindCprPeriod answers when nothing contains the time

} // namespace

MifDecoder::MifDecoder(CaseStore &store, int slot, const LanguagePack &texts, int32_t deviceModel,
                       int32_t modelIndex)
    : m_store(store), m_texts(texts), m_deviceModel(deviceModel), m_modelIndex(modelIndex), m_slot(slot),
      m_case(*store.caseAt(slot)), m_files(*store.at(slot).fileSet)
{
}

QString MifDecoder::Text(int number) const
{
    return m_texts.GetText(number);
}

void MifDecoder::Add(int32_t timeMs, const QString &text, int32_t code)
{
    m_store.AddEvent(m_slot, timeMs, text, QString(), code);
}

void MifDecoder::DecodeRecords(const QByteArray &data, std::vector<int32_t> &times, std::vector<int32_t> &values)
{
    const qsizetype count = data.size() / 8;
    times.resize(size_t(count));
    values.resize(size_t(count));
    for (qsizetype k = 0; k < count; ++k) {
        times[size_t(k)] = readI32(data, 8 * k);
        values[size_t(k)] = readI32(data, 8 * k + 4);
    }
}

void MifDecoder::DecodeSeriesAndEvents()
{
    DecodeRecords(m_files.hrData, m_case.hrTimes, m_case.hrValues);
    m_case.hrCount = int32_t(m_case.hrTimes.size());
    m_case.hrAllocated = true;

    if (m_store.at(m_slot).tempLoaded == 1) {
        DecodeRecords(m_files.tempData, m_case.tempTimes, m_case.tempValues);
        m_case.tempCount = int32_t(m_case.tempTimes.size());
        m_case.tempAllocated = true;
    }

    Add(0, Text(Txt::PowerOn));

    for (int b = 0; b < m_files.GetTrendBlockCount(); ++b)
        WalkBlock(TrendBlockRecord::read(m_files.GetTrendBlock(b)));
}

void MifDecoder::WalkBlock(const TrendBlockRecord &block)
{
    const int32_t powerOff = block.powerOffTime();
    // A power-off time bounds this block and every later block that has none of its own.
    if (powerOff != 0)
        m_bound = powerOff;

    for (size_t e = 0; e < block.events.size(); ++e) {
        const auto &entry = block.events[e];
        if (entry.timeMs > m_bound)
            continue;
        const int32_t next = e + 1 < block.events.size() ? block.events[e + 1].code : 0;
        HandleEvent(block, entry.code, entry.timeMs, next);
    }

    for (const auto &p : block.pads)
        HandlePads(p.offMs, p.onMs, p.type);

    if (powerOff != 0 && m_cprOpen) {
        SetOpenPeriodEnd(powerOff);
        m_cprOpen = false;
    }

    HandleShock(block);

    if (powerOff != 0)
        Add(powerOff, Text(Txt::PowerOff));
}

void MifDecoder::HandleEvent(const TrendBlockRecord &block, int32_t code, int32_t t, int32_t nextCode)
{
    switch (code) {
    case 0:
        return;
    case 7: {
        // An analysis result followed by "safe to touch" was a no-shock decision.
        const bool noShock = nextCode == 11;
        const QString advice = Text(noShock ? Txt::NoShockAdvised : Txt::ShockAdvised);
        Add(t, AdviceText(advice, HeartRateBefore(t), block.mode, noShock, block.impedanceOhm), code);
        return;
    }
    case 10:
        Add(t, Text(Txt::ShockButtonNotPressed), code);
        return;
    case 12:
        if (m_cprOpen) {
            Add(t, Text(Txt::CompressionBeep), code);
            SetOpenPeriodEnd(t);
            return;
        }
        if (block.mode == 0) {
            Add(t, Text(Txt::IfNeededBeginCpr), code);
            Add(shifted(t, 2000), Text(Txt::CompressionBeep), code);
        } else {
            Add(t, Text(Txt::BeginCpr), code);
            Add(shifted(t, 1300), Text(Txt::CompressionBeep), code);
        }
        OpenCprPeriod(t);
        return;
    case 13:
        Add(t, Text(Txt::GiveTwoBreaths), code);
        if (m_cprOpen)
            SetOpenPeriodEnd(t);
        return;
    case 14:
        Add(t, Text(Txt::StopCpr), code);
        if (m_cprOpen) {
            SetOpenPeriodEnd(t);
            m_cprOpen = false;
        }
        return;
    case 15:
    case 26:
        Add(t, EventText(code, m_deviceModel, m_texts), code);
        OpenCprPeriod(t);
        return;
    case 27:
        Add(t, Text(Txt::ShockWillBeDelivered), code);
        m_autoShock = true;
        return;
    case 28:
        m_time28 = shifted(t, -1000);
        Add(t, Text(Txt::AudioRecording), code);
        return;
    case 29:
        m_time29 = t;
        Add(t, Text(Txt::ReplacePads), code);
        return;
    default:
        Add(t, isPlainEventCode(code) ? EventText(code, m_deviceModel, m_texts) : QStringLiteral("???"), code);
        return;
    }
}

void MifDecoder::OpenCprPeriod(int32_t t)
{
    m_openIndex = m_store.AddCprPeriod(m_slot, t, shifted(t, 200), true);
    m_cprOpen = true;
}

void MifDecoder::SetOpenPeriodEnd(int32_t t)
{
    // A period the full table refused has no slot; its updates go nowhere.
    if (CprPeriod *period = m_case.cprPeriods.find(m_openIndex))
        period->endMs = t;
}

// The heart rate shown with an analysis result is that of the last record in file order
// whose time lies in [t - 5 s, t]; 0 when there is none. The records are indexed by
// time once, so each look-up reads only the few records of its window.
int32_t MifDecoder::HeartRateBefore(int32_t t)
{
    if (m_hrByTime.size() != m_case.hrTimes.size()) {
        m_hrByTime.resize(m_case.hrTimes.size());
        for (size_t j = 0; j < m_hrByTime.size(); ++j)
            m_hrByTime[j] = {m_case.hrTimes[j], j};
        std::sort(m_hrByTime.begin(), m_hrByTime.end());
    }
    const auto first = std::lower_bound(m_hrByTime.begin(), m_hrByTime.end(),
                                        int64_t(t) - HeartRateLookBackMs,
                                        [](const auto &entry, int64_t time) { return entry.first < time; });
    const auto last = std::upper_bound(first, m_hrByTime.end(), t,
                                       [](int32_t time, const auto &entry) { return time < entry.first; });
    if (first == last)
        return 0;
    const auto latest = std::max_element(first, last, [](const auto &a, const auto &b) { return a.second < b.second; });
    return m_case.hrValues[latest->second];
}

void MifDecoder::HandlePads(uint32_t off, uint32_t on, uint32_t type)
{
    // The unit reported itself ok one second before the first pads change of the case
    // (or before an earlier audio-recording or replace-pads prompt).
    if (off > PadsTimeThresholdMs || on > PadsTimeThresholdMs) {
        int64_t m = off <= PadsTimeThresholdMs ? on : on <= PadsTimeThresholdMs ? off : std::min(off, on);
        if (m_time29 != 0 && m_time29 < m)
            m = m_time29;
        if (m_time28 != 0 && m_time28 < m)
            m = m_time28;
        if (!m_unitOkDone) {
            Add(shifted(0, m - 1000), Text(Txt::UnitOk));
            m_unitOkDone = true;
        }
    }

    if (off != 0 && int64_t(off) <= m_bound) {
        const auto offMs = int32_t(off);
        Add(offMs, Text(Txt::PlugInPads), EventCode::PadsOff);
        const int i = m_store.FindCprPeriod(m_slot, offMs);
        if (i < NoCprPeriod) {
            CprPeriod &period = m_case.cprPeriods[i];
            m_cprCut = true;
            m_savedEnd = period.endMs;
            period.endMs = offMs;
        }
    }

    if (on != 0 && int64_t(on) <= m_bound) {
        const auto onMs = int32_t(on);
        const bool modeTexts = m_modelIndex == 2;
        if (type == 1)
            Add(onMs, Text(modeTexts ? Txt::AdultMode : Txt::AdultPads), EventCode::PadsOn);
        else if (type == 2)
            Add(onMs, Text(modeTexts ? Txt::PediatricMode : Txt::PediatricPads), EventCode::PadsOn);
        // CPR went on after the pads were back: the rest of the cut period is a new one.
        if (m_cprCut) {
            if (m_savedEnd > onMs)
                m_store.AddCprPeriod(m_slot, onMs, m_savedEnd, false);
            m_cprCut = false;
        }
    }
}

void MifDecoder::HandleShock(const TrendBlockRecord &block)
{
    if (block.shockMs == 0 || block.shockMs > m_bound)
        return;
    const double energyJ = block.energyTenthsJ / 10.0;
    ++m_shockNumber;
    const QString text = ShockText(Text(Txt::ShockDelivered), energyJ, block.impedanceOhm, m_shockNumber);
    if (!m_autoShock)
        Add(block.shockMs, Text(Txt::ShockButtonPressed));
    m_autoShock = false;
    Add(shifted(block.shockMs, 520), text, EventCode::ShockDelivered);
}

void MifDecoder::DecodeEcg()
{
    // The samples of an archive's case were converted while its ECG section was read.
    const QByteArray &ecg = m_files.ecgData;
    const bool converted = m_case.ecgAllocated && ecg.size() >= 4 && m_case.ecgStartMs == readI32(ecg, 0)
        && m_case.ecgSamples.size() == (ecg.size() - 4) / 4;
    if (!converted) {
        EcgSampleDecoder decoder(ecg.size());
        decoder.feed(ecg.constData(), ecg.size());
        decoder.storeInto(m_case);
    }
    m_store.at(m_slot).shockCount = m_shockNumber;
}

uint8_t MifDecoder::StoredEcgSample(int32_t raw)
{
    return EcgSampleDecoder::stored(raw);
}

QString MifDecoder::AdviceText(const QString &advice, int32_t heartRate, int32_t blockMode, bool withImpedance,
                               int32_t impedanceOhm)
{
    const QByteArray a = advice.toUtf8();
    const bool unknownRate = heartRate < 20 || blockMode == 2;
    if (withImpedance) {
        return unknownRate ? QString::asprintf("%s(HR : --- bpm   BI: %d ohm)", a.constData(), impedanceOhm)
                           : QString::asprintf("%s(HR : %3d bpm   BI: %d ohm)", a.constData(), heartRate, impedanceOhm);
    }
    return unknownRate ? QString::asprintf("%s(HR : --- bpm)", a.constData())
                       : QString::asprintf("%s(HR : %3d bpm)", a.constData(), heartRate);
}

QString MifDecoder::ShockText(const QString &delivered, double energyJ, int32_t impedanceOhm, int shockNumber)
{
    return QString::asprintf("%s(E: %3.1f J   BI: %d ohm   # of Shock: %d)", delivered.toUtf8().constData(), energyJ,
                             impedanceOhm, shockNumber);
}
