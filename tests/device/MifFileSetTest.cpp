#include "case/CaseViewFixture.h"

#include "case/CC8Class.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using DeviceFiles::DeviceFolder;
using DeviceFiles::Model;

TEST(MifFileSet, PathsFollowTheDeviceModel)
{
    struct Case { int32_t model; const char *code; };
    const Case cases[] = {{ModelQ21, "Q21"}, {ModelQ25, "Q25"}, {ModelNone, "Q26"}, {7, "Q26"}, {-1, "Q26"}};
    for (const auto &c : cases) {
        CC8Class files;
        EXPECT_EQ(files.SetPaths(QStringLiteral("/card/0001"), c.model), 0);
        const QString prefix = QStringLiteral("/card/0001/") + QLatin1String(c.code);
        EXPECT_EQ(files.folder, "/card/0001");
        EXPECT_EQ(files.ctPath, prefix + " CT Data.MIF") << c.model;
        EXPECT_EQ(files.ecgPath, prefix + " ECG Data.MIF") << c.model;
        EXPECT_EQ(files.hrPath, prefix + " HR Data.MIF") << c.model;
        EXPECT_EQ(files.trendPath, prefix + " Trend Data.MIF") << c.model;
        EXPECT_EQ(files.tempPath, prefix + " Temp Data.MIF") << c.model;
    }
    CC8Class q25;
    q25.SetPathsQ25(QStringLiteral("d"));
    EXPECT_EQ(q25.hrPath, "d/Q25 HR Data.MIF");
}

class MifFileSetLoad : public ::testing::Test, public CaseViewFixture
{
protected:
    DeviceFolder folder()
    {
        DeviceFolder f;
        f.model = Model::Q25;
        f.header = {21, 3, 7, 9, 5, 42};
        f.ct = QByteArray("CT-bytes");
        f.ecgFirstSampleMs = 480;
        f.ecgRaw = {10, -20, 30};
        f.heartRate = {{1000, 72}, {2000, 74}};
        f.temperature = {{1000, 36}};
        f.trend.resize(2);
        f.trend[1].events[0] = {6, 12345};
        return f;
    }

    QString write(const DeviceFolder &f, const QString &name = QStringLiteral("card"))
    {
        const QString path = dir.file(name);
        f.write(path);
        return path;
    }
};

TEST_F(MifFileSetLoad, ReadsEveryFileWholeAndKeepsTheEcgHeader)
{
    const DeviceFolder f = folder();
    CC8Class files;
    files.SetPaths(write(f), ModelQ25);
    ASSERT_EQ(files.LoadFiles(true, platform), 0);
    EXPECT_TRUE(platform.messages.isEmpty());

    EXPECT_EQ(files.ctData, f.ct);
    // 8 header bytes dropped: the first-sample time and 3 samples remain.
    EXPECT_EQ(files.ecgSize(), 4u + 4u * 3u);
    EXPECT_EQ(files.ecgData, DeviceFiles::encodeEcg(f.header, f.ecgFirstSampleMs, f.ecgRaw).mid(8));
    EXPECT_EQ(std::vector<int>({files.headerYear, files.headerMonth, files.headerDay, files.headerHour,
                                files.headerMinute, files.headerSecond}),
              std::vector<int>({21, 3, 7, 9, 5, 42}));
    EXPECT_EQ(files.hrSize(), 16u);
    EXPECT_EQ(files.hrData, DeviceFiles::encodeRecords(f.heartRate));
    EXPECT_EQ(files.trendSize(), 2u * 2668u);
    EXPECT_EQ(files.tempData, DeviceFiles::encodeRecords(f.temperature));
}

TEST_F(MifFileSetLoad, TempFileIsReadOnlyWhenPresentForTheSlot)
{
    const QString path = write(folder());
    view.store.scratchFileSet.SetPaths(path, ModelQ25);

    view.store.setTempFilePresent(0, 0);
    EXPECT_EQ(MifCase::LoadFiles(view.store, view.store.scratchFileSet, 0, view.platform()), 0);
    EXPECT_TRUE(view.store.scratchFileSet.tempData.isNull());
    EXPECT_EQ(view.store.scratchFileSet.tempSize(), 0u);
    EXPECT_EQ(view.store.scratchFileSet.hrSize(), 16u);

    view.store.setTempFilePresent(0, 1);
    EXPECT_EQ(MifCase::LoadFiles(view.store, view.store.scratchFileSet, 0, view.platform()), 0);
    EXPECT_EQ(view.store.scratchFileSet.tempSize(), 8u);
}

TEST_F(MifFileSetLoad, PartialTrendBlockIsLeftOutOfTheBlocks)
{
    DeviceFolder f = folder();
    const QString path = write(f);
    QByteArray trend = DeviceFiles::encodeTrend(f.trend) + QByteArray(100, '\x7F');
    QFile file(path + "/Q25 Trend Data.MIF");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(trend);
    file.close();

    CC8Class files;
    files.SetPaths(path, ModelQ25);
    ASSERT_EQ(files.LoadFiles(false, platform), 0);
    EXPECT_EQ(files.SplitTrendBlocks(), 0);
    EXPECT_EQ(files.GetTrendBlockCount(), 2);
    EXPECT_EQ(files.trendBlocks.size(), 2 * 2668);
    EXPECT_EQ(files.trendData, trend); // the tail still travels with the raw data
    EXPECT_EQ(QByteArray(files.GetTrendBlock(1), 2668), DeviceFiles::encodeTrendBlock(f.trend[1]));
}

TEST_F(MifFileSetLoad, MissingFileStopsTheLoadAndNamesThePath)
{
    CC8Class files;
    // A file set that held a complete folder before: nothing of it may survive.
    files.SetPaths(write(folder(), QStringLiteral("complete")), ModelQ25);
    ASSERT_EQ(files.LoadFiles(true, platform), 0);

    const QString path = write(folder(), QStringLiteral("no-hr"));
    QFile::remove(path + "/Q25 HR Data.MIF");
    files.SetPaths(path, ModelQ25);
    EXPECT_EQ(files.LoadFiles(true, platform), 1);

    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, path + "/Q25 HR Data.MIF was not found.");
    EXPECT_EQ(platform.messages[0].buttons, Platform::Buttons::Ok);
    EXPECT_EQ(files.ctData, "CT-bytes");
    EXPECT_EQ(files.ecgSize(), 16u);
    EXPECT_EQ(files.headerSecond, 42);
    EXPECT_EQ(files.hrSize(), 0u);
    EXPECT_EQ(files.trendSize(), 0u);
    EXPECT_EQ(files.tempSize(), 0u);
}

TEST_F(MifFileSetLoad, ShortEcgFileNeverGivesANegativeSize)
{
    struct Case { int fileBytes; uint32_t ecgSize; int headerSecond; };
    const Case cases[] = {{0, 0, 0}, {5, 0, 0}, {6, 0, 42}, {8, 0, 42}, {11, 3, 42}, {12, 4, 42}};
    const QByteArray full = DeviceFiles::encodeEcg({21, 3, 7, 9, 5, 42}, 1000, {1, 2});
    const QString path = write(folder());
    for (const auto &c : cases) {
        QFile file(path + "/Q25 ECG Data.MIF");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(full.left(c.fileBytes));
        file.close();

        CC8Class files;
        files.SetPaths(path, ModelQ25);
        ASSERT_EQ(files.LoadFiles(false, platform), 0);
        EXPECT_EQ(files.ecgSize(), c.ecgSize) << c.fileBytes;
        EXPECT_EQ(files.headerSecond, c.headerSecond) << c.fileBytes;
    }
}

} // namespace
