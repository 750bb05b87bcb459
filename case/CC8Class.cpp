#include "case/CC8Class.h"

#include "base/Platform.h"
#include "base/BinaryReader.h"
#include "base/FileError.h"
#include "case/DeviceFolderFiles.h"
#include "case/SharedState.h"

#include <algorithm>

QString CC8Class::ModelCode(int32_t deviceModel)
{
    switch (deviceModel) {
    case ModelQ21: return QStringLiteral("Q21");
    case ModelQ25: return QStringLiteral("Q25");
    default: return QStringLiteral("Q26");
    }
}

QString CC8Class::MifFileName(int32_t deviceModel, Kind kind)
{
    QString name;
    switch (kind) {
    case Kind::CT: name = QStringLiteral(" CT Data.MIF"); break;
    case Kind::ECG: name = QStringLiteral(" ECG Data.MIF"); break;
    case Kind::HR: name = QStringLiteral(" HR Data.MIF"); break;
    case Kind::Trend: name = QStringLiteral(" Trend Data.MIF"); break;
    case Kind::Temp: name = QStringLiteral(" Temp Data.MIF"); break;
    }
    return ModelCode(deviceModel) + name;
}

int CC8Class::SetPathsFor(const QString &folderPath, int32_t deviceModel)
{
    folder = folderPath;
    const DeviceFolderFiles files(folderPath);
    const auto path = [&](Kind kind) { return files.filePath(MifFileName(deviceModel, kind)); };
    ctPath = path(Kind::CT);
    ecgPath = path(Kind::ECG);
    hrPath = path(Kind::HR);
    trendPath = path(Kind::Trend);
    tempPath = path(Kind::Temp);
    return 0;
}

int CC8Class::SetPathsQ21(const QString &folderPath) { return SetPathsFor(folderPath, ModelQ21); }
int CC8Class::SetPathsQ25(const QString &folderPath) { return SetPathsFor(folderPath, ModelQ25); }
int CC8Class::SetPathsQ26(const QString &folderPath) { return SetPathsFor(folderPath, ModelNone); }

int CC8Class::SetPaths(const QString &folderPath, int32_t deviceModel)
{
    switch (deviceModel) {
    case ModelQ21: return SetPathsQ21(folderPath);
    case ModelQ25: return SetPathsQ25(folderPath);
    default: return SetPathsQ26(folderPath);
    }
}

void CC8Class::KeepEcgHeader(const QByteArray &header)
{
    ecgHeader = header;
    uint8_t *const fields[] = {&headerYear, &headerMonth, &headerDay, &headerHour, &headerMinute, &headerSecond};
    for (int i = 0; i < 6; ++i)
        *fields[i] = i < header.size() ? uint8_t(header[i]) : 0;
}

namespace {

// Reads one device file whole into data; a failure is a warning naming the file.
bool loadFile(const QString &path, QByteArray &data, Platform &platform)
{
    try {
        data = BinaryReader::readWholeFile(path);
    } catch (const FileError &e) {
        platform.messageBox(e.message(), QString(), Platform::Icon::Warning, Platform::Buttons::Ok);
        return false;
    }
    return true;
}

} // namespace

int CC8Class::LoadFiles(bool readTemp, Platform &platform)
{
    FreeBuffers();
    KeepEcgHeader({});

    if (!loadFile(ctPath, ctData, platform))
        return 1;
    // The header carries the power-on date; the samples follow it, read straight into
    // their own buffer. A file shorter than its header keeps what it has as header bytes
    // and gives no sample data.
    try {
        BinaryReader ecg = BinaryReader::streamFile(ecgPath);
        KeepEcgHeader(ecg.bytes(std::min<qsizetype>(ecg.size(), EcgHeaderSize)));
        ecgData = ecg.atEnd() ? QByteArray() : ecg.bytes(uint64_t(ecg.remaining()));
    } catch (const FileError &e) {
        platform.messageBox(e.message(), QString(), Platform::Icon::Warning, Platform::Buttons::Ok);
        return 1;
    }
    if (!loadFile(hrPath, hrData, platform) || !loadFile(trendPath, trendData, platform))
        return 1;
    if (readTemp && !loadFile(tempPath, tempData, platform))
        return 1;
    return 0;
}

int CC8Class::LoadTempFile(Platform &platform)
{
    tempData = QByteArray();
    return loadFile(tempPath, tempData, platform) ? 0 : 1;
}

int CC8Class::SplitTrendBlocks()
{
    trendBlockCount = int32_t(trendSize() / TrendBlockSize);
    trendBlocks = trendData.left(qsizetype(trendBlockCount) * TrendBlockSize);
    return 0;
}

void CC8Class::FreeBuffers()
{
    ctData = QByteArray();
    ecgData = QByteArray();
    hrData = QByteArray();
    trendData = QByteArray();
    tempData = QByteArray();
    trendBlocks = QByteArray();
    trendBlockCount = 0;
}
