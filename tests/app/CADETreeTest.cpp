#include "case/CaseTreeFixture.h"
#include "base/CommandIds.h"
#include "base/ContextMenuBuilder.h"
#include "app/CADETree.h"
#include "app/CaseTreeIcons.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Every item of a tree in order, indented by two blanks per level.
void appendLines(const TreeControl &tree, TreeItemId item, int depth, QStringList &out)
{
    for (TreeItemId kid : tree.children(item)) {
        out << QString(depth * 2, QLatin1Char(' ')) + tree.itemText(kid);
        appendLines(tree, kid, depth + 1, out);
    }
}
QStringList linesOf(const TreeControl &tree)
{
    QStringList out;
    appendLines(tree, NoTreeItem, 0, out);
    return out;
}

// The view over the real widget, shown offscreen.
class CADETreeWidget : public ::testing::Test, public CaseTreeFixture
{
protected:
    CADETree widget;

    CADETreeWidget()
    {
        view.setTree(&widget);
        widget.resize(500, 700);
        widget.show();
    }

    void mousePress(TreeItemId item, Qt::MouseButton button)
    {
        const QPoint at = widget.visualItemRect(CADETree::itemOf(item)).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, widget.viewport()->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(widget.viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, widget.viewport()->mapToGlobal(at), button,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget.viewport(), &release);
    }
};

TEST_F(CADETreeWidget, ShowsTheBranchesWithTheirIconsExpanded)
{
    const int first = createCase(folder());
    view.store.at(first).modelIndex = 2;
    view.store.caseAt(first)->serialNumber = "SN-A";
    view.store.caseAt(first)->timeZoneIndex = seoulRow();
    view.store.AddEvent(first, 4000, "Prompt : Shock delivered.", "");
    BuildEventList(view, first);
    openCase(folder({}, DeviceFiles::EcgHeader{21, 3, 7, 10, 0, 0}), "SN-A");
    QCoreApplication::processEvents();

    EXPECT_EQ(linesOf(widget), QStringList({"2021-03-07", "  SN-A", "    2021-03-07 09:05:00(UTC+09:00)",
                                            "      09:05:00 Power on.", "      09:05:04 Prompt : Shock delivered.",
                                            "    2021-03-07 10:00:00(UTC+09:00)", "      10:00:00 Power on."}));
    EXPECT_EQ(widget.iconSize(), QSize(31, 18));
    const CaseRecord &c = *view.store.caseAt(first);
    EXPECT_EQ(widget.itemImage(c.caseItem), TreeImage::CaseViewed);
    EXPECT_EQ(widget.itemImage(eventItem(first, 0)), TreeImage::eventImage(TreeImage::EventKind::Shock, 2));
    for (TreeItemId item : {c.dateItem, c.deviceItem, c.caseItem, eventItem(first, 0)})
        EXPECT_FALSE(CADETree::itemOf(item)->icon(0).isNull());
    for (TreeItemId item : {c.dateItem, c.deviceItem, c.caseItem})
        EXPECT_TRUE(widget.isExpanded(item));
    EXPECT_TRUE(published.isEmpty());

    // A tree emptied for new cases still leaves the choice to the reviewer.
    view.ClearCaseTree();
    widget.clearFocus();
    openCase(folder());
    widget.setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(published.isEmpty());
    EXPECT_EQ(widget.currentItem(), nullptr);
}

TEST_F(CADETreeWidget, ClicksPublishTheSelectionAndARightClickKeepsIt)
{
    const int slot = openCase(folder({{1, 5000}}));
    QCoreApplication::processEvents();

    mousePress(eventItem(slot, 1), Qt::LeftButton);
    EXPECT_EQ(published.last(), qMakePair(slot, 1));
    EXPECT_EQ(frame.m_tsPosition, CTimeSpan(5));
    EXPECT_EQ(frame.m_bShowEnlarged, 1);

    mousePress(view.store.caseAt(slot)->caseItem, Qt::LeftButton);
    EXPECT_EQ(published.last(), qMakePair(slot, -1));

    QList<QPair<int, bool>> shownActions;
    widget.menuRunner = [&](QMenu &menu) {
        for (QAction *a : menu.actions())
            if (!a->isSeparator())
                shownActions.append({ContextMenuBuilder::commandOf(a), a->isEnabled()});
        return 0;
    };
    const int publishedBefore = int(published.size());
    mousePress(eventItem(slot, 0), Qt::RightButton);
    EXPECT_EQ(shownActions, (QList<QPair<int, bool>>{{CommandId::CloseCase, true},
                                                     {CommandId::AddAnnotation, true},
                                                     {CommandId::BindCompanions, true},
                                                     {CommandId::UndoAdjustment, false},
                                                     {CommandId::ReviewStatus, true},
                                                     {CommandId::MarkViewed, false},
                                                     {CommandId::MarkNotViewed, true}}));
    EXPECT_EQ(widget.selectedItem(), view.store.caseAt(slot)->caseItem);
    EXPECT_EQ(published.size(), publishedBefore);
}

