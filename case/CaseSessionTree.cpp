// The session's side of the case tree: what a selection means for the review, the case and
// annotation menus and their commands, and the annotation dialog.
#include "base/CommandIds.h"
#include "case/AuditAction.h"
#include "base/ContextMenuTemplate.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "case/AnnotationForm.h"
#include "case/CaseSession.h"
#include "case/EventListText.h"

#include <algorithm>

namespace {
// Events further than this before the review position are not picked for it.
constexpr CTimeSpan SelectEventReach(10 * 86400);

bool isAnnotation(const EventItem &e)
{
    return e.text.startsWith(QLatin1String("A: "));
}
} // namespace

void CaseSession::setTree(TreeControl *caseTree)
{
    tree = caseTree;
    if (tree)
        tree->setOwner(this);
}

void CaseSession::ClearCaseTree()
{
    if (tree)
        tree->deleteAllItems();
    // Cases still open (the caller frees them next) keep no handle of a deleted item.
    for (int slot = 0; slot < store.slotCount(); ++slot) {
        if (CaseRecord *c = store.caseAt(slot)) {
            c->dateItem = c->deviceItem = c->caseItem = NoTreeItem;
            c->events.forEachUsed([](int, EventItem &e) { e.treeItem = NoTreeItem; });
        }
    }
    state.selectedCaseItem = NoTreeItem;
    state.selectedAnnotationItem = NoTreeItem;
    selSlot = -1;
    selEvent = -1;
}

void CaseSession::setReviewState(ReviewState &frameState, std::function<void(int, int)> selectionChanged)
{
    m_review = &frameState;
    m_selectionChanged = std::move(selectionChanged);
}

void CaseSession::publishSelection()
{
    if (m_selectionChanged) {
        m_selectionChanged(selSlot, selEvent);
        return;
    }
    m_review->m_nSelCase = selSlot;
    m_review->m_bSelChanged = 1;
}

void CaseSession::OnTreeSelectionChanged(TreeItemId item)
{
    if (m_quietTree > 0)
        return;
    if (suppressSelectionNotify) {
        suppressSelectionNotify = false;
        return;
    }
    // Only a case node keeps selectedCaseItem and only an annotation item keeps
    // selectedAnnotationItem, so a menu never opens for an item that is no longer selected.
    state.selectedCaseItem = NoTreeItem;
    state.selectedAnnotationItem = NoTreeItem;
    if (item == NoTreeItem) {
        // Nothing is selected any more (the last items went): no case is.
        selSlot = -1;
        selEvent = -1;
        m_review->m_tsPosition = CTimeSpan();
        publishSelection();
        return;
    }

    bool caseMatched = false;
    bool eventMatched = false;
    for (int q = 0; q < store.slotCount() && !eventMatched; ++q) {
        const CaseRecord *c = store.caseAt(q);
        if (!c)
            continue;
        if (!caseMatched) {
            if (item == c->dateItem || item == c->deviceItem) {
                selSlot = -1;
                selEvent = -1;
                m_review->m_tsPosition = CTimeSpan();
            } else if (item == c->caseItem) {
                state.selectedCaseItem = item;
                selSlot = q;
                selEvent = -1;
                m_review->m_tsPosition = CTimeSpan();
                caseMatched = true;
            }
        }
        c->events.forEachUsed([&](int p, const EventItem &e) {
            if (eventMatched || e.treeItem != item)
                return;
            eventMatched = true;
            selSlot = q;
            selEvent = p;
            m_review->m_tsPosition = e.elapsed;
            m_review->m_bShowEnlarged = 1;
            if (isAnnotation(e))
                state.selectedAnnotationItem = item;
        });
    }
    publishSelection();
}

void CaseSession::selectAsClicked(TreeItemId item)
{
    if (!tree || item == NoTreeItem)
        return;
    suppressSelectionNotify = false;
    if (tree->selectedItem() == item)
        OnTreeSelectionChanged(item);
    else
        tree->selectItem(item);
}

void CaseSession::OnShowCaseMenu()
{
    if (!tree || annotationDialogOpen)
        return;
    const TreeItemId caseNode = state.selectedCaseItem;
    const TreeItemId annotationItem = state.selectedAnnotationItem;
    TreeMenu menu;
    bool found = false;
    for (int i = 0; i < store.slotCount() && !found; ++i) {
        const CaseRecord *c = store.caseAt(i);
        if (!c)
            continue;
        if (caseNode != NoTreeItem && caseNode == c->caseItem) {
            menu = {ContextSubmenu::Case, ContextMenus::submenu(m_texts, ContextSubmenu::Case),
                    {store.at(i).viewed ? CommandId::MarkViewed : CommandId::MarkNotViewed}};
            // A read-only case is viewed, not marked; only an adjusted start can be undone.
            if (isReadOnly(i))
                menu.disabledCommands << CommandId::MarkViewed << CommandId::MarkNotViewed << CommandId::AddAnnotation
                                      << CommandId::BindCompanions << CommandId::UndoAdjustment;
            else if (!store.at(i).timeAdjusted())
                menu.disabledCommands << CommandId::UndoAdjustment;
            found = true;
        }
        c->events.forEachUsed([&](int, const EventItem &e) {
            if (!found && annotationItem != NoTreeItem && e.treeItem == annotationItem) {
                menu = {ContextSubmenu::Annotation, ContextMenus::submenu(m_texts, ContextSubmenu::Annotation), {}};
                if (isReadOnly(i))
                    menu.disabledCommands = {CommandId::AddAnnotation, CommandId::EditAnnotation, CommandId::DeleteAnnotation};
                found = true;
            }
        });
    }
    if (found)
        OnTreeMenuCommand(tree->showContextMenu(menu));
}

