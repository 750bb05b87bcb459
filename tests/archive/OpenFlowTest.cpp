// The Open command end to end through the scripted platform: importing a device folder,
// opening archives, the erasing of the device files, and "Adjust...".
#include "OpenFlowFixture.h"

#include "archive/AedArchive.h"
#include "archive/AedArchiveReader.h"
#include "archive/MifImport.h"
#include "base/AdjustTexts.h"
#include "base/CommandIds.h"
#include "case/AuditAction.h"
#include "case/EventListText.h"
#include "case/ReviewFile.h"
#include "device/TimeZoneTable.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

using DeviceFiles::Model;

namespace {
const QString Q25Name = QStringLiteral("Q25_0905(2021-03-07)");
} // namespace

class OpenFlowTest : public OpenFlowFixture
{
protected:
    // The texts of the tree's date nodes, in tree order.
    QStringList dateNodes() const
    {
        QStringList out;
        for (TreeItemId date : tree.children(NoTreeItem))
            out << tree.itemText(date);
        return out;
    }

    // The text of the case node of a case shown in zone row zoneRow with start text.
    static QString caseNodeText(const QString &start, int zoneRow, bool adjusted)
    {
        return start + EventListText::zoneSuffix(TimeZoneTable::offsetOfRow(zoneRow), adjusted);
    }
};

TEST_F(OpenFlowTest, ImportOfAQ25FolderWritesTheArchiveShowsOneCaseAndErasesTheDeviceFiles)
{
    const QString folder = writeFolder("card");
    scriptLoadMif(folder);
    platform.savePaths.push_back(folder + "/" + Q25Name + ".aed");

    OpenFlow(view).OnOpenRequest();

    ASSERT_EQ(platform.saveRequests.size(), 1);
    EXPECT_EQ(platform.saveRequests[0].folder, folder + "/" + Q25Name) << "the proposed name";
    EXPECT_EQ(platform.saveRequests[0].filter, AedArchive::fileFilter());
    EXPECT_EQ(platform.saveRequests[0].defaultSuffix, "aed");
    EXPECT_TRUE(QFileInfo::exists(folder + "/" + Q25Name + ".aed"));

    ASSERT_EQ(platform.messages.size(), 1) << platform.texts().join(" | ").toStdString();
    EXPECT_EQ(platform.messages[0].text, importMessage());
    EXPECT_EQ(platform.messages[0].caption, view.GetText(66));
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Information);

    EXPECT_EQ(mifFilesIn(folder), QStringList()) << "CT, ECG, HR, Trend and Temp are erased";
    EXPECT_TRUE(QFileInfo::exists(folder + "/CPR Feedback.bin"));
    EXPECT_TRUE(QFileInfo::exists(folder + "/Audio Record.bin"));

    EXPECT_EQ(openCaseCount(), 1);
    EXPECT_EQ(caseNodeCount(), 1);
    const CaseRecord *c = view.store.caseAt(0);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->serialNumber, QString::fromLatin1(Serial));
    EXPECT_EQ(c->buildState, CaseListBuilt);
    EXPECT_EQ(view.store.at(0).sourcePath, folder + "/" + Q25Name + ".aed");
    EXPECT_TRUE(view.store.at(0).hasCprFeedback) << "feedback beside the archive";
    EXPECT_EQ(c->cprFeedbackCount, 2);
    EXPECT_TRUE(view.store.at(0).hasAudio);
    EXPECT_EQ(view.store.at(0).tempLoaded, 1);
    EXPECT_EQ(view.state.openMode, 0);
    EXPECT_EQ(view.state.modelIndex, 1) << "the import read the files as Q25";
    EXPECT_EQ(ReviewFile::read(folder + "/" + Q25Name + ".aed").marks.model, "Q25");
}

TEST_F(OpenFlowTest, ImportInDirectoryModeWritesIntoTheFolderWithoutAsking)
{
    const QString folder = writeFolder("card", rescue(Model::Q21));
    view.state.directoryMode = 1;
    view.state.mifFolderPath = folder;
    view.state.deviceModel = ModelQ21;
    view.state.serialNumber = "SN-1";
    view.store.setTempFilePresent(view.store.nextCaseSlot(), 1);

    EXPECT_EQ(OpenFlow(view).ImportMifFolder(), OpenFlow::Outcome::Opened);

    EXPECT_TRUE(platform.saveRequests.isEmpty());
    EXPECT_TRUE(platform.messages.isEmpty()) << "no import message in directory mode";
    EXPECT_TRUE(QFileInfo::exists(folder + "/Q21_0905(2021-03-07).aed"));
    EXPECT_EQ(mifFilesIn(folder), QStringList());
    EXPECT_EQ(openCaseCount(), 1);
}

