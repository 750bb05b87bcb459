// What keeps a reviewer's work: unsaved changes per case and the question before anything
// that would drop them, the review file of marks beside the archive, commands acting on the
// highlighted item, and the Open command after failures.
#include "OpenFlowFixture.h"

#include "archive/MifImport.h"
#include "base/CommandIds.h"
#include "case/AnnotationForm.h"
#include "case/ReviewFile.h"
#include "support/ScratchMount.h"

#include <functional>

namespace {

enum class Change { None, GeneralForm, AnnotationAdd, AnnotationEdit, AnnotationDelete };
enum class Action { CloseCase, CloseWindow, PageArrow, Adjust };

const char *name(Change c)
{
    switch (c) {
    case Change::None: return "no change";
    case Change::GeneralForm: return "General-form edit";
    case Change::AnnotationAdd: return "annotation add";
    case Change::AnnotationEdit: return "annotation edit";
    case Change::AnnotationDelete: return "annotation delete";
    }
    return "";
}

const char *name(Action a)
{
    switch (a) {
    case Action::CloseCase: return "close case";
    case Action::CloseWindow: return "close window";
    case Action::PageArrow: return "page arrow";
    case Action::Adjust: return "Adjust";
    }
    return "";
}

const char *name(Platform::Answer a)
{
    return a == Platform::Answer::Yes ? "Yes" : a == Platform::Answer::No ? "No" : "Cancel";
}

// What an archive holds, read back the way the program opens it.
struct OnDisk
{
    QString lastName;
    QStringList annotations; // titles, in event order

    bool operator==(const OnDisk &) const = default;
};

void PrintTo(const OnDisk &d, std::ostream *out)
{
    *out << "{" << d.lastName.toStdString() << "; " << d.annotations.join(", ").toStdString() << "}";
}

OnDisk readBack(const QString &path)
{
    // Read as a reading command does: the case may be open for review in the test's own session.
    CaseTreeFixture f;
    OnDisk out;
    OpenFlow flow(f.view, OpenWrites::none());
    flow.OpenArchiveFile(path);
    if (flow.openedSlot() < 0)
        return out;
    const CaseRecord &c = *f.view.store.caseAt(0);
    out.lastName = c.lastName;
    c.events.forEachUsed([&](int, const EventItem &e) {
        if (e.text.startsWith("A: "))
            out.annotations << e.text;
    });
    return out;
}

} // namespace

class ReviewWork : public OpenFlowFixture
{
protected:
    void scriptAnnotation(const QString &title)
    {
        platform.annotationScript = [title](AnnotationForm &form) {
            form.title = title;
            return form.accept();
        };
    }

    void select(int slot) { tree.click(view.store.caseAt(slot)->caseItem); }

    int annotationOf(int slot) const { return eventSlot(slot, "A: "); }
};

