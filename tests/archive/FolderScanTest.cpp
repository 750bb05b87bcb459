// The folder scan: pages of 1000 folders, archives opened where they are, device folders
// imported without a question, the progress window, and close-all.
#include "OpenFlowFixture.h"

#include "archive/CloseAllCases.h"
#include "archive/FolderScan.h"

using DeviceFiles::Model;

class FolderScanTest : public OpenFlowFixture
{
protected:
    // The Open dialog's lists for root, made the way its "Open Directory" button makes them.
    void chooseRoot(const QString &root)
    {
        scriptOpenDirectory(root);
        OpenDialogLogic logic(view.state, platform, texts);
        logic.setSerialText(QString::fromLatin1(Serial));
        ASSERT_TRUE(logic.openDirectory());
    }

    // Numbered folders 0..count-1 under root, each holding a copy of one small archive.
    QString archiveTree(int count)
    {
        makeArchive(dir.file("source.aed"));
        const QByteArray archive = dir.read("source.aed");
        const QString root = dir.mkdir("root");
        for (int i = 0; i < count; ++i)
            dir.write("root/" + QString::number(i) + "/case.aed", archive); // QFile::copy would sync each copy
        return root;
    }

    QStringList expectedSources(const QString &root, int from, int to) const
    {
        QStringList out;
        for (int i = from; i < to; ++i)
            out << root + "/" + QString::number(i) + "/case.aed";
        return out;
    }

    static QList<int> steps(int step, int count)
    {
        QList<int> out{0};
        for (int i = 1; i <= count; ++i)
            out << i * step;
        return out;
    }
};

TEST_F(FolderScanTest, PagesOfAThousandFoldersThroughTheArrows)
{
    const QString root = archiveTree(2500);
    scriptOpenDirectory(root);
    view.state.scanPage = 2; // a page left from an earlier root
    OpenFlow(view).OnOpenRequest();

    EXPECT_EQ(view.state.scanPage, 0) << "a new root starts on its first page";
    EXPECT_EQ(view.state.foldersPerPage, 1000);
    EXPECT_EQ(view.state.directoryMode, 1);
    EXPECT_EQ(openSources(), expectedSources(root, 0, 1000));
    EXPECT_EQ(caseNodeCount(), 1000);
    EXPECT_EQ(platform.progressCaptions, QStringList{"Opening Files..."});
    EXPECT_EQ(platform.progressPositions, steps(10, 1000));
    EXPECT_FALSE(platform.progressOpen);

    // Closing the page would drop annotations nobody saved: the arrow asks first.
    view.markChanged(999);
    platform.answerNext(Platform::Answer::Cancel);
    FolderScan(view).OnNextPage();
    EXPECT_EQ(platform.texts(), QStringList{"Unsaved changes in: case\n" + view.GetText(70)});
    EXPECT_EQ(view.state.scanPage, 0);
    EXPECT_EQ(openCaseCount(), 1000);

    platform.messages.clear();
    platform.answerNext(Platform::Answer::No);
    FolderScan(view).OnNextPage();
    EXPECT_EQ(platform.texts(), QStringList{"Unsaved changes in: case\n" + view.GetText(70)});
    EXPECT_EQ(view.state.unsavedChanges, 0);
    EXPECT_EQ(view.state.scanPage, 1);
    EXPECT_EQ(openSources(), expectedSources(root, 1000, 2000));
    EXPECT_EQ(caseNodeCount(), 1000);
    platform.messages.clear();
    platform.progressPositions.clear();

    FolderScan(view).OnNextPage();
    EXPECT_EQ(view.state.scanPage, 2);
    EXPECT_EQ(openSources(), expectedSources(root, 2000, 2500));
    EXPECT_EQ(platform.progressPositions, steps(20, 500)) << "the last page counts its own 500 folders";

    FolderScan(view).OnNextPage();
    EXPECT_EQ(view.state.scanPage, 2) << "no page after the last";
    EXPECT_EQ(openSources(), expectedSources(root, 2000, 2500));

    FolderScan(view).OnPreviousPage();
    EXPECT_EQ(view.state.scanPage, 1);
    EXPECT_EQ(openSources(), expectedSources(root, 1000, 2000));
    FolderScan(view).OnPreviousPage();
    EXPECT_EQ(view.state.scanPage, 0);
    // On the first page the left arrow does nothing and asks nothing.
    view.markChanged(0);
    FolderScan(view).OnPreviousPage();
    EXPECT_EQ(view.state.scanPage, 0);
    EXPECT_EQ(openSources(), expectedSources(root, 0, 1000));
    EXPECT_EQ(platform.progressCaptions.size(), 5);
    EXPECT_EQ(platform.progressEnds, 5);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(FolderScanTest, DeviceFolderIsImportedIntoItselfWithoutQuestionsAndErased)
{
    const QString root = dir.mkdir("root");
    const QString first = writeFolder("root/1", rescue(Model::Q21));
    const QString second = writeFolder("root/2", rescue(Model::Q25));
    chooseRoot(root);

    FolderScan(view).ScanFolders();

    EXPECT_TRUE(platform.saveRequests.isEmpty());
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.texts().join(" | ").toStdString();
    EXPECT_EQ(openSources(), (QStringList{first + "/Q21_0905(2021-03-07).aed", second + "/Q25_0905(2021-03-07).aed"}));
    EXPECT_EQ(mifFilesIn(first), QStringList());
    EXPECT_EQ(mifFilesIn(second), QStringList());
    EXPECT_TRUE(view.store.at(0).hasCprFeedback);
    EXPECT_TRUE(view.store.at(1).hasAudio);
    EXPECT_EQ(view.state.mifFolderPath, second);
    EXPECT_EQ(view.state.deviceModel, ModelQ25);
}

TEST_F(FolderScanTest, ArchivesOfAFolderAreOpenedAndTheDeviceFilesBesideThemStay)
{
    const QString root = dir.mkdir("root");
    const QString folder = writeFolder("root/5", rescue(Model::Q25));
    makeArchive(folder + "/a.aed");
    makeArchive(folder + "/b.AED");
    chooseRoot(root);
    view.state.deviceModel = ModelQ25;

    FolderScan(view).ScanFolders();

    EXPECT_EQ(openSources(), (QStringList{folder + "/a.aed", folder + "/b.AED"}));
    EXPECT_EQ(mifFilesIn(folder).size(), 5) << "an archive found by the scan erases nothing";
    // Neither archive is given the folder's CPR data and sound: nothing says whose they are.
    ASSERT_EQ(platform.messages.size(), 2);
    for (int slot : {0, 1}) {
        EXPECT_TRUE(platform.messages[slot].text.contains("the folder holds several archives"));
        EXPECT_FALSE(view.store.at(slot).hasCprFeedback);
    }
}

TEST_F(FolderScanTest, IncompleteDeviceFolderIsReportedOnceAndSkipped)
{
    const QString root = dir.mkdir("root");
    const QString incomplete = writeFolder("root/1", rescue(Model::Q25));
    QFile::remove(mifPath(incomplete, Model::Q25, "HR"));
    const QString complete = writeFolder("root/2", rescue(Model::Q25));
    dir.write("root/3/readme.txt", "no device files");
    chooseRoot(root);

    FolderScan(view).ScanFolders();

    EXPECT_EQ(platform.texts(), QStringList{view.GetText(87)});
    EXPECT_EQ(platform.messages[0].caption, view.GetText(66));
    EXPECT_EQ(mifFilesIn(incomplete).size(), 4);
    EXPECT_EQ(openSources(), QStringList{complete + "/Q25_0905(2021-03-07).aed"});
}

TEST_F(FolderScanTest, FolderWhoseFirstFileIsNoDeviceFileIsStillImported)
{
    // Names without leading digits keep their text order: "Audio Record.bin" comes first.
    const QString root = dir.mkdir("root");
    const QString folder = writeFolder("root/device");
    chooseRoot(root);
    ASSERT_TRUE(view.state.scanFiles.first().endsWith("Audio Record.bin"));

    FolderScan(view).ScanFolders();

    EXPECT_EQ(openSources(), QStringList{folder + "/Q25_0905(2021-03-07).aed"});
}

TEST_F(FolderScanTest, FolderWithAnUnreadableDeviceFileIsSkippedAndTheScanGoesOn)
{
    const QString root = dir.mkdir("root");
    DeviceFiles::DeviceFolder q25 = rescue(Model::Q25);
    const QString mixed = writeFolder("root/1", q25);
    QFile::rename(mifPath(mixed, Model::Q25, "CT"), mifPath(mixed, Model::Q21, "CT"));
    const QString good = writeFolder("root/2", q25);
    chooseRoot(root);

    FolderScan(view).ScanFolders();

    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(mifPath(mixed, Model::Q25, "CT")));
    EXPECT_EQ(mifFilesIn(mixed).size(), 5);
    EXPECT_EQ(QDir(mixed).entryList({"*.aed"}, QDir::Files), QStringList());
    EXPECT_EQ(openSources(), QStringList{good + "/Q25_0905(2021-03-07).aed"});
}