TEST_F(OpenFlowTest, ImportSavedIntoAnotherFolderTakesItsCprDataAndSoundWithIt)
{
    const QString folder = writeFolder("card");
    const QString elsewhere = dir.mkdir("archives") + "/" + Q25Name + ".aed";
    scriptLoadMif(folder);
    platform.savePaths.push_back(elsewhere);

    OpenFlow(view).OnOpenRequest();

    EXPECT_TRUE(QFileInfo::exists(elsewhere));
    EXPECT_EQ(mifFilesIn(folder), QStringList()) << "the device files are erased where they were";
    EXPECT_TRUE(QFileInfo::exists(folder + "/CPR Feedback.bin")) << "the device's own files stay";
    EXPECT_TRUE(QFileInfo::exists(folder + "/Audio Record.bin"));
    ASSERT_EQ(openCaseCount(), 1);
    EXPECT_TRUE(view.store.at(0).hasCprFeedback);
    EXPECT_TRUE(view.store.at(0).hasAudio);
    EXPECT_EQ(view.store.at(0).cprFeedbackPath, dir.file("archives/CPR Feedback.bin"));
    EXPECT_EQ(platform.texts(), QStringList{importMessage()});
}

TEST_F(OpenFlowTest, LoadAedFileNeverErasesNorShowsTheImportMessage)
{
    const QString folder = writeFolder("card");
    const QString archive = makeArchive(folder + "/" + Q25Name + ".aed");
    scriptLoadAed(archive);

    OpenFlow(view).OnOpenRequest();

    EXPECT_EQ(openCaseCount(), 1);
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(mifFilesIn(folder).size(), 5) << "MIF files beside the archive stay";
    EXPECT_TRUE(view.store.at(0).hasCprFeedback);
    EXPECT_TRUE(view.store.at(0).hasAudio);
    EXPECT_EQ(platform.openRequests.last().filter, AedArchive::fileFilter());
}

TEST_F(OpenFlowTest, ModelIndexComesFromTheFolderThenTheFileNameThenTheImport)
{
    const struct { const char *folder, *name, *recorded; int index; } cases[] = {
        {"site Q21/x", "Q25_0905(2021-03-07).aed", "Q25", 0}, {"Q25 card", "Q21_0905.aed", "", 1},
        {"Q26", "Q21_0905.aed", "Q21", 2},                    {"Q25 in Q21", "x.aed", "", 0},
        {"q21 lower", "Q25_0905.aed", "Q21", 1},              {"card", "q21_0905.aed", "", 0},
        {"card", "rescue.aed", "Q25", 1},                     {"card", "rescue Q21.aed", "", 2},
    };
    for (const auto &c : cases) {
        const QString path = dir.mkdir(QString::fromLatin1(c.folder)) + "/" + c.name;
        EXPECT_EQ(ModelIndexOfArchive(path, QString::fromLatin1(c.recorded)), c.index) << c.folder << " " << c.name;
    }

    // A Q21 case imported under a name and into a folder that say nothing keeps its model when
    // it is opened again: the review file recorded it.
    const QString folder = writeFolder("card", rescue(Model::Q21));
    scriptLoadMif(folder);
    const QString archive = dir.file("rescue.aed");
    platform.savePaths.push_back(archive);
    OpenFlow(view).OnOpenRequest();
    ASSERT_EQ(openCaseCount(), 1);
    EXPECT_EQ(view.store.at(0).modelIndex, 0);
    EXPECT_TRUE(openArchiveFile(view, makeArchive(dir.mkdir("other") + "/rescue.aed", rescue(Model::Q21))));
    EXPECT_EQ(view.store.at(1).modelIndex, 2) << "nothing says which model this copy is";
    view.OnCloseCase(0);
    view.OnCloseCase(1);
    ASSERT_EQ(openCaseCount(), 0);
    OpenFlow flow(view);
    flow.OpenArchiveFile(archive);
    const int slot = flow.openedSlot();
    ASSERT_GE(slot, 0);
    EXPECT_EQ(view.store.at(slot).modelIndex, 0);
    const int image = tree.itemImage(tree.children(view.store.caseAt(slot)->caseItem).front());
    EXPECT_GE(image, TreeImage::EventImageBase);
    EXPECT_LT(image, TreeImage::EventImageBase + TreeImage::EventImagesPerModel) << "the Q21 icons";
}

