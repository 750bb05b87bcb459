#include "case/TreeControl.h"

#include "case/CaseSession.h"

#include <algorithm>
#include <unordered_set>

void TreeControl::selectItem(TreeItemId item)
{
    if (item == selectedItem())
        return;
    setSelectedItem(item);
    notifySelectionChanged(item);
}

void TreeControl::deleteItem(TreeItemId item)
{
    deleteItems({item});
}

void TreeControl::deleteItems(const std::vector<TreeItemId> &items)
{
    const std::unordered_set<TreeItemId> gone(items.begin(), items.end());
    const auto underGone = [&](TreeItemId item) {
        for (TreeItemId up = parentOf(item); up != NoTreeItem; up = parentOf(up))
            if (gone.count(up))
                return true;
        return false;
    };

    std::vector<TreeItemId> tops;
    tops.reserve(items.size());
    std::unordered_set<TreeItemId> seen;
    for (TreeItemId item : items)
        if (item != NoTreeItem && seen.insert(item).second && !underGone(item))
            tops.push_back(item);
    if (tops.empty())
        return;

    // The branch that holds the selection, if any: the highest deleted item above it.
    TreeItemId selectedTop = NoTreeItem;
    for (TreeItemId up = selectedItem(); up != NoTreeItem; up = parentOf(up))
        if (gone.count(up))
            selectedTop = up;

    if (selectedTop == NoTreeItem) {
        removeBranches(tops);
        return;
    }
    const TreeItemId next = selectionAfterRemoval(selectedTop, tops);
    setSelectedItem(NoTreeItem);
    removeBranches(tops);
    setSelectedItem(next);
    notifySelectionChanged(next);
}

TreeItemId TreeControl::selectionAfterRemoval(TreeItemId top, const std::vector<TreeItemId> &tops) const
{
    const std::unordered_set<TreeItemId> gone(tops.begin(), tops.end());
    const TreeItemId parent = parentOf(top);
    const std::vector<TreeItemId> siblings = children(parent);
    const auto at = std::find(siblings.begin(), siblings.end(), top);
    const auto after = std::find_if(at, siblings.end(), [&](TreeItemId s) { return !gone.count(s); });
    if (after != siblings.end())
        return *after;
    if (parent != NoTreeItem)
        return parent;
    const auto before = std::find_if(std::make_reverse_iterator(at), siblings.rend(),
                                     [&](TreeItemId s) { return !gone.count(s); });
    return before != siblings.rend() ? *before : NoTreeItem;
}

void TreeControl::notifySelectionChanged(TreeItemId item)
{
    if (m_owner)
        m_owner->OnTreeSelectionChanged(item);
}

void TreeControl::notifyRightButtonPressed()
{
    if (m_owner)
        m_owner->OnShowCaseMenu();
}