bool CaseSession::highlightedItem(int &slot, int &event) const
{
    const TreeItemId item = tree ? tree->selectedItem() : NoTreeItem;
    if (item == NoTreeItem)
        return false;
    for (int q = 0; q < store.slotCount(); ++q) {
        const CaseRecord *c = store.caseAt(q);
        if (!c)
            continue;
        if (item == c->caseItem) {
            slot = q;
            event = -1;
            return true;
        }
        bool found = false;
        c->events.forEachUsed([&](int p, const EventItem &e) {
            if (!found && e.treeItem == item) {
                found = true;
                slot = q;
                event = p;
            }
        });
        if (found)
            return true;
    }
    return false;
}

void CaseSession::OnTreeMenuCommand(int commandId)
{
    // The commands act on what the tree highlights now: the position (a click in the
    // entire ECG, the playback, a tab change) may have moved the highlight since the last
    // selection the tree reported.
    int slot = selSlot;
    int event = selEvent;
    highlightedItem(slot, event);
    switch (commandId) {
    case CommandId::CloseCase: OnCloseCase(slot); break;
    case CommandId::MarkViewed: OnMarkViewed(slot); break;
    case CommandId::MarkNotViewed: OnMarkNotViewed(slot); break;
    case CommandId::BindCompanions:
        if (bindCompanions && store.caseAt(slot) && !isReadOnly(slot))
            bindCompanions(slot);
        break;
    case CommandId::UndoAdjustment:
        if (undoAdjustment && store.caseAt(slot) && !isReadOnly(slot) && store.at(slot).timeAdjusted())
            undoAdjustment(slot);
        break;
    case CommandId::ReviewStatus:
        if (changeReviewStatus && store.caseAt(slot))
            changeReviewStatus(slot);
        break;
    case CommandId::AddAnnotation: OnAddAnnotation(slot); break;
    case CommandId::EditAnnotation: OnEditAnnotation(slot, event); break;
    case CommandId::DeleteAnnotation: OnDeleteAnnotation(slot, event); break;
    default: break;
    }
}

void CaseSession::OnCloseCase(int slot)
{
    if (!store.caseAt(slot) || !confirmClose({slot}))
        return;
    CloseCase(slot);
}

void CaseSession::CloseCase(int slot)
{
    CaseRecord *c = store.caseAt(slot);
    if (!c)
        return;

    const TreeItemId caseNode = c->caseItem;
    const TreeItemId deviceNode = c->deviceItem;
    const TreeItemId dateNode = c->dateItem;
    if (tree && caseNode != NoTreeItem)
        tree->deleteItem(caseNode);
    c->events.clear();

    bool sharedDevice = false;
    bool sharedDate = false;
    for (int q = 0; q < store.slotCount(); ++q) {
        const CaseRecord *other = store.caseAt(q);
        if (q == slot || !other)
            continue;
        sharedDevice = sharedDevice || (deviceNode != NoTreeItem && other->deviceItem == deviceNode);
        sharedDate = sharedDate || (dateNode != NoTreeItem && other->dateItem == dateNode);
    }
    // A node that no other case uses goes with the case, so no empty device node stays
    // behind to be doubled by the next case of that device.
    if (tree && deviceNode != NoTreeItem && !sharedDevice)
        tree->deleteItem(deviceNode);
    if (tree && dateNode != NoTreeItem && !sharedDate)
        tree->deleteItem(dateNode);
    store.FreeCase(slot);
    refreshUnsavedFlag();
}

void CaseSession::OnMarkViewed(int slot)
{
    if (CaseRecord *c = store.caseAt(slot); c && !isReadOnly(slot)) {
        store.at(slot).viewed = true;
        if (tree)
            tree->setItemImage(c->caseItem, TreeImage::CaseViewed);
        reviewMarksChanged(slot);
    }
}

void CaseSession::OnMarkNotViewed(int slot)
{
    if (CaseRecord *c = store.caseAt(slot); c && !isReadOnly(slot)) {
        store.at(slot).viewed = false;
        if (tree)
            tree->setItemImage(c->caseItem, TreeImage::CaseNotViewed);
        reviewMarksChanged(slot);
    }
}