TEST_F(CADETreeWidget, CloseFromTheMenuEmptiesTheWidget)
{
    const int slot = openCase(folder({{1, 5000}}));
    widget.setCurrentItem(CADETree::itemOf(view.store.caseAt(slot)->caseItem));
    widget.menuRunner = [](QMenu &) { return CommandId::CloseCase; };
    mousePress(view.store.caseAt(slot)->caseItem, Qt::RightButton);
    EXPECT_EQ(widget.topLevelItemCount(), 0);
    EXPECT_FALSE(view.store.isSlotUsed(slot));
    EXPECT_EQ(frame.m_nSelCase, -1);
}

TEST_F(CADETreeWidget, RebuildReplacesTheEventItemsAndSelectsTheCaseNodeOnce)
{
    const int slot = openCase(folder({{1, 5000}, {2, 6000}}));
    widget.setCurrentItem(CADETree::itemOf(eventItem(slot, 1)));
    const int before = int(published.size());
    view.store.AddEvent(slot, 5500, "A: new", "");
    view.OnRebuildEvents(slot);

    EXPECT_EQ(widget.childCount(view.store.caseAt(slot)->caseItem), 4);
    EXPECT_EQ(widget.itemText(eventItem(slot, 3)), "09:05:05 A: new");
    EXPECT_EQ(widget.selectedItem(), view.store.caseAt(slot)->caseItem);
    EXPECT_EQ(published.size(), before + 1);
}

// The widget and the in-memory tree move the selection alike when items go.
TEST(TreeControls, DeletingTheSelectionMovesItAlike)
{
    struct Step { const char *select; std::vector<const char *> remove; const char *expected; };
    const Step steps[] = {
        {"b2", {"b2"}, "b3"},       // next sibling
        {"b3", {"b3"}, "b"},        // last child: the parent
        {"c", {"c"}, "b"},          // last root: the previous root
        {"b1", {"b"}, "a"},         // a branch holding it, last root: previous root
        {"a1", {"a1", "a2"}, "a3"}, // two at once: the sibling that stays
        {"a3", {"a3"}, "a"},        // the last child: the parent
        {"a", {"a"}, ""},           // the only item left
    };
    for (bool widget : {false, true}) {
        std::unique_ptr<TreeControl> tree;
        if (widget)
            tree = std::make_unique<CADETree>();
        else
            tree = std::make_unique<MemoryTreeControl>();
        QHash<QString, TreeItemId> ids;
        for (const char *root : {"a", "b", "c"}) {
            ids[root] = tree->insertItem(NoTreeItem, root, 0);
            for (int k = 1; k <= 3; ++k)
                ids[root + QString::number(k)] = tree->insertItem(ids[root], root + QString::number(k), 4);
        }
        for (const Step &s : steps) {
            tree->selectItem(ids[s.select]);
            std::vector<TreeItemId> gone;
            for (const char *r : s.remove)
                gone.push_back(ids[r]);
            tree->deleteItems(gone);
            EXPECT_EQ(tree->itemText(tree->selectedItem()), s.expected) << (widget ? "widget " : "memory ") << s.select;
        }
    }
}

TEST(CaseTreeIcons, NineteenDistinctImagesWithTheModelsToldApart)
{
    const QList<QImage> images = CaseTreeIcons::images();
    ASSERT_EQ(images.size(), 19);
    for (int i = 0; i < images.size(); ++i) {
        EXPECT_EQ(images[i].size(), QSize(31, 18)) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(images[i], images[j]) << i << " " << j;
    }
    // The tile's left edge carries the model's colour for every kind, and the three
    // colours are far apart.
    const auto edge = [&](int model, int kind) { return images[4 + 5 * model + kind].pixelColor(1, 9); };
    const auto distance = [](const QColor &a, const QColor &b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    for (int model = 0; model < 3; ++model) {
        for (int kind = 1; kind < 5; ++kind)
            EXPECT_EQ(edge(model, kind), edge(model, 0)) << model << " " << kind;
        for (int other = 0; other < model; ++other)
            EXPECT_GT(distance(edge(model, 0), edge(other, 0)), 150) << model << " " << other;
    }
}

} // namespace