TEST_F(ReviewWork, EveryActionThatClosesAChangedCaseAsksAndYesSavesThatCase)
{
    const Change changes[] = {Change::None, Change::GeneralForm, Change::AnnotationAdd, Change::AnnotationEdit,
                              Change::AnnotationDelete};
    const Action actions[] = {Action::CloseCase, Action::CloseWindow, Action::PageArrow, Action::Adjust};
    const Platform::Answer answers[] = {Platform::Answer::Yes, Platform::Answer::No, Platform::Answer::Cancel};
    int row = 0;
    for (Action action : actions)
        for (Change change : changes)
            for (Platform::Answer answer : answers) {
                const std::string label = std::string(name(action)) + " / " + name(change) + " / " + name(answer);
                CloseAllCases(view);
                view.state.scanFolders.clear();
                view.state.scanPage = 0;
                const QString folder = dir.mkdir(QString("row%1").arg(row++));
                const QString a = makeArchive(folder + "/a.aed");
                const QString b = makeArchive(folder + "/b.aed");
                // Edit and delete need an annotation the archive already holds.
                if (change == Change::AnnotationEdit || change == Change::AnnotationDelete) {
                    ASSERT_TRUE(openArchiveFile(view, a));
                    scriptAnnotation("note");
                    ASSERT_TRUE(view.AddAnnotationAt(0, 1500));
                    platform.savePaths.push_back(a);
                    ASSERT_TRUE(SaveCase(view, 0));
                    CloseAllCases(view);
                }
                const OnDisk aBefore = readBack(a);
                const OnDisk bBefore = readBack(b);

                ASSERT_TRUE(openArchiveFile(view, a));
                ASSERT_TRUE(openArchiveFile(view, b));
                const int slotA = 0;
                const int slotB = 1;
                OnDisk aAfterSave = aBefore;
                switch (change) {
                case Change::None: break;
                case Change::GeneralForm:
                    view.store.caseAt(slotA)->lastName = "Typed";
                    view.markChanged(slotA);
                    aAfterSave.lastName = "Typed";
                    break;
                case Change::AnnotationAdd:
                    scriptAnnotation("added");
                    ASSERT_TRUE(view.AddAnnotationAt(slotA, 2500));
                    aAfterSave.annotations << "A: added";
                    break;
                case Change::AnnotationEdit:
                    tree.click(eventItem(slotA, annotationOf(slotA)));
                    scriptAnnotation("edited");
                    view.OnTreeMenuCommand(CommandId::EditAnnotation);
                    aAfterSave.annotations = {"A: edited"};
                    break;
                case Change::AnnotationDelete:
                    tree.click(eventItem(slotA, annotationOf(slotA)));
                    view.OnTreeMenuCommand(CommandId::DeleteAnnotation);
                    aAfterSave.annotations.clear();
                    break;
                }
                // The changed case is not the selected one.
                select(slotB);
                ASSERT_EQ(view.isChanged(slotA), change != Change::None) << label;
                ASSERT_EQ(view.state.unsavedChanges, change != Change::None ? 1 : 0) << label;
                platform.messages.clear();
                platform.saveRequests.clear();
                platform.answers.clear();
                platform.savePaths.clear();
                platform.answerNext(answer);
                if (answer == Platform::Answer::Yes)
                    platform.savePaths.push_back(a); // the proposal: the case's own archive

                switch (action) {
                case Action::CloseCase: view.OnCloseCase(slotA); break;
                case Action::CloseWindow:
                    if (view.confirmClose(view.openSlots()))
                        CloseAllCases(view);
                    break;
                case Action::PageArrow:
                    // A second page of a scan whose first page holds nothing to open.
                    for (int i = 0; i <= 1000; ++i)
                        view.state.scanFolders << folder + "/none" + QString::number(i);
                    view.state.foldersPerPage = 1000;
                    view.state.scanPage = 1;
                    FolderScan(view).OnPreviousPage();
                    break;
                case Action::Adjust: OpenFlow(view).AdjustCase(view.selSlot, "2021-03-07 10:00:00"); break;
                }

                const bool closesA = action != Action::Adjust; // Adjust reads the shown case B again
                const bool asked = closesA && change != Change::None;
                const bool proceeded = !asked || answer != Platform::Answer::Cancel;
                const bool saved = asked && answer == Platform::Answer::Yes;
                const QString question = "Unsaved changes in: a\n" + view.GetText(70);
                EXPECT_EQ(platform.texts(), asked ? QStringList{question} : QStringList()) << label;
                EXPECT_EQ(platform.saveRequests.size(), saved ? 1 : 0) << label;
                if (saved) {
                    EXPECT_EQ(platform.saveRequests[0].folder, folder + "/a") << label;
                }
                EXPECT_EQ(view.store.isSlotUsed(slotA), !(closesA && proceeded)) << label;
                EXPECT_EQ(readBack(a), saved ? aAfterSave : aBefore) << label;
                EXPECT_EQ(readBack(b), bBefore) << label;
                if (action == Action::Adjust) {
                    EXPECT_TRUE(view.store.at(view.selSlot).timeAdjusted()) << label;
                    EXPECT_EQ(view.store.at(view.selSlot).sourcePath, b) << label;
                    EXPECT_EQ(view.isChanged(slotA), change != Change::None) << label << ": A is untouched";
                }
                // A case closed without saving is not asked about again.
                platform.messages.clear();
                const bool changedLeft = view.store.isSlotUsed(slotA) && view.isChanged(slotA);
                EXPECT_EQ(view.state.unsavedChanges, changedLeft ? 1 : 0) << label;
                platform.answerNext(Platform::Answer::No);
                view.confirmClose(view.openSlots());
                EXPECT_EQ(platform.messages.size(), changedLeft ? 1 : 0) << label;
            }
}

