#include "device/OpenDialogLogic.h"

#include "base/LanguagePack.h"
#include "case/SharedState.h"
#include "support/FakePlatform.h"
#include "support/ScopedTimeZone.h"
#include "support/TempDir.h"
#include "tools/DeviceFolderWriter.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using DeviceFiles::Model;

namespace {

LanguagePack builtInPack()
{
    LanguagePack pack;
    pack.loadBuiltIn();
    return pack;
}

const QStringList AllKinds = {"CT", "ECG", "HR", "Trend", "Temp"};

// Writes the device folder of model into folder and keeps only the MIF files of kinds.
void writeMifFiles(const QString &folder, Model model, const QStringList &kinds)
{
    DeviceFiles::DeviceFolder device;
    device.model = model;
    ASSERT_TRUE(device.write(folder));
    for (const QString &kind : AllKinds) {
        if (!kinds.contains(kind))
            QFile::remove(folder + '/' + DeviceFiles::mifFileName(model, kind));
    }
}

class OpenDialogLogicTest : public ::testing::Test
{
protected:
    // A logic as a new dialog starts it; "..." picks a file in folder when folder is given.
    OpenDialogLogic &startDialog(const QString &folder = QString())
    {
        m_logic = std::make_unique<OpenDialogLogic>(state, platform, texts);
        if (!folder.isEmpty()) {
            platform.openPaths.push_back(folder + "/Q21 CT Data.MIF");
            EXPECT_TRUE(m_logic->browseMifFile());
        }
        return *m_logic;
    }

    ScopedTimeZone zone{"KST-9"};
    TempDir dir;
    SharedState state;
    FakePlatform platform;
    LanguagePack texts = builtInPack();

private:
    std::unique_ptr<OpenDialogLogic> m_logic;
};

} // namespace

TEST_F(OpenDialogLogicTest, StartClearsTheChoicesAndPreselectsTheComputersZone)
{
    state.openMode = 3;
    state.mifFolderPath = "/old";
    state.serialNumber = "old";
    state.timeZoneChoice = 7;
    OpenDialogLogic &logic = startDialog();
    EXPECT_EQ(state.openMode, 0);
    EXPECT_EQ(state.mifFolderPath, "");
    EXPECT_EQ(state.serialNumber, "");
    EXPECT_EQ(state.localZoneOffset, 540);
    EXPECT_EQ(logic.zoneRow(), 141);
    // Only a button that closes the dialog hands the zone over.
    EXPECT_EQ(state.timeZoneChoice, 7);
    EXPECT_EQ(logic.action(), OpenDialogLogic::Action::None);
}

TEST_F(OpenDialogLogicTest, BrowseTakesTheFolderOfTheChosenFile)
{
    state.directoryMode = 1;
    OpenDialogLogic &logic = startDialog();
    platform.openPaths.push_back("/cards/rescue 7/Q25 ECG Data.MIF");
    EXPECT_TRUE(logic.browseMifFile());
    EXPECT_EQ(state.mifFolderPath, "/cards/rescue 7");
    EXPECT_EQ(logic.mifPathText(), "/cards/rescue 7");
    EXPECT_EQ(state.directoryMode, 0);
    ASSERT_EQ(platform.openRequests.size(), 1);
    EXPECT_EQ(platform.openRequests[0].filter, "MIF (*.MIF);;All Files(*.*)");

    // A cancelled file dialog changes nothing.
    state.directoryMode = 1;
    EXPECT_FALSE(logic.browseMifFile());
    EXPECT_EQ(state.mifFolderPath, "/cards/rescue 7");
    EXPECT_EQ(state.directoryMode, 1);
}

TEST_F(OpenDialogLogicTest, LoadMifReportsTheFirstMissingFileByModel)
{
    struct Case {
        Model model;
        QStringList kinds;
        const char *message; // nullptr: the folder is accepted
        int32_t deviceModel;
        int32_t modelQ26Found;
        int32_t tempFilePresent;
    };
    const QString missing = "The folder you picked does not contain the file '%1'.";
    const Case cases[] = {
        {Model::Q21, AllKinds, nullptr, ModelQ21, 0, 1},
        {Model::Q25, {"CT", "ECG", "HR", "Trend"}, nullptr, ModelQ25, 0, 0},
        {Model::Q26, AllKinds, nullptr, ModelNone, 1, 1},
        {Model::Q26, {"ECG", "HR", "Trend", "Temp"}, "Q26 CT Data.MIF", ModelNone, 1, 0},
        {Model::Q26, {}, "AED CT Data.MIF", ModelNone, 0, 0},
        {Model::Q21, {"ECG", "HR", "Trend"}, "Q21 CT Data.MIF", ModelQ21, 0, 0},
        {Model::Q21, {"CT", "HR"}, "Q21 ECG Data.MIF", ModelQ21, 0, 0},
        {Model::Q25, {"CT", "ECG", "Trend", "Temp"}, "Q25 HR Data.MIF", ModelQ25, 0, 0},
        {Model::Q26, {"CT", "ECG", "HR", "Temp"}, "Q26 Trend Data.MIF", ModelNone, 1, 0},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(n);
        const QString folder = dir.mkdir(QString::number(n++));
        writeMifFiles(folder, c.model, c.kinds);
        state.deviceModel = 99;
        platform.messages.clear();

        OpenDialogLogic &logic = startDialog(folder);
        logic.setSerialText("SN1234");
        const bool closed = logic.loadMifFile();

        EXPECT_EQ(state.deviceModel, c.deviceModel);
        EXPECT_EQ(state.modelQ26Found, c.modelQ26Found);
        EXPECT_EQ(state.serialNumber, "SN1234");
        if (c.message) {
            EXPECT_FALSE(closed);
            EXPECT_EQ(state.openMode, 0);
            ASSERT_EQ(platform.messages.size(), 1);
            EXPECT_EQ(platform.messages[0].text, missing.arg(c.message));
            EXPECT_EQ(platform.messages[0].caption, "Lumeron AED Event review software");
            EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop);
        } else {
            EXPECT_TRUE(closed);
            EXPECT_TRUE(platform.messages.isEmpty());
            EXPECT_EQ(state.openMode, 1);
            EXPECT_EQ(logic.tempFilePresent(), c.tempFilePresent);
            EXPECT_EQ(logic.action(), OpenDialogLogic::Action::LoadMif);
        }
    }
}

