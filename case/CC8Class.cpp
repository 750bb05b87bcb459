#include "case/CC8Class.h"

#include "base/Platform.h"
#include "base/BinaryReader.h"
#include "base/FileError.h"
#include "case/DeviceFolderFiles.h"
#include "case/SharedState.h"

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

int CC8Class::LoadFiles(bool readTemp, Platform &platform)
{
    FreeBuffers();
    KeepEcgHeader({});

    struct Target { const QString *path; QByteArray *data; };
    const Target targets[] = {
        {&ctPath, &ctData}, {&ecgPath, &ecgData}, {&hrPath, &hrData}, {&trendPath, &trendData}, {&tempPath, &tempData},
    };
    const int fileCount = readTemp ? 5 : 4;
    for (int i = 0; i < fileCount; ++i) {
        try {
            *targets[i].data = BinaryReader::readWholeFile(*targets[i].path);
        } catch (const FileError &e) {
            platform.messageBox(e.message(), QString(), Platform::Icon::Warning, Platform::Buttons::Ok);
            return 1;
        }
        if (targets[i].data == &ecgData) {
            // The header carries the power-on date; the samples follow it. A file shorter
            // than its header keeps what it has as header bytes and gives no sample data.
            KeepEcgHeader(ecgData.left(EcgHeaderSize));
            if (ecgData.size() > EcgHeaderSize)
                ecgData.remove(0, EcgHeaderSize);
            else
                ecgData = QByteArray();
        }
    }
    return 0;
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