TEST_F(ReviewWork, YesSavesEveryChangedCaseAndAFailedSaveClosesNothing)
{
    const QString a = makeArchive(dir.file("a.aed"));
    const QString b = makeArchive(dir.file("b.aed"));
    ASSERT_TRUE(openArchiveFile(view, a));
    ASSERT_TRUE(openArchiveFile(view, b));
    for (int slot : {0, 1}) {
        view.store.caseAt(slot)->lastName = QString("Name%1").arg(slot);
        view.markChanged(slot);
    }

    // The second Save dialog is cancelled: the first case is saved, nothing closes.
    platform.answerNext(Platform::Answer::Yes);
    platform.savePaths.push_back(a);
    EXPECT_FALSE(view.confirmClose(view.openSlots()));
    EXPECT_EQ(platform.saveRequests.size(), 2);
    EXPECT_EQ(readBack(a).lastName, "Name0");
    EXPECT_FALSE(view.isChanged(0));
    EXPECT_TRUE(view.isChanged(1));
    EXPECT_EQ(view.openSlots(), std::vector<int>({0, 1}));

    // Asked again, only the case still changed is saved.
    platform.saveRequests.clear();
    platform.answerNext(Platform::Answer::Yes);
    platform.savePaths.push_back(b);
    EXPECT_TRUE(view.confirmClose(view.openSlots()));
    ASSERT_EQ(platform.saveRequests.size(), 1);
    EXPECT_EQ(platform.saveRequests[0].folder, dir.file("b"));
    EXPECT_EQ(readBack(b).lastName, "Name1");
    EXPECT_EQ(view.state.unsavedChanges, 0);
}

TEST_F(ReviewWork, AdjustingAChangedCaseAsksFirstAndTheAdjustedCaseCanBeSaved)
{
    const QString a = makeArchive(dir.file("a.aed"));
    ASSERT_TRUE(openArchiveFile(view, a));
    const CTime deviceStart = view.store.caseAt(0)->startTime;
    view.store.caseAt(0)->lastName = "Typed";
    view.markChanged(0);
    select(0);

    platform.answerNext(Platform::Answer::Cancel);
    EXPECT_EQ(OpenFlow(view).AdjustCase(0, "2021-03-07 10:00:00"), OpenFlow::Outcome::Cancelled);
    EXPECT_EQ(platform.texts(), QStringList{"Unsaved changes in: a\n" + view.GetText(70)});
    EXPECT_EQ(view.store.caseAt(0)->lastName, "Typed");
    EXPECT_FALSE(view.store.at(0).timeAdjusted());

    platform.messages.clear();
    platform.answerNext(Platform::Answer::Yes);
    platform.savePaths.push_back(a);
    EXPECT_EQ(OpenFlow(view).AdjustCase(0, "2021-03-07 10:00:00"), OpenFlow::Outcome::Opened);
    const int slot = view.selSlot;
    EXPECT_EQ(view.store.caseAt(slot)->lastName, "Typed") << "saved, then read again";
    EXPECT_EQ(view.store.caseAt(slot)->startTime, CTime(2021, 3, 7, 10, 0, 0));

    // Saved after adjusting: the archive keeps the device's start, the review file the typed one.
    view.store.caseAt(slot)->lastName = "Later";
    view.markChanged(slot);
    const QString copy = dir.file("copy.aed");
    platform.savePaths.push_back(copy);
    platform.messages.clear();
    EXPECT_TRUE(SaveCase(view, slot));
    EXPECT_TRUE(platform.messages.isEmpty());
    CaseTreeFixture fresh;
    ASSERT_TRUE(openArchiveFile(fresh.view, copy));
    EXPECT_EQ(fresh.view.store.caseAt(0)->lastName, "Later");
    EXPECT_EQ(fresh.view.store.caseAt(0)->deviceStartTime, view.store.caseAt(slot)->deviceStartTime);
    EXPECT_EQ(fresh.view.store.caseAt(0)->startTime, CTime(2021, 3, 7, 10, 0, 0)) << "the marks went with it";
    EXPECT_NE(deviceStart, CTime(2021, 3, 7, 10, 0, 0)) << "the typed start differs from the device's";
}

