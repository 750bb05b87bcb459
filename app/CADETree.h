#pragma once

#include "case/TreeControl.h"

#include <QIcon>
#include <QList>
#include <QTreeWidget>
#include <functional>

class QMenu;

// The case tree in the left pane: per open case a date node, a device node, a case node
// and one item per event. A handle is the item's QTreeWidgetItem pointer. The current
// item is the selected one; its changes, by the user or the program, go to the owner
// view, and so does a right-button press, which leaves the selection as it was (the
// menus refer to the item selected before the click).
class CADETree : public QTreeWidget, public TreeControl
{
    Q_OBJECT
public:
    explicit CADETree(QWidget *parent = nullptr);
    ~CADETree() override;

    static QTreeWidgetItem *itemOf(TreeItemId id) { return reinterpret_cast<QTreeWidgetItem *>(id); }
    static TreeItemId idOf(const QTreeWidgetItem *item) { return reinterpret_cast<TreeItemId>(item); }

    TreeItemId insertItem(TreeItemId parent, const QString &text, int image) override;
    void deleteAllItems() override;
    void setItemImage(TreeItemId item, int image) override;
    void expand(TreeItemId item) override;

    TreeItemId selectedItem() const override;
    TreeItemId parentOf(TreeItemId item) const override;
    std::vector<TreeItemId> children(TreeItemId item) const override;
    int childCount(TreeItemId item) const override;
    QString itemText(TreeItemId item) const override;
    int itemImage(TreeItemId item) const override;
    bool isExpanded(TreeItemId item) const override;

    int showContextMenu(const TreeMenu &menu) override;

    // Runs a built menu instead of showing it at the cursor (tests); returns the command.
    std::function<int(QMenu &)> menuRunner;

    // Which event items (the children of case nodes) are shown, by their label; null shows
    // them all. The date, device and case nodes always stay, and so does the selection.
    // Events inserted later are filtered as they come.
    using EventItemFilter = std::function<bool(const QString &label)>;
    void setEventFilter(EventItemFilter filter);
    struct EventCounts
    {
        int shown = 0;
        int total = 0;
    };
    EventCounts eventCounts() const;
    // Told, once the program's current work is done, that event items came or went.
    std::function<void()> onEventItemsChanged;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void setSelectedItem(TreeItemId item) override;
    void removeBranches(const std::vector<TreeItemId> &tops) override;

private:
    void onCurrentItemChanged(QTreeWidgetItem *current);
    void keepFocusFromSelecting();

    static bool isEventItem(const QTreeWidgetItem *item);
    std::vector<QTreeWidgetItem *> caseNodes() const;
    void eventItemsChanged();

    // The item pictures by image index, drawn at the first use.
    const QList<QIcon> &icons();
    QList<QIcon> m_icons;
    EventItemFilter m_eventFilter;
    bool m_eventsChangedPending = false;
    QMetaObject::Connection m_currentChanged;
    bool m_quiet = false; // the program is changing the tree: no reports from Qt's signals
};
