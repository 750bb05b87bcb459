#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Byte-exact writer of what a defibrillator leaves on its memory card for one rescue:
// the five MIF files of its model, "CPR Feedback.bin" and "Audio Record.bin". Used by
// the simulator and by tests that need small device folders.
namespace DeviceFiles {

enum class Model { Q21, Q25, Q26 };

QString modelCode(Model model);               // "Q21", "Q25", "Q26"
// "Q21 CT Data.MIF" ... kind is one of "CT", "ECG", "HR", "Trend", "Temp".
QString mifFileName(Model model, const QString &kind);

// Power-on date and time as the ECG header stores it (year - 2000).
struct EcgHeader
{
    uint8_t year = 21, month = 3, day = 7, hour = 9, minute = 5, second = 0;
};

// One 8-byte record: heart rate, temperature or CPR feedback (time, value).
struct TimedValue
{
    int32_t timeMs = 0;
    int32_t value = 0;
};

struct TrendEvent
{
    int32_t code = 0;   // 0 marks an empty entry
    int32_t timeMs = 0;
};

struct PadsEntry
{
    uint32_t offMs = 0; // 0 = none
    uint32_t onMs = 0;  // 0 = none
    uint32_t type = 0;  // 1 adult, 2 pediatric
};

constexpr int TrendBlockSize = 2668;

// One 2668-byte trend block; fields not listed are written as zero.
struct TrendBlock
{
    std::array<TrendEvent, 100> events{};
    std::array<PadsEntry, 50> pads{};
    uint32_t powerOffMs = 0;    // taken by the reader only when 1..2^31-1
    int32_t mode = 1;           // 0 and 2 change some texts
    int32_t shockMs = 0;        // 0 = no shock in this block
    int32_t impedanceOhm = 0;
    uint32_t energyTenthsJ = 0; // 1500 = 150.0 J
};

QByteArray encodeEcg(const EcgHeader &header, int32_t firstSampleMs, const std::vector<int32_t> &rawSamples);
QByteArray encodeRecords(const std::vector<TimedValue> &records);
QByteArray encodeTrendBlock(const TrendBlock &block);
QByteArray encodeTrend(const std::vector<TrendBlock> &blocks);
QByteArray encodeAudioRecord(int32_t startMs, const QByteArray &samples);

// Everything of one folder; empty optionals (hasTemp false, ...) leave files out.
struct DeviceFolder
{
    Model model = Model::Q26;
    EcgHeader header;
    QByteArray ct = QByteArray(16, '\x5A');
    int32_t ecgFirstSampleMs = 0;
    std::vector<int32_t> ecgRaw;
    std::vector<TimedValue> heartRate;
    std::vector<TimedValue> temperature;
    std::vector<TrendBlock> trend;
    bool hasTemp = true;
    std::vector<TimedValue> cprFeedback;
    bool hasCprFeedback = false;
    int32_t audioStartMs = 0;
    QByteArray audioSamples; // 8-bit unsigned, 16 kHz, mono
    bool hasAudio = false;

    // Writes the files into folder (made when missing); returns false on a write error,
    // with the path that failed in *failedPath when given.
    bool write(const QString &folder, QString *failedPath = nullptr) const;
};

} // namespace DeviceFiles
