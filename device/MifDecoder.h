#pragma once

#include "case/EventItem.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

class CC8Class;
class CaseStore;
class LanguagePack;
struct CaseRecord;
struct TrendBlockRecord;

// Turns the device buffers of one case's file set into the case's heart-rate and
// temperature series, events, CPR periods, ECG samples and shock count. Works in two
// steps so that the event-list build can add the case's annotations in between:
// DecodeSeriesAndEvents() first, then DecodeEcg(). Events are stored in the order they
// are produced; sorting them by time is the event list's work.
class MifDecoder
{
public:
    // deviceModel words the event texts (codes 101, 103), modelIndex (0, 1, 2) the pads texts.
    MifDecoder(CaseStore &store, int slot, const LanguagePack &texts, int32_t deviceModel, int32_t modelIndex);

    // Heart rate, temperature (when the slot's tempLoaded is 1), "Power on." and the
    // walk over the trend blocks.
    void DecodeSeriesAndEvents();
    // The 8-bit ECG samples, then the slot's shock count from the walk.
    void DecodeEcg();

    int shockNumber() const { return m_shockNumber; }

    // A raw device sample as stored: v * 0.26315789 truncated toward zero, clamped to
    // -124..125, plus 125; so 1..250 with 125 the zero line.
    static uint8_t StoredEcgSample(int32_t raw);
    // "<advice>(HR : %3d bpm   BI: %d ohm)" and its variants: the heart rate shows as
    // "---" when below 20 or in block mode 2; BI only when withImpedance.
    static QString AdviceText(const QString &advice, int32_t heartRate, int32_t blockMode, bool withImpedance,
                              int32_t impedanceOhm);
    // "<delivered>(E: %3.1f J   BI: %d ohm   # of Shock: %d)", energy in joules.
    static QString ShockText(const QString &delivered, double energyJ, int32_t impedanceOhm, int shockNumber);

private:
    void DecodeRecords(const QByteArray &data, std::vector<int32_t> &times, std::vector<int32_t> &values);
    void WalkBlock(const TrendBlockRecord &block);
    void HandleEvent(const TrendBlockRecord &block, int32_t code, int32_t timeMs, int32_t nextCode);
    void OpenCprPeriod(int32_t timeMs);
    void SetOpenPeriodEnd(int32_t timeMs);
    void HandlePads(uint32_t offMs, uint32_t onMs, uint32_t type);
    void HandleShock(const TrendBlockRecord &block);
    int32_t HeartRateBefore(int32_t timeMs);
    // Stores an event decoded from a trend entry of code, or one the walk adds on its own.
    void Add(int32_t timeMs, const QString &text, int32_t code = EventCode::None);
    QString Text(int number) const;

    CaseStore &m_store;
    const LanguagePack &m_texts;
    int32_t m_deviceModel;
    int32_t m_modelIndex;
    int m_slot;
    CaseRecord &m_case;
    CC8Class &m_files;

    // State of the walk over the trend blocks, carried from one block to the next.
    int32_t m_bound = 2147483647; // events after the last power-off time are dropped
    bool m_cprOpen = false;
    int m_openIndex = 0;          // CPR-period slot that codes 12, 13 and 14 move; -1 = refused
    bool m_cprCut = false;        // pads came off inside a CPR period
    int32_t m_savedEnd = 0;       // end of the period that the pads cut
    bool m_unitOkDone = false;
    int32_t m_time28 = 0;         // code 28 time - 1000 ms, 0 = none
    int32_t m_time29 = 0;         // code 29 time, 0 = none
    bool m_autoShock = false;     // a code 27 announced the next shock
    int m_shockNumber = 0;

    std::vector<std::pair<int32_t, size_t>> m_hrByTime; // (time, record index), sorted
};