TEST_F(ReviewWork, MarksAreKeptBesideTheArchiveWithoutSaving)
{
    const QString a = makeArchive(dir.file("a.aed"));
    ASSERT_TRUE(openArchiveFile(view, a));
    const int decodedPeriods = view.store.caseAt(0)->cprPeriods.usedCount();

    // What the ECG windows' commands do: change a table, then tell the session.
    view.store.AddCprPeriod(0, 7000, 9000, false);
    view.reviewMarksChanged(0);
    view.store.AddSegment(0, 1000, 4000);
    view.store.AddSegment(0, 5000, 6000);
    view.reviewMarksChanged(0);
    // The reviewer's reading of two pauses, one of them given back to the device.
    EXPECT_TRUE(view.setPauseCause(0, 12000, "breaths"));
    EXPECT_TRUE(view.setPauseCause(0, 30000, "airway"));
    EXPECT_TRUE(view.setPauseCause(0, 30000, ""));
    EXPECT_FALSE(view.setPauseCause(0, 40000, "coffee"));
    select(0);
    view.OnTreeMenuCommand(CommandId::MarkNotViewed);
    EXPECT_FALSE(view.isChanged(0)) << "marks need no Save";
    EXPECT_EQ(view.state.unsavedChanges, 0);
    ASSERT_TRUE(QFileInfo::exists(a + ".review.json"));
    const std::vector<ReviewMarks::Span> periods = *ReviewFile::marksOf(view.store, 0).cprPeriods;
    EXPECT_EQ(int(periods.size()), decodedPeriods + 1);

    // Back after closing, and after a save over the archive.
    for (const char *step : {"reopened", "saved and reopened"}) {
        CloseAllCases(view);
        ASSERT_TRUE(openArchiveFile(view, a)) << step;
        const ReviewMarks back = ReviewFile::marksOf(view.store, 0);
        EXPECT_EQ(*back.cprPeriods, periods) << step;
        EXPECT_EQ(*back.segments, std::vector<ReviewMarks::Span>({{1000, 4000}, {5000, 6000}})) << step;
        EXPECT_EQ(back.pauseCauses, (std::map<int32_t, QString>{{12000, "breaths"}})) << step;
        EXPECT_FALSE(view.store.at(0).viewed) << step;
        EXPECT_EQ(tree.itemImage(view.store.caseAt(0)->caseItem), TreeImage::CaseNotViewed) << step;
        platform.savePaths.push_back(a);
        view.markChanged(0);
        ASSERT_TRUE(SaveCase(view, 0)) << step;
    }
    EXPECT_TRUE(platform.messages.isEmpty());
}

