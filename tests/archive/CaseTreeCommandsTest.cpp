#include "archive/SaveCommand.h"
#include "case/CaseTreeFixture.h"
#include "base/CommandIds.h"
#include "base/LanguagePack.h"
#include "case/AnnotationForm.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using Answer = Platform::Answer;

const QString CheckResponse = QStringLiteral("Prompt : Check for response. Are you all right?");

QList<int> commandsOf(const TreeMenu &menu)
{
    QList<int> out;
    for (const MenuEntry &e : menu.entries)
        if (e.kind == MenuEntry::Kind::Command)
            out << e.commandId;
    return out;
}

class CaseTree : public ::testing::Test, public CaseTreeFixture
{
protected:
    // A case closed with unsaved changes is saved the way the window saves it.
    CaseTree() { view.saveCase = [this](int slot) { return SaveCase(view, slot); }; }

    // A case with events at 0 (power on), 5 s and 65 s and an annotation at 30.5 s.
    int annotatedCase(const QString &serial = QStringLiteral("SN-0042"))
    {
        const int slot = createCase(folder({{1, 5000}, {2, 65000}}));
        CaseRecord &c = *view.store.caseAt(slot);
        c.serialNumber = serial;
        c.timeZoneIndex = seoulRow();
        c.savedAnnotationCount = c.annotationChangeCount = 1;
        view.store.pendingAnnotations = {EventItem::make(30500, "A: note", "body")};
        BuildEventList(view, slot);
        return slot;
    }

    // Right-clicks and chooses command from whatever menu opens.
    void rightClickChoosing(int command)
    {
        tree.menuScript = [command](const TreeMenu &) { return command; };
        tree.pressRightButton();
    }
};

TEST_F(CaseTree, SelectionTellsTheFrameWhichCaseAndWhereToLook)
{
    const int slot = annotatedCase();
    const CaseRecord &c = *view.store.caseAt(slot);
    const int prompt = eventSlot(slot, CheckResponse);
    const int note = eventSlot(slot, "A: ");

    tree.click(eventItem(slot, prompt));
    EXPECT_EQ(published.last(), qMakePair(slot, prompt));
    EXPECT_EQ(frame.m_nSelCase, slot);
    EXPECT_EQ(frame.m_tsPosition, CTimeSpan(5));
    EXPECT_EQ(frame.m_bShowEnlarged, 1);
    EXPECT_EQ(view.state.selectedAnnotationItem, NoTreeItem);

    tree.click(eventItem(slot, note));
    EXPECT_EQ(published.last(), qMakePair(slot, note));
    EXPECT_EQ(frame.m_tsPosition, CTimeSpan(30));
    EXPECT_EQ(view.state.selectedAnnotationItem, eventItem(slot, note));

    frame.m_bShowEnlarged = 0;
    tree.click(c.caseItem);
    EXPECT_EQ(published.last(), qMakePair(slot, -1));
    EXPECT_EQ(view.state.selectedCaseItem, c.caseItem);
    EXPECT_EQ(view.state.selectedAnnotationItem, NoTreeItem);
    EXPECT_EQ(frame.m_tsPosition, CTimeSpan(0));
    EXPECT_EQ(frame.m_bShowEnlarged, 0);

    tree.click(c.deviceItem);
    EXPECT_EQ(published.last(), qMakePair(-1, -1));
    EXPECT_EQ(frame.m_nSelCase, -1);
    EXPECT_EQ(view.state.selectedCaseItem, NoTreeItem);
    EXPECT_EQ(published.size(), 4);
}

TEST_F(CaseTree, RightClickOffersTheMenuOfTheSelectedCaseOrAnnotationOnly)
{
    const int slot = annotatedCase();
    const CaseRecord &c = *view.store.caseAt(slot);

    tree.click(c.caseItem);
    tree.pressRightButton();
    ASSERT_EQ(tree.menusShown.size(), 1);
    EXPECT_EQ(commandsOf(tree.menusShown[0]),
              QList<int>({CommandId::CloseCase, CommandId::AddAnnotation, CommandId::BindCompanions,
                          CommandId::UndoAdjustment, CommandId::ReviewStatus, CommandId::MarkViewed,
                          CommandId::MarkNotViewed}));
    EXPECT_EQ(tree.menusShown[0].disabledCommands, QList<int>({CommandId::MarkViewed, CommandId::UndoAdjustment}))
        << "a start that was never adjusted has nothing to undo";

    tree.click(eventItem(slot, eventSlot(slot, "A: ")));
    tree.pressRightButton();
    ASSERT_EQ(tree.menusShown.size(), 2);
    EXPECT_EQ(commandsOf(tree.menusShown[1]), QList<int>({CommandId::EditAnnotation, CommandId::DeleteAnnotation}));

    for (TreeItemId quiet : {c.deviceItem, c.dateItem, eventItem(slot, eventSlot(slot, CheckResponse))}) {
        tree.click(quiet);
        tree.pressRightButton();
    }
    tree.click(c.caseItem);
    view.annotationDialogOpen = true;
    tree.pressRightButton();
    EXPECT_EQ(tree.menusShown.size(), 2);
}