TEST_F(OpenFlowTest, AdjustReadsTheShownCaseAgainAndLeavesTheOthers)
{
    const QString first = makeArchive(dir.file("first.aed"));
    const QString second = makeArchive(dir.file("second.aed"));
    ASSERT_TRUE(openArchiveFile(view, first));
    ASSERT_TRUE(openArchiveFile(view, second));
    // The Open dialog was set to another zone since the cases were opened.
    const int ownZone = view.store.caseAt(0)->timeZoneIndex;
    ASSERT_NE(ownZone, seoulRow());
    view.state.timeZoneChoice = uint16_t(seoulRow());
    const CTime firstStart = view.store.caseAt(0)->startTime;

    // The first archive is shown; it was opened before the second.
    tree.click(view.store.caseAt(0)->caseItem);
    EXPECT_EQ(OpenFlow(view).AdjustCase(0, "2021-03-04 05:06:07"), OpenFlow::Outcome::Opened);

    QStringList sources = openSources();
    sources.sort();
    EXPECT_EQ(sources, QStringList({first, second}));
    EXPECT_EQ(caseNodeCount(), 2);
    const int adjusted = view.selSlot;
    ASSERT_GE(adjusted, 0);
    EXPECT_EQ(view.store.at(adjusted).sourcePath, first);
    EXPECT_EQ(view.store.caseAt(adjusted)->startTime, CTime(2021, 3, 4, 5, 6, 7));
    EXPECT_EQ(view.store.caseAt(adjusted)->timeZoneIndex, ownZone) << "the case's own zone, not the dialog's";
    EXPECT_EQ(tree.itemText(view.store.caseAt(adjusted)->caseItem), caseNodeText("2021-03-04 05:06:07", ownZone, true));
    EXPECT_EQ(view.store.caseAt(adjusted)->powerOnTimeText, view.store.caseAt(1)->powerOnTimeText)
        << "Power on time is the device's, in the case's own zone";
    EXPECT_TRUE(tree.itemText(view.store.caseAt(adjusted)->caseItem).endsWith("Adjust Time"));
    EXPECT_TRUE(view.store.at(adjusted).timeAdjusted());
    EXPECT_EQ(tree.itemText(view.store.caseAt(adjusted)->dateItem), "2021-03-04") << "under its adjusted date";
    EXPECT_EQ(dateNodes(), QStringList({"2021-03-07", "2021-03-04"})) << "the other case keeps its date node";
    EXPECT_EQ(tree.selectedItem(), view.store.caseAt(adjusted)->caseItem) << "the adjusted case is shown";
    const int other = 1; // the second archive, never closed
    EXPECT_EQ(view.store.caseAt(other)->startTime, firstStart) << "the other case keeps its start";
    EXPECT_FALSE(view.store.at(other).timeAdjusted());
    EXPECT_TRUE(platform.messages.isEmpty());

    // The typed start is kept beside the archive with the zone it was typed in, and comes back
    // with it: in its own zone as typed, in another zone as the same moment.
    const QJsonObject review = QJsonDocument::fromJson(dir.read(QFileInfo(ReviewFile::pathFor(first)).fileName())).object();
    EXPECT_EQ(review.value("adjustedStart").toString(), "2021-03-04 05:06:07");
    EXPECT_EQ(review.value("adjustedStartZoneMinutes").toInt(), TimeZoneTable::offsetOfRow(ownZone));
    CloseAllCases(view);
    view.state.timeZoneChoice = uint16_t(ownZone);
    ASSERT_TRUE(openArchiveFile(view, first));
    EXPECT_EQ(view.store.caseAt(0)->startTime, CTime(2021, 3, 4, 5, 6, 7));
    EXPECT_TRUE(tree.itemText(view.store.caseAt(0)->caseItem).endsWith("Adjust Time"));
    CloseAllCases(view);
    view.state.timeZoneChoice = uint16_t(seoulRow());
    ASSERT_TRUE(openArchiveFile(view, first));
    const int shiftMinutes = TimeZoneTable::offsetOfRow(seoulRow()) - TimeZoneTable::offsetOfRow(ownZone);
    EXPECT_EQ(view.store.caseAt(0)->startTime, CTime(2021, 3, 4, 5, 6, 7) + CTimeSpan(int64_t(shiftMinutes) * 60));
    EXPECT_EQ(tree.itemText(view.store.caseAt(0)->caseItem),
              caseNodeText(EventListText::startTimeText(view.store.caseAt(0)->startTime), seoulRow(), true));
}