TEST_F(OpenDialogLogicTest, TheLastKindFoundWithQ21OrQ25DecidesTheModel)
{
    const QString folder = dir.mkdir("mixed");
    writeMifFiles(folder, Model::Q25, {"ECG", "HR", "Trend"});
    writeMifFiles(folder, Model::Q21, {"CT"});
    OpenDialogLogic &logic = startDialog(folder);
    logic.setSerialText("7");
    logic.setZoneRow(30);
    ASSERT_TRUE(logic.loadMifFile());
    EXPECT_EQ(state.deviceModel, ModelQ25);
    EXPECT_EQ(state.modelQ26Found, 0);
    EXPECT_EQ(state.timeZoneChoice, 30);
    EXPECT_EQ(state.mifFolderPath, folder);
}

TEST_F(OpenDialogLogicTest, LoadMifNeedsAFolderThenASerialNumber)
{
    const QString folder = dir.mkdir("complete");
    writeMifFiles(folder, Model::Q21, AllKinds);

    OpenDialogLogic &noFolder = startDialog();
    EXPECT_FALSE(noFolder.loadMifFile());
    EXPECT_EQ(platform.texts(), QStringList{"Files cannot be confirmed without MIF File Path."});
    EXPECT_EQ(state.deviceModel, ModelNone);

    platform.messages.clear();
    OpenDialogLogic &noSerial = startDialog(folder);
    EXPECT_FALSE(noSerial.loadMifFile());
    EXPECT_EQ(platform.texts(), QStringList{"AED Serial Number cannot be confirmed."});
    EXPECT_EQ(state.openMode, 0);
    EXPECT_EQ(noSerial.action(), OpenDialogLogic::Action::None);

    // Corrected in the same dialog, the next press goes through.
    noSerial.setSerialText("A1");
    EXPECT_TRUE(noSerial.loadMifFile());
    EXPECT_EQ(state.openMode, 1);
}

TEST_F(OpenDialogLogicTest, LoadAedChecksNothing)
{
    state.directoryMode = 1;
    OpenDialogLogic &logic = startDialog();
    logic.setSerialText("ignored");
    logic.setZoneRow(500);
    EXPECT_TRUE(logic.loadAedFile());
    EXPECT_EQ(state.openMode, 2);
    EXPECT_EQ(state.directoryMode, 0);
    EXPECT_EQ(state.timeZoneChoice, 178);
    EXPECT_EQ(state.serialNumber, "");
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(logic.action(), OpenDialogLogic::Action::LoadAed);
}

TEST_F(OpenDialogLogicTest, OpenDirectoryListsTheFilesAndFoldersBelowTheRoot)
{
    const QString root = dir.mkdir("card");
    dir.write("card/10/b.bin", "x");
    dir.write("card/2/Q26 CT Data.MIF", "x");
    dir.write("card/2/1.aed", "x");
    dir.write("card/2/deeper/3", "x");
    dir.write("card/top.txt", "x");
    QDir(root).mkpath("empty/folder");

    OpenDialogLogic &logic = startDialog();
    logic.setSerialText("SN");
    logic.setZoneRow(4);

    EXPECT_FALSE(logic.openDirectory()); // browser cancelled
    EXPECT_EQ(state.directoryMode, 0);
    EXPECT_TRUE(state.scanFiles.isEmpty());

    platform.folderPaths.push_back(root);
    ASSERT_TRUE(logic.openDirectory());
    EXPECT_EQ(platform.folderRequests.last().caption, "Select Directory");
    const QStringList expectedFiles = {
        root + "/top.txt",
        root + "/2/Q26 CT Data.MIF",
        root + "/2/1.aed",
        root + "/2/deeper/3",
        root + "/10/b.bin",
    };
    EXPECT_EQ(state.scanFiles, expectedFiles);
    const QStringList expectedFolders = {root, root + "/2", root + "/2/deeper", root + "/10"};
    EXPECT_EQ(state.scanFolders, expectedFolders);
    EXPECT_EQ(state.foldersPerPage, 4);
    EXPECT_EQ(state.directoryMode, 1);
    EXPECT_EQ(state.openMode, 0);
    EXPECT_EQ(state.serialNumber, "SN");
    EXPECT_EQ(state.timeZoneChoice, 4);
    EXPECT_EQ(state.mifFolderPath, root + "/10");
    EXPECT_EQ(logic.action(), OpenDialogLogic::Action::OpenDirectory);
}

TEST_F(OpenDialogLogicTest, OpenDirectoryPagesAtMostAThousandFolders)
{
    const QString root = dir.mkdir("many");
    for (int i = 1001; i >= 1; --i)
        dir.write(QString("many/%1/Q21 CT Data.MIF").arg(i), "");
    OpenDialogLogic &logic = startDialog();
    platform.folderPaths.push_back(root);
    ASSERT_TRUE(logic.openDirectory());
    ASSERT_EQ(state.scanFolders.size(), 1001);
    EXPECT_EQ(state.scanFolders.first(), root + "/1");
    EXPECT_EQ(state.scanFolders.at(999), root + "/1000");
    EXPECT_EQ(state.foldersPerPage, 1000);
}