TEST_F(CaseTree, ViewedMarksSwapTheCaseImageAndWhichMenuItemIsGreyed)
{
    const int slot = annotatedCase();
    const TreeItemId caseNode = view.store.caseAt(slot)->caseItem;
    tree.click(caseNode);

    rightClickChoosing(CommandId::MarkNotViewed);
    EXPECT_FALSE(view.store.at(slot).viewed);
    EXPECT_EQ(tree.itemImage(caseNode), TreeImage::CaseNotViewed);
    rightClickChoosing(CommandId::MarkViewed);
    EXPECT_EQ(tree.menusShown.last().disabledCommands, QList<int>({CommandId::MarkNotViewed, CommandId::UndoAdjustment}));
    EXPECT_TRUE(view.store.at(slot).viewed);
    EXPECT_EQ(tree.itemImage(caseNode), TreeImage::CaseViewed);
}

TEST_F(CaseTree, ItalianCaseMenuEndsWithTheReaddedViewedItems)
{
    texts.setLanguage(2);
    const int slot = annotatedCase();
    tree.click(view.store.caseAt(slot)->caseItem);
    tree.pressRightButton();
    ASSERT_EQ(tree.menusShown.size(), 1);
    const QList<MenuEntry> &entries = tree.menusShown[0].entries;
    ASSERT_EQ(entries.size(), 8);
    EXPECT_EQ(commandsOf(tree.menusShown[0]),
              QList<int>({CommandId::CloseCase, CommandId::AddAnnotation, CommandId::BindCompanions,
                          CommandId::UndoAdjustment, CommandId::ReviewStatus, CommandId::MarkViewed,
                          CommandId::MarkNotViewed}));
    EXPECT_EQ(entries[6].text, ContextMenus::ItalianMarkViewedText);
    EXPECT_EQ(entries[7].text, ContextMenus::ItalianMarkNotViewedText);
}