TEST_F(OpenFlowTest, AdjustRefusesATypedTextThatIsNotADateAndTimeOfTheYearsACaseStartsIn)
{
    const QString first = makeArchive(dir.file("first.aed"));
    const QString second = makeArchive(dir.file("second.aed"));
    ASSERT_TRUE(openArchiveFile(view, first));
    ASSERT_TRUE(openArchiveFile(view, second));
    const QStringList treeBefore = tree.lines();
    constexpr int NotADateAndTime = 173;
    const struct { const char *typed; int text; } cases[] = {
        {"", NotADateAndTime},
        {"10:00", NotADateAndTime},
        {"2021-3-7 9:5:0", NotADateAndTime},
        {"2021-02-30 25:61:00", NotADateAndTime},
        {"9999-12-31 23:59:59", AdjustText::YearOutOfRange},
        {"2100-01-01 00:00:00", AdjustText::YearOutOfRange},
        {"1969-12-31 23:59:59", AdjustText::YearOutOfRange},
    };
    for (const auto &[typed, text] : cases) {
        platform.messages.clear();
        EXPECT_EQ(OpenFlow(view).AdjustCase(1, QString::fromLatin1(typed)), OpenFlow::Outcome::Cancelled) << typed;
        ASSERT_EQ(platform.messages.size(), 1) << typed;
        EXPECT_EQ(platform.messages[0].text, view.GetText(text).arg(QString::fromLatin1(typed))) << typed;
        EXPECT_EQ(openSources(), QStringList({first, second})) << typed;
        EXPECT_EQ(tree.lines(), treeBefore) << typed;
        EXPECT_FALSE(view.store.at(1).timeAdjusted()) << typed;
        EXPECT_FALSE(QFileInfo::exists(ReviewFile::pathFor(second))) << typed;
    }
}

TEST_F(OpenFlowTest, UndoAdjustmentFromTheCaseMenuBringsBackTheDevicesStartAndDate)
{
    const QString archive = makeArchive(dir.file("first.aed"));
    ASSERT_TRUE(openArchiveFile(view, archive));
    const int ownZone = view.store.caseAt(0)->timeZoneIndex;
    const CTime deviceStart = view.store.caseAt(0)->startTime;
    const QString deviceCaseText = tree.itemText(view.store.caseAt(0)->caseItem);
    view.state.timeZoneChoice = uint16_t(seoulRow());
    QStringList audit;
    view.audited = [&audit](const QString &, const QString &, const QString &action, const QString &) {
        audit << action;
    };
    view.undoAdjustment = [this](int slot) { OpenFlow(view).UndoAdjustment(slot); };
    // Right-clicks the one open case and chooses command; returns the menu shown.
    const auto caseMenuChoosing = [this](int command) {
        for (int slot = 0; slot < view.store.slotCount(); ++slot)
            if (const CaseRecord *c = view.store.caseAt(slot))
                tree.click(c->caseItem);
        tree.menuScript = [command](const TreeMenu &) { return command; };
        tree.pressRightButton();
        return tree.menusShown.last();
    };

    // Nothing to undo yet: the command is greyed and does nothing.
    EXPECT_TRUE(caseMenuChoosing(0).disabledCommands.contains(CommandId::UndoAdjustment));
    EXPECT_EQ(OpenFlow(view).UndoAdjustment(0), OpenFlow::Outcome::Cancelled);

    // The only case of its day moves to the day of its adjusted start; the emptied node goes.
    ASSERT_EQ(OpenFlow(view).AdjustCase(0, "2021-03-04 05:06:07"), OpenFlow::Outcome::Opened);
    EXPECT_EQ(dateNodes(), QStringList{"2021-03-04"});
    EXPECT_EQ(audit, QStringList{AuditAction::ReviewMarksChanged});

    const TreeMenu menu = caseMenuChoosing(CommandId::UndoAdjustment);
    EXPECT_FALSE(menu.disabledCommands.contains(CommandId::UndoAdjustment));
    ASSERT_EQ(openCaseCount(), 1);
    const int slot = view.selSlot;
    ASSERT_GE(slot, 0);
    const auto expectDevicesStart = [&](int shown, const char *when) {
        EXPECT_EQ(view.store.caseAt(shown)->startTime, deviceStart) << when;
        EXPECT_FALSE(view.store.at(shown).timeAdjusted()) << when;
        EXPECT_EQ(view.store.caseAt(shown)->timeZoneIndex, ownZone) << when;
        EXPECT_EQ(tree.itemText(view.store.caseAt(shown)->caseItem), deviceCaseText) << when;
        EXPECT_EQ(dateNodes(), QStringList{"2021-03-07"}) << when;
    };
    expectDevicesStart(slot, "after the undo");
    EXPECT_EQ(tree.selectedItem(), view.store.caseAt(slot)->caseItem) << "the case read again is shown";
    EXPECT_EQ(audit, QStringList({AuditAction::ReviewMarksChanged, AuditAction::ReviewMarksChanged}));
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.texts().join(" | ").toStdString();
    const QByteArray kept = dir.read("first.aed.review.json");
    EXPECT_TRUE(kept.contains("\"adjustedStart\": null")) << kept.constData();
    EXPECT_TRUE(caseMenuChoosing(0).disabledCommands.contains(CommandId::UndoAdjustment));

    CloseAllCases(view);
    view.state.timeZoneChoice = uint16_t(ownZone);
    ASSERT_TRUE(openArchiveFile(view, archive));
    expectDevicesStart(0, "opened again in the zone it was shown in");
}