TEST_F(FolderScanTest, VanishedFolderOrBrokenArchiveEndsTheScanAndClosesTheProgressWindow)
{
    const QString root = archiveTree(3);
    chooseRoot(root);
    QDir(root + "/1").removeRecursively();

    FolderScan(view).ScanFolders();

    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(root + "/1"));
    EXPECT_EQ(openSources(), expectedSources(root, 0, 1)) << "the scan stops there";
    EXPECT_FALSE(platform.progressOpen);
    EXPECT_EQ(platform.progressEnds, 1);

    CloseAllCases(view);
    platform.messages.clear();
    dir.write("root/1/case.aed", "not an archive");
    FolderScan(view).ScanFolders();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(root + "/1/case.aed"));
    EXPECT_EQ(openSources(), expectedSources(root, 0, 1));
    EXPECT_FALSE(platform.progressOpen);
}

TEST_F(FolderScanTest, CloseAllCasesLeavesAnEmptyTreeAndNoSelection)
{
    const QString archive = makeArchive(dir.file("a.aed"));
    ASSERT_TRUE(openArchiveFile(view, archive));
    ASSERT_TRUE(openArchiveFile(view, makeArchive(dir.file("b.aed"))));
    tree.click(view.store.caseAt(1)->caseItem);
    ASSERT_EQ(frame.m_nSelCase, 1);
    view.state.unsavedChanges = 1;

    CloseAllCases(view);

    EXPECT_EQ(view.store.slotCount(), 0);
    EXPECT_EQ(tree.itemCount(), 0);
    EXPECT_EQ(frame.m_nSelCase, -1);
    EXPECT_EQ(view.selSlot, -1);
    EXPECT_EQ(view.state.unsavedChanges, 0);
    ASSERT_TRUE(openArchiveFile(view, archive));
    EXPECT_EQ(view.store.slotCount(), 1);
}