TEST_F(CaseTree, ClosingRemovesTheNodesNoOtherCaseUses)
{
    const int first = openCase(folder(), "SN-A");
    const int second = openCase(folder({}, DeviceFiles::EcgHeader{21, 3, 7, 11, 0, 0}), "SN-A");
    const int other = openCase(folder(), "SN-B");
    const int lone = openCase(folder({}, DeviceFiles::EcgHeader{21, 3, 9, 8, 0, 0}), "SN-C");

    view.OnCloseCase(first);
    EXPECT_EQ(tree.lines(), QStringList({"2021-03-07", "  SN-A", "    2021-03-07 11:00:00(UTC+09:00)",
                                         "      11:00:00 Power on.", "  SN-B", "    2021-03-07 09:05:00(UTC+09:00)",
                                         "      09:05:00 Power on.", "2021-03-09", "  SN-C",
                                         "    2021-03-09 08:00:00(UTC+09:00)", "      08:00:00 Power on."}));
    EXPECT_FALSE(view.store.isSlotUsed(first));

    // The only case of a device and of a date takes both nodes with it; the only case of a
    // device on a shared date takes its device node.
    view.OnCloseCase(lone);
    view.OnCloseCase(second);
    EXPECT_EQ(tree.lines(), QStringList({"2021-03-07", "  SN-B", "    2021-03-07 09:05:00(UTC+09:00)",
                                         "      09:05:00 Power on."}));
    view.OnCloseCase(other);
    EXPECT_EQ(tree.itemCount(), 0);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(CaseTree, ClosingTheSelectedCaseMovesTheSelectionAndTellsTheFrame)
{
    const int first = openCase(folder(), "SN-A");
    const int second = openCase(folder({}, DeviceFiles::EcgHeader{21, 3, 7, 11, 0, 0}), "SN-A");
    tree.click(view.store.caseAt(first)->caseItem);

    view.OnCloseCase(first);
    EXPECT_EQ(tree.selectedItem(), view.store.caseAt(second)->caseItem);
    EXPECT_EQ(frame.m_nSelCase, second);

    tree.click(eventItem(second, 0));
    view.OnCloseCase(second);
    EXPECT_EQ(tree.selectedItem(), NoTreeItem);
    EXPECT_EQ(published.last(), qMakePair(-1, -1));
    EXPECT_EQ(frame.m_nSelCase, -1);
}

TEST_F(CaseTree, DeletingAnAnnotationCountsAsAnUnsavedChange)
{
    const int slot = annotatedCase();
    const int note = eventSlot(slot, "A: ");
    const CaseRecord &c = *view.store.caseAt(slot);
    const int eventCount = c.events.count();
    tree.click(eventItem(slot, note));

    rightClickChoosing(CommandId::DeleteAnnotation);
    EXPECT_FALSE(c.events.isUsed(note));
    EXPECT_EQ(c.events.count(), eventCount);
    EXPECT_EQ(c.annotationChangeCount, 2);
    EXPECT_EQ(view.state.unsavedChanges, 1);
    EXPECT_EQ(eventLines(slot), QStringList({"09:05:00 Power on.", "09:05:05 " + CheckResponse,
                                             "09:06:05 Prompt : Call for help."}));
    // The selection went to the next event.
    EXPECT_EQ(published.last(), qMakePair(slot, eventSlot(slot, "Prompt : Call")));

    tree.click(c.caseItem);
    rightClickChoosing(CommandId::CloseCase);
    // A case without an archive goes by its label in the tree.
    EXPECT_EQ(platform.texts(), QStringList({"Unsaved changes in: 2021-03-07 09:05:00(UTC+09:00)\n"
                                             "This case has unsaved changes. Save changes before proceeding?"}));
    EXPECT_TRUE(view.store.isSlotUsed(slot)); // unanswered: cancelled
}

TEST_F(CaseTree, ClosingWithUnsavedChangesAsksAndCancelKeepsTheCase)
{
    struct Case { Answer answer; QString savePath; bool closed; bool written; };
    const Case cases[] = {
        {Answer::Cancel, {}, false, false},
        {Answer::No, {}, true, false},
        {Answer::Yes, {}, false, false},         // the save dialog was cancelled
        {Answer::Yes, "saved.aed", true, true},
    };
    for (const Case &k : cases) {
        CaseTreeFixture f;
        f.view.saveCase = [&f](int slot) { return SaveCase(f.view, slot); };
        const int other = f.openCase(f.folder(), "SN-B");
        const int slot = f.openCase(f.folder({{1, 5000}}), "SN-A");
        f.view.store.at(slot).sourcePath = QStringLiteral("Q26_0905(2021-03-07).aed");
        f.view.markChanged(slot); // as after a deleted annotation
        f.tree.click(f.view.store.caseAt(other)->caseItem);
        f.platform.answerNext(k.answer);
        if (!k.savePath.isEmpty())
            f.platform.savePaths.push_back(f.dir.file(k.savePath));

        f.view.OnCloseCase(slot);
        ASSERT_EQ(f.platform.messages.size(), 1);
        // Only the case being closed is named.
        EXPECT_EQ(f.platform.messages[0].text, "Unsaved changes in: Q26_0905(2021-03-07)\n"
                                               "This case has unsaved changes. Save changes before proceeding?");
        EXPECT_EQ(f.platform.messages[0].buttons, Platform::Buttons::YesNoCancel);
        EXPECT_EQ(f.platform.messages[0].icon, Platform::Icon::Question);
        EXPECT_EQ(f.view.store.isSlotUsed(slot), !k.closed);
        EXPECT_EQ(f.tree.lines().size(), k.closed ? 4 : 8);
        EXPECT_EQ(QFileInfo::exists(f.dir.file("saved.aed")), k.written);
        // Save writes the case being closed, whatever was selected.
        if (k.answer == Answer::Yes) {
            EXPECT_EQ(f.platform.saveRequests.value(0).folder, "Q26_0905(2021-03-07)");
        }
    }
}

TEST_F(CaseTree, SelectingAtTheReviewPositionPicksTheLatestEventNotAfterIt)
{
    const int slot = createCase(folder({{1, 5000}, {2, 5400}, {3, 65000}}));
    view.store.caseAt(slot)->timeZoneIndex = seoulRow();
    BuildEventList(view, slot);
    tree.click(view.store.caseAt(slot)->caseItem);
    const int before = int(published.size());

    struct Case { int64_t position; int event; };
    // Events 1 and 2 share second 5: the first in slot order wins.
    const Case cases[] = {{4, 0}, {5, 1}, {64, 1}, {65, 3}, {10 * 86400 + 64, 3}, {10 * 86400 + 65, -1}};
    for (const Case &k : cases) {
        tree.click(view.store.caseAt(slot)->caseItem);
        frame.m_tsPosition = CTimeSpan(k.position);
        view.OnSelectEventAtTime();
        const TreeItemId expected = k.event < 0 ? view.store.caseAt(slot)->caseItem : eventItem(slot, k.event);
        EXPECT_EQ(tree.selectedItem(), expected) << k.position;
        EXPECT_FALSE(view.suppressSelectionNotify);
    }
    // The view's own selections are not published; the clicks back on the case node are.
    EXPECT_EQ(int(published.size()) - before, 5);
}

TEST_F(CaseTree, NothingIsSelectedForAPositionBeforeTheFirstEventOrWithoutACase)
{
    const int slot = openCase(folder({{1, 5000}}));
    tree.deleteItem(eventItem(slot, 0)); // no "Power on." at 0: the first event is at 5 s
    view.store.caseAt(slot)->events.remove(0);
    tree.click(view.store.caseAt(slot)->caseItem);

    frame.m_tsPosition = CTimeSpan(4);
    view.OnSelectEventAtTime();
    EXPECT_EQ(tree.selectedItem(), view.store.caseAt(slot)->caseItem);

    frame.m_nSelCase = -1;
    frame.m_tsPosition = CTimeSpan(6);
    view.OnSelectEventAtTime();
    EXPECT_EQ(tree.selectedItem(), view.store.caseAt(slot)->caseItem);
}

} // namespace