TEST_F(OpenFlowTest, CancelledSaveDialogFreesTheDecodedCaseAndKeepsTheDeviceFiles)
{
    const QString folder = writeFolder("card");
    scriptLoadMif(folder);

    OpenFlow(view).OnOpenRequest();

    EXPECT_EQ(platform.saveRequests.size(), 1);
    EXPECT_EQ(openCaseCount(), 0) << "no undisplayable case is left in a slot";
    EXPECT_EQ(view.store.nextCaseSlot(), 0);
    EXPECT_EQ(mifFilesIn(folder).size(), 5);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(OpenFlowTest, NestedOpenTakesTheLowestFreeSlot)
{
    ASSERT_TRUE(openArchiveFile(view, makeArchive(dir.file("a.aed"))));
    ASSERT_TRUE(openArchiveFile(view, makeArchive(dir.file("b.aed"))));
    view.OnCloseCase(0);
    const QString folder = writeFolder("card");
    scriptLoadMif(folder);
    platform.savePaths.push_back(folder + "/new.aed");

    OpenFlow(view).OnOpenRequest();

    EXPECT_EQ(view.store.at(0).sourcePath, folder + "/new.aed");
    EXPECT_EQ(view.store.slotCount(), 2);
}

TEST_F(OpenFlowTest, UnreadableDeviceFileStopsTheImportBeforeAnythingIsWrittenOrErased)
{
    // The Q21 CT file with the Q25 ECG, HR and Trend files: every kind is found and the
    // model is Q25, whose CT file is not there.
    DeviceFiles::DeviceFolder q25 = rescue(Model::Q25);
    q25.hasTemp = false;
    const QString folder = writeFolder("mixed", q25);
    QFile::rename(mifPath(folder, Model::Q25, "CT"), mifPath(folder, Model::Q21, "CT"));
    scriptLoadMif(folder);

    OpenFlow(view).OnOpenRequest();

    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(mifPath(folder, Model::Q25, "CT")));
    EXPECT_TRUE(platform.saveRequests.isEmpty()) << "no archive is written";
    EXPECT_EQ(mifFilesIn(folder).size(), 4) << "nothing is erased";
    EXPECT_EQ(openCaseCount(), 0);
    EXPECT_EQ(QDir(folder).entryList({"*.aed"}, QDir::Files), QStringList());
}