void CaseSession::OnRebuildEvents(int slot, int event)
{
    CaseRecord *c = store.caseAt(slot);
    if (!c)
        return;
    std::vector<TreeItemId> items;
    items.reserve(size_t(c->events.usedCount()));
    c->events.forEachUsed([&](int, EventItem &e) {
        items.push_back(e.treeItem);
        e.treeItem = NoTreeItem;
    });
    // With an event to show, the items going and coming are not selections of the reviewer:
    // the review position and the tab stay. Without one, the tree's own move is published.
    const EventItem *shown = c->events.find(event);
    const int quiet = shown ? 1 : 0;
    m_quietTree += quiet;
    if (tree)
        tree->deleteItems(items);
    InsertEventItems(slot);
    if (tree && shown && shown->treeItem != NoTreeItem) {
        tree->selectItem(shown->treeItem);
        selSlot = slot;
        selEvent = event;
        state.selectedCaseItem = NoTreeItem;
        state.selectedAnnotationItem = isAnnotation(*shown) ? shown->treeItem : NoTreeItem;
    }
    m_quietTree -= quiet;
    // The windows redraw what changed; the position and the tab stay where they were.
    if (shown)
        publishSelection();
}

void CaseSession::OnDeleteAnnotation(int slot, int event)
{
    CaseRecord *c = store.caseAt(slot);
    if (!c || isReadOnly(slot) || !c->events.isUsed(event) || !isAnnotation(c->events[event]))
        return;
    const TreeItemId item = c->events[event].treeItem;
    if (tree && item != NoTreeItem)
        tree->deleteItem(item);
    const int32_t timeMs = c->events[event].timeMs;
    c->events.remove(event);
    c->annotationChangeCount += 1;
    markChanged(slot);
    audit(slot, AuditAction::AnnotationDeleted, annotationAuditDetails(timeMs));
}

void CaseSession::OnSelectEventAtTime()
{
    const int slot = m_review->m_nSelCase;
    const CaseRecord *c = store.caseAt(slot);
    if (!c || !tree)
        return;
    const CTimeSpan position = m_review->m_tsPosition;
    const EventItem *best = nullptr;
    int bestSlot = -1;
    CTimeSpan bestDistance = SelectEventReach;
    c->events.forEachUsed([&](int p, const EventItem &e) {
        if (e.elapsed > position)
            return;
        const CTimeSpan distance = position - e.elapsed;
        if (distance < bestDistance) {
            best = &e;
            bestSlot = p;
            bestDistance = distance;
        }
    });
    if (!best || best->treeItem == NoTreeItem)
        return;
    suppressSelectionNotify = true;
    tree->selectItem(best->treeItem);
    suppressSelectionNotify = false;
    // The highlight is the selection the menus and commands act on.
    selSlot = slot;
    selEvent = bestSlot;
    state.selectedCaseItem = NoTreeItem;
    state.selectedAnnotationItem = isAnnotation(*best) ? best->treeItem : NoTreeItem;
}

void CaseSession::OnAddAnnotation(int slot)
{
    runAnnotationDialog(slot, AnnotationForm::AddFromTree, 0);
}

void CaseSession::OnEditAnnotation(int slot, int event)
{
    const CaseRecord *c = store.caseAt(slot);
    if (c && c->events.isUsed(event) && isAnnotation(c->events[event]))
        runAnnotationDialog(slot, AnnotationForm::Edit, event);
}

bool CaseSession::AddAnnotationAt(int slot, int32_t timeMs)
{
    return runAnnotationDialog(slot, AnnotationForm::AddAtTime, timeMs);
}

bool CaseSession::runAnnotationDialog(int slot, int mode, int32_t value)
{
    if (!store.caseAt(slot) || isReadOnly(slot))
        return false;
    AnnotationForm form(*this, slot, mode, value);
    annotationDialogOpen = true;
    const bool accepted = m_platform.runAnnotationDialog(form);
    annotationDialogOpen = false;
    return accepted && form.stored();
}

void CaseSession::InsertEventItems(int slot)
{
    CaseRecord *c = store.caseAt(slot);
    if (!c || !tree)
        return;

    // Used slots in ascending order, then a stable sort by time: simultaneous events keep
    // the order in which they were added.
    std::vector<int> order;
    order.reserve(size_t(c->events.usedCount()));
    c->events.forEachUsed([&](int i, const EventItem &) { order.push_back(i); });
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return c->events[a].timeMs < c->events[b].timeMs; });

    const EventListText::EventKindTexts kindTexts = EventListText::EventKindTexts::from(m_texts);
    for (int i : order) {
        EventItem &e = c->events[i];
        const QString text = EventListText::clockLabel(c->startTimeValid, c->startTime, e.elapsed) + e.text;
        const int image = TreeImage::eventImage(EventListText::eventKind(e.text, kindTexts), store.at(slot).modelIndex);
        e.treeItem = tree->insertItem(c->caseItem, text, image);
    }
}
