#pragma once

#include "base/ContextMenuTemplate.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <vector>

class CaseSession;

// Opaque handle of an item in the case tree. The tree control hands these out; the case
// data only stores them. NoTreeItem marks "no item yet" and, as a parent, the root.
using TreeItemId = quintptr;
constexpr TreeItemId NoTreeItem = 0;

// Images of the case tree's image list, 31 x 18 pixels each. Event items take
// EventImageBase + kind + EventImagesPerModel * the session's model index (0, 1, 2).
namespace TreeImage {
constexpr int Date = 0;
constexpr int Device = 1;
constexpr int CaseNotViewed = 2;
constexpr int CaseViewed = 3;
constexpr int EventImageBase = 4;
constexpr int EventImagesPerModel = 5;
constexpr int ModelCount = 3;
constexpr int Count = EventImageBase + EventImagesPerModel * ModelCount; // 19

// Kinds of event item, in image order within one model's five images.
enum class EventKind { Other = 0, Shock = 1, PowerOff = 2, Annotation = 3, PowerOn = 4 };

constexpr int eventImage(EventKind kind, int modelIndex)
{
    return EventImageBase + int(kind) + EventImagesPerModel * modelIndex;
}
} // namespace TreeImage

// A context menu the case logic asks the tree to show at the cursor: the entries of one
// submenu, already relabelled, and the commands shown greyed.
struct TreeMenu
{
    ContextSubmenu which = ContextSubmenu::Case;
    QList<MenuEntry> entries;
    QList<int> disabledCommands;
};

// The operations the case logic performs on the case tree. CADETree implements them over
// a QTreeWidget, MemoryTreeControl in memory (tests, ravelin-cli).
//
// The tree reports to its owner, the session, whenever the selected item changes, whether
// the user or the program changed it: selecting another item, or deleting the selected
// one (or a branch holding it), which selects the branch's next sibling, else its parent,
// else (a root) its previous sibling, else nothing.
class TreeControl
{
public:
    virtual ~TreeControl() = default;

    // The session that receives the selection changes and the right-button presses.
    void setOwner(CaseSession *owner) { m_owner = owner; }
    CaseSession *owner() const { return m_owner; }

    // A new item, last among parent's children (NoTreeItem: last among the roots), with
    // the image for both the normal and the selected state.
    virtual TreeItemId insertItem(TreeItemId parent, const QString &text, int image) = 0;
    // Deletes the item with everything under it.
    void deleteItem(TreeItemId item);
    // Deletes several items (with what is under them) in one step; a selection that goes
    // with them moves once, to the nearest staying sibling after its branch, else the
    // parent, else the nearest staying sibling before it.
    void deleteItems(const std::vector<TreeItemId> &items);
    // Empties the tree without reporting a selection change (the tree is being replaced).
    virtual void deleteAllItems() = 0;
    virtual void setItemImage(TreeItemId item, int image) = 0;
    virtual void expand(TreeItemId item) = 0;
    // Makes item the selected one; reports the change when it is a change.
    void selectItem(TreeItemId item);

    virtual TreeItemId selectedItem() const = 0;
    virtual TreeItemId parentOf(TreeItemId item) const = 0;
    // The children of item in order (NoTreeItem: the roots).
    virtual std::vector<TreeItemId> children(TreeItemId item) const = 0;
    virtual int childCount(TreeItemId item) const = 0;
    virtual QString itemText(TreeItemId item) const = 0;
    virtual int itemImage(TreeItemId item) const = 0;
    virtual bool isExpanded(TreeItemId item) const = 0;

    // Shows the menu at the cursor and returns the chosen command, 0 when dismissed.
    virtual int showContextMenu(const TreeMenu &menu) = 0;

protected:
    // Moves the selection without reporting it (NoTreeItem: nothing selected).
    virtual void setSelectedItem(TreeItemId item) = 0;
    // Deletes branches none of which lies under another, without reporting anything.
    virtual void removeBranches(const std::vector<TreeItemId> &tops) = 0;

    // Tell the owner what happened in the tree.
    void notifySelectionChanged(TreeItemId item);
    void notifyRightButtonPressed();

private:
    TreeItemId selectionAfterRemoval(TreeItemId top, const std::vector<TreeItemId> &tops) const;

    CaseSession *m_owner = nullptr;
};