TEST_F(OpenFlowTest, ArchivesThatCannotBeReadEndTheOpenNamingTheFile)
{
    const QString good = makeArchive(dir.file("good.aed"));
    QByteArray cut = dir.read("good.aed");
    cut.truncate(cut.size() / 2);
    const struct { const char *name; QByteArray bytes; } cases[] = {
        {"truncated.aed", cut},
        {"picture.aed", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10", 24)},
        {"empty.aed", QByteArray()},
    };
    for (const auto &c : cases) {
        platform.messages.clear();
        const QString path = dir.write(QString::fromLatin1(c.name), c.bytes);
        scriptLoadAed(path);
        OpenFlow(view).OnOpenRequest();
        ASSERT_EQ(platform.messages.size(), 1) << c.name;
        EXPECT_TRUE(platform.messages[0].text.contains(path)) << c.name;
        EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop) << c.name;
        EXPECT_EQ(openCaseCount(), 0) << c.name;
        EXPECT_EQ(tree.itemCount(), 0) << c.name;
    }
    EXPECT_FALSE(openArchiveFile(view, dir.file("missing.aed")));
    EXPECT_TRUE(platform.messages.last().text.contains(dir.file("missing.aed")));
    EXPECT_TRUE(openArchiveFile(view, good)) << "the view is still usable";
}

TEST_F(OpenFlowTest, BrokenFeedbackOrSoundFileIsReportedAndTheCaseStaysOpen)
{
    const struct { const char *file; QByteArray bytes; bool feedback; } cases[] = {
        {"CPR Feedback.bin", QByteArray::fromHex("e8030000 32000000 01010101"), true}, // a record and a half: the whole one is kept
        {"Audio Record.bin", QByteArray(3, '\0'), false},  // not even the start time
    };
    for (const auto &c : cases) {
        TempDir place;
        const QString archive = makeArchive(place.file("case.aed"));
        const QString broken = place.write(QString::fromLatin1(c.file), c.bytes);
        platform.messages.clear();
        EXPECT_TRUE(openArchiveFile(view, archive)) << c.file;
        ASSERT_EQ(platform.messages.size(), 1) << c.file;
        EXPECT_TRUE(platform.messages[0].text.contains(broken)) << c.file;
        const int slot = view.store.slotCount() - 1;
        EXPECT_TRUE(view.store.isSlotUsed(slot)) << c.file;
        EXPECT_EQ(view.store.at(slot).hasCprFeedback, c.feedback) << c.file;
        EXPECT_FALSE(view.store.at(slot).hasAudio) << c.file;
    }
}

TEST_F(OpenFlowTest, ArchiveThatCannotBeCreatedKeepsTheDeviceFilesAndLeavesNoCase)
{
    const QString folder = writeFolder("card");
    const QString notAFolder = dir.write("plain.txt", "x");
    scriptLoadMif(folder);
    platform.savePaths.push_back(notAFolder + "/" + Q25Name + ".aed");

    OpenFlow(view).OnOpenRequest();

    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(notAFolder + "/" + Q25Name + ".aed"));
    EXPECT_EQ(mifFilesIn(folder).size(), 5);
    EXPECT_EQ(openCaseCount(), 0);
}

TEST_F(OpenFlowTest, ImportNameFromTheHeader)
{
    const struct { int32_t model; uint8_t year, month, day, hour, minute; const char *name; } cases[] = {
        {ModelQ25, 21, 3, 7, 9, 5, "Q25_0905(2021-03-07)"},
        {ModelQ21, 5, 12, 31, 23, 59, "Q21_2359(2021-12-31)"},  // years 0..8 are 2016..2024
        {ModelNone, 9, 1, 2, 0, 0, "Q26_0000(2009-01-02)"},
        {26, 0, 6, 15, 12, 30, "Q26_1230(2016-06-15)"},
    };
    for (const auto &c : cases) {
        CC8Class files;
        files.headerYear = c.year;
        files.headerMonth = c.month;
        files.headerDay = c.day;
        files.headerHour = c.hour;
        files.headerMinute = c.minute;
        EXPECT_EQ(ImportArchiveName(c.model, files), QString::fromLatin1(c.name));
    }
}