// A case that no archive holds has nowhere to keep its marks: no file appears in the
// current folder (named after an empty archive path) and nothing is reported.
TEST_F(ReviewWork, MarksOfACaseWithoutAnArchiveWriteNoFile)
{
    ASSERT_TRUE(openArchiveFile(view, makeArchive(dir.file("a.aed"))));
    view.store.at(0).sourcePath.clear();
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    view.store.AddCprPeriod(0, 7000, 9000, false);
    view.reviewMarksChanged(0);
    QDir::setCurrent(previous);
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/.review.json"));
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(ReviewWork, DamagedReviewFileIsNamedOnceAndTheArchiveStillOpens)
{
    const QString a = makeArchive(dir.file("a.aed"));
    ASSERT_TRUE(openArchiveFile(view, a));
    const int decodedPeriods = view.store.caseAt(0)->cprPeriods.usedCount();
    CloseAllCases(view);

    // A companion file of the size given, beside a mark that would show if anything were applied.
    const auto companionOfSize = [](const char *size) {
        return QByteArray(R"({"version": 2, "viewed": false, "companions": [{"name": "CPR Feedback.bin", "size": )")
               + size + R"(, "sha256": ")" + QByteArray(64, 'a') + "\"}]}";
    };
    const QByteArray damaged[] = {
        "{\"version\": 1, \"cprPeriods\": [[5, 1]]}",      // end before start
        "{\"version\": 1, \"segments\": [[1, \"x\"]]}",    // not a time
        "{\"version\": 1, \"adjustedStart\": \"2021-02-30 10:00:00\"}",
        // Years no case starts in.
        "{\"version\": 1, \"adjustedStart\": \"9999-12-31 23:59:59\"}",
        "{\"version\": 1, \"adjustedStart\": \"1969-12-31 23:59:59\"}",
        "{\"version\": 7}",
        "{\"vers",
        "",
        // Times a case cannot hold, refused before they are converted.
        "{\"version\": 2, \"viewed\": false, \"cprPeriods\": [[0, 2147483648]]}",
        "{\"version\": 2, \"viewed\": false, \"segments\": [[-2147483649, 0]]}",
        "{\"version\": 2, \"viewed\": false, \"cprPeriods\": [[1e300, 1e300]]}",
        "{\"version\": 2, \"viewed\": false, \"segments\": [[-1e300, 0]]}",
        "{\"version\": 2, \"viewed\": false, \"cprPeriods\": [[0, 1e400]]}",
        "{\"version\": 2, \"viewed\": false, \"cprPeriods\": [[NaN, 0]]}",
        "{\"version\": 2, \"viewed\": false, \"segments\": [[0, Infinity]]}",
        "{\"version\": 2, \"viewed\": false, \"cprPeriods\": [[0, 0.5]]}",
        // Sizes that are not a whole number of bytes a JSON number holds exactly.
        companionOfSize("9007199254740993"),
        companionOfSize("18446744073709551616"),
        companionOfSize("1e300"),
        companionOfSize("-1"),
        companionOfSize("-9223372036854775809"),
        companionOfSize("0.5"),
        companionOfSize("\"12\""),
    };
    for (const QByteArray &bytes : damaged) {
        dir.write("a.aed.review.json", bytes);
        platform.messages.clear();
        ASSERT_TRUE(openArchiveFile(view, a)) << bytes.constData();
        ASSERT_EQ(platform.messages.size(), 1) << bytes.constData();
        EXPECT_TRUE(platform.messages[0].text.contains(a + ".review.json")) << platform.messages[0].text.toStdString();
        EXPECT_EQ(view.store.caseAt(0)->cprPeriods.usedCount(), decodedPeriods) << bytes.constData();
        EXPECT_TRUE(view.store.at(0).viewed) << bytes.constData();
        CloseAllCases(view);
    }
}

TEST_F(ReviewWork, EditAndDeleteActOnTheAnnotationTheTreeHighlights)
{
    const QString a = makeArchive(dir.file("a.aed"));
    ASSERT_TRUE(openArchiveFile(view, a));
    scriptAnnotation("early");
    ASSERT_TRUE(view.AddAnnotationAt(0, 1000));
    scriptAnnotation("late");
    ASSERT_TRUE(view.AddAnnotationAt(0, 6500));
    const int early = eventSlot(0, "A: early");
    const int late = eventSlot(0, "A: late");
    tree.click(eventItem(0, early));

    // The review position moves on (a click in the entire ECG, the playback): the tree
    // highlights the later annotation, and the commands follow the highlight.
    frame.m_tsPosition = CTimeSpan(6);
    view.OnSelectEventAtTime();
    ASSERT_EQ(tree.selectedItem(), eventItem(0, late));
    scriptAnnotation("renamed");
    view.OnTreeMenuCommand(CommandId::EditAnnotation);
    EXPECT_EQ(view.store.caseAt(0)->events[late].text, "A: renamed");
    EXPECT_EQ(view.store.caseAt(0)->events[early].text, "A: early");

    tree.click(eventItem(0, early));
    frame.m_tsPosition = CTimeSpan(6);
    view.OnSelectEventAtTime();
    view.OnTreeMenuCommand(CommandId::DeleteAnnotation);
    EXPECT_FALSE(view.store.caseAt(0)->events.isUsed(late));
    EXPECT_TRUE(view.store.caseAt(0)->events.isUsed(early));
}

