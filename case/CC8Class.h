#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class Platform;

// The MIF file set of one case: the five device files of a folder read whole, the
// power-on date and time from the ECG header, and the trend data cut into blocks. It
// holds the bytes as they are; decoding them is MifDecoder's work.
class CC8Class
{
public:
    static constexpr int TrendBlockSize = 2668;
    static constexpr int EcgHeaderSize = 8;

    enum class Kind { CT, ECG, HR, Trend, Temp };

    // "Q21", "Q25" or "Q26": ModelQ21 and ModelQ25 pick their own code, anything else Q26.
    static QString ModelCode(int32_t deviceModel);
    // File name of one kind for a device model, e.g. "Q21 CT Data.MIF".
    static QString MifFileName(int32_t deviceModel, Kind kind);

    // Store folder and build the five paths (folder + '/' + file name, the name of a file
    // there that differs only in case when the folder has one); return 0.
    int SetPathsQ21(const QString &folderPath);
    int SetPathsQ25(const QString &folderPath);
    int SetPathsQ26(const QString &folderPath);
    // The variant chosen by deviceModel.
    int SetPaths(const QString &folderPath, int32_t deviceModel);

    // Reads CT, ECG, HR, Trend and, when readTemp, Temp, each whole and in that order.
    // Every buffer is emptied first. A file that cannot be opened is reported through
    // the platform with its path and ends the load: returns 1, the files read before it
    // stay loaded, the later ones stay empty. Returns 0 when all were read.
    int LoadFiles(bool readTemp, Platform &platform);
    // Reads the Temp file alone into tempData as LoadFiles does: 1 after the warning
    // naming it, 0 when it was read.
    int LoadTempFile(Platform &platform);
    // Copies the whole 2668-byte blocks of trendData into trendBlocks; a partial last
    // block is left out. Returns 0.
    int SplitTrendBlocks();
    // Start of block i (0 <= i < GetTrendBlockCount()) inside trendBlocks.
    const char *GetTrendBlock(int i) const { return trendBlocks.constData() + qsizetype(i) * TrendBlockSize; }
    int GetTrendBlockCount() const { return trendBlockCount; }

    // Frees the five loaded buffers and the blocks.
    void FreeBuffers();

    uint32_t ctSize() const { return uint32_t(ctData.size()); }
    uint32_t ecgSize() const { return uint32_t(ecgData.size()); }
    uint32_t hrSize() const { return uint32_t(hrData.size()); }
    uint32_t trendSize() const { return uint32_t(trendData.size()); }
    uint32_t tempSize() const { return uint32_t(tempData.size()); }

    QString ctPath;
    QString ecgPath;
    QString hrPath;
    QString trendPath;
    QString tempPath;
    QString folder;

    QByteArray ctData;    // whole CT file
    QByteArray ecgData;   // ECG file without its 8-byte header; empty when shorter
    QByteArray hrData;    // whole HR file
    QByteArray trendData; // whole Trend file, a partial last block included
    QByteArray tempData;  // whole Temp file; null when it was not read

    // The ECG file's first bytes as read (its whole header, or all of a shorter file); kept,
    // like the fields below, when the buffers are freed.
    QByteArray ecgHeader;
    // Power-on date and time from ECG header bytes 0..5 (year - 2000); bytes 6, 7 unused.
    uint8_t headerYear = 0;
    uint8_t headerMonth = 0;
    uint8_t headerDay = 0;
    uint8_t headerHour = 0;
    uint8_t headerMinute = 0;
    uint8_t headerSecond = 0;

    QByteArray trendBlocks;      // trendBlockCount whole blocks of trendData
    int32_t trendBlockCount = 0;

private:
    int SetPathsFor(const QString &folderPath, int32_t deviceModel);
    void KeepEcgHeader(const QByteArray &header);
};