TEST_F(OpenFlowTest, DeviceFilesAreErasedOnlyWhenTheArchiveHoldsThemAsRead)
{
    const QString folder = writeFolder("card");
    view.state.mifFolderPath = folder;
    view.state.deviceModel = ModelQ25;
    view.store.setTempFilePresent(view.store.nextCaseSlot(), 1);
    MifImport import(view);
    const int decoded = import.DecodeFolder();
    ASSERT_GE(decoded, 0);
    ASSERT_TRUE(import.WriteArchive(decoded, dir.file("case.aed")));
    EXPECT_FALSE(view.store.isSlotUsed(decoded)) << "the written case is freed";

    const int slot = view.store.AllocateCaseSlot(QString());
    ReadAedArchive(view.store, dir.file("case.aed"), slot, view.state.timeZoneChoice);
    EXPECT_TRUE(ArchiveHoldsConversion(view, slot, import.conversion()));
    for (size_t file = 0; file < 5; ++file) {
        MifConversion changed = import.conversion();
        changed.files[file].hash ^= 1;
        EXPECT_FALSE(ArchiveHoldsConversion(view, slot, changed)) << file;
    }

    // Only the converted files go, and the folder only once nothing else is in it.
    dir.write("card/notes.txt", "kept");
    EraseMifFiles(import.conversion());
    EXPECT_EQ(mifFilesIn(folder), QStringList());
    EXPECT_TRUE(QFileInfo::exists(folder + "/notes.txt"));
    EXPECT_TRUE(QFileInfo::exists(folder + "/CPR Feedback.bin"));

    const QString bare = writeFolder("bare", [] {
        DeviceFiles::DeviceFolder f = rescue();
        f.hasCprFeedback = false;
        f.hasAudio = false;
        return f;
    }());
    MifConversion onlyMif = import.conversion();
    onlyMif.mifFolder = bare;
    EraseMifFiles(onlyMif);
    EXPECT_FALSE(QFileInfo::exists(bare)) << "an emptied folder is removed";
}

TEST_F(OpenFlowTest, TempFileIsKeptWhenItWasNotConverted)
{
    // The Open dialog found no Temp file; one that appears later is not in the archive.
    const QString folder = writeFolder("card");
    view.state.mifFolderPath = folder;
    view.state.deviceModel = ModelQ25;
    view.state.directoryMode = 1;
    view.store.setTempFilePresent(view.store.nextCaseSlot(), 0);

    EXPECT_EQ(OpenFlow(view).ImportMifFolder(), OpenFlow::Outcome::Opened);

    EXPECT_EQ(mifFilesIn(folder), QStringList{"Q25 Temp Data.MIF"});
}

TEST_F(OpenFlowTest, DeviceFilesNamedInAnyCaseAreImportedAndErased)
{
    // A card copied by a tool that lower-cased every name.
    const QString folder = writeFolder("card");
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        ASSERT_TRUE(QFile::rename(folder + "/" + name, folder + "/" + name.toLower()));
    scriptLoadMif(folder);
    platform.savePaths.push_back(folder + "/" + Q25Name + ".aed");

    OpenFlow(view).OnOpenRequest();

    ASSERT_EQ(platform.texts(), QStringList{importMessage()});
    EXPECT_EQ(view.state.deviceModel, ModelQ25);
    EXPECT_EQ(view.store.at(0).tempLoaded, 1);
    EXPECT_TRUE(view.store.at(0).hasCprFeedback);
    EXPECT_TRUE(view.store.at(0).hasAudio);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              (QStringList{"Audio Record.wav", Q25Name + ".aed", Q25Name + ".aed.review.json", "audio record.bin",
                           "cpr feedback.bin"}))
        << "every device file erased";
}

TEST_F(OpenFlowTest, AnotherModelsTempFileBesideTheFilesIsIgnored)
{
    DeviceFiles::DeviceFolder q21 = rescue(Model::Q21);
    q21.hasTemp = false;
    const QString folder = writeFolder("card", q21);
    const QByteArray strayTemp("\x01\x02\x03\x04", 4);
    QFile stray(mifPath(folder, Model::Q26, "Temp"));
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.write(strayTemp);
    stray.close();
    scriptLoadMif(folder);
    platform.savePaths.push_back(folder + "/q21.aed");

    OpenFlow(view).OnOpenRequest();

    ASSERT_EQ(platform.texts(), QStringList{importMessage()}) << "no message about a Temp file";
    EXPECT_EQ(view.state.deviceModel, ModelQ21);
    EXPECT_EQ(view.state.modelQ26Found, 0);
    EXPECT_EQ(view.store.at(0).tempLoaded, 0);
    EXPECT_EQ(view.store.tempFilePresentOf(0), 0);
    EXPECT_EQ(mifFilesIn(folder), QStringList{"Q26 Temp Data.MIF"}) << "the other model's file is left";
}