TEST_F(ReviewWork, AnAnnotationAddOrEditKeepsThePlaceAndSelectsTheAnnotation)
{
    const QString a = makeArchive(dir.file("a.aed"));
    ASSERT_TRUE(openArchiveFile(view, a));
    select(0);
    frame.m_tsPosition = CTimeSpan(2);
    frame.m_bShowEnlarged = 0;
    const qsizetype before = published.size();

    scriptAnnotation("here");
    ASSERT_TRUE(view.AddAnnotationAt(0, 3000));
    const int added = eventSlot(0, "A: here");
    EXPECT_EQ(tree.selectedItem(), eventItem(0, added));
    EXPECT_EQ(view.selEvent, added);
    EXPECT_EQ(frame.m_tsPosition, CTimeSpan(2)) << "the review position stays";
    EXPECT_EQ(frame.m_bShowEnlarged, 0) << "the tab stays";
    ASSERT_GT(published.size(), before);
    EXPECT_EQ(published.last(), qMakePair(0, added)) << "the windows redraw with the new annotation";
}

TEST_F(ReviewWork, EachCaseKeepsTheEventIconsOfItsOwnModel)
{
    const QString q21 = makeArchive(dir.mkdir("Q21") + "/case.aed", rescue(DeviceFiles::Model::Q21));
    const QString q25 = makeArchive(dir.mkdir("Q25") + "/case.aed", rescue(DeviceFiles::Model::Q25));
    ASSERT_TRUE(openArchiveFile(view, q21));
    const TreeItemId firstEvent = tree.children(view.store.caseAt(0)->caseItem).front();
    const int icon = tree.itemImage(firstEvent);
    ASSERT_TRUE(openArchiveFile(view, q25));
    EXPECT_EQ(view.store.at(0).modelIndex, 0);
    EXPECT_EQ(view.store.at(1).modelIndex, 1);
    // An annotation added to the first case rebuilds its items with its own icons.
    scriptAnnotation("x");
    ASSERT_TRUE(view.AddAnnotationAt(0, 1000));
    EXPECT_EQ(tree.itemImage(tree.children(view.store.caseAt(0)->caseItem).front()), icon);
    EXPECT_NE(tree.itemImage(tree.children(view.store.caseAt(1)->caseItem).front()), icon);
}

TEST_F(ReviewWork, OpenShowsTheDialogAgainAfterAScanMetABrokenArchive)
{
    const QString root = dir.mkdir("root");
    dir.write("root/card/bad.aed", "abc");
    scriptOpenDirectory(root);
    OpenFlow(view).OnOpenRequest();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(root + "/card/bad.aed"));
    EXPECT_EQ(view.state.openMode, 0);

    const QString good = makeArchive(dir.file("good.aed"));
    scriptLoadAed(good);
    const int dialogsBefore = platform.openDialogRuns;
    OpenFlow(view).OnOpenRequest();
    EXPECT_EQ(platform.openDialogRuns, dialogsBefore + 1) << "the Open dialog, not the broken archive again";
    ASSERT_EQ(openSources(), QStringList{good});
    EXPECT_EQ(tree.selectedItem(), view.store.caseAt(0)->caseItem) << "the opened case is shown";
    EXPECT_EQ(frame.m_nSelCase, 0);
}

TEST_F(ReviewWork, ImportFromAReadOnlyCardSaysWhichFilesStay)
{
    ReadOnlyFolder card([&](const QString &path) { rescue().write(path); });
    if (!card.isLocked())
        GTEST_SKIP() << ReadOnlyFolder::skipReason().toStdString();
    scriptLoadMif(card.path());
    const QString target = dir.file("rescue.aed");
    platform.savePaths.push_back(target);

    OpenFlow(view).OnOpenRequest();

    ASSERT_EQ(openSources(), QStringList{target});
    EXPECT_EQ(tree.selectedItem(), view.store.caseAt(0)->caseItem) << "the imported case is shown";
    ASSERT_EQ(platform.messages.size(), 1);
    const QString text = platform.messages[0].text;
    EXPECT_FALSE(text.contains(view.GetText(170))) << "nothing was erased";
    EXPECT_TRUE(text.contains("could not be erased")) << text.toStdString();
    for (const QString &file : mifFilesIn(card.path()))
        EXPECT_TRUE(text.contains(card.path() + "/" + file)) << file.toStdString();
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning);
    EXPECT_EQ(mifFilesIn(card.path()).size(), 5);
}
