#pragma once

#include "case/TreeControl.h"

#include <QStringList>
#include <functional>
#include <unordered_map>

// The case tree kept in memory, for tests and the headless commands. Handles count up
// from 1 and are never reused.
class MemoryTreeControl : public TreeControl
{
public:
    TreeItemId insertItem(TreeItemId parent, const QString &text, int image) override;
    void deleteAllItems() override;
    void setItemImage(TreeItemId item, int image) override;
    void expand(TreeItemId item) override;

    TreeItemId selectedItem() const override { return m_selected; }
    TreeItemId parentOf(TreeItemId item) const override;
    std::vector<TreeItemId> children(TreeItemId item) const override;
    int childCount(TreeItemId item) const override;
    QString itemText(TreeItemId item) const override;
    int itemImage(TreeItemId item) const override;
    bool isExpanded(TreeItemId item) const override;

    // Records the menu and answers with menuScript (dismissed when there is none).
    int showContextMenu(const TreeMenu &menu) override;

    // What a user does: a click on an item, a right-button press.
    void click(TreeItemId item) { selectItem(item); }
    void pressRightButton() { notifyRightButtonPressed(); }

    bool contains(TreeItemId item) const { return m_nodes.count(item) != 0; }
    int itemCount() const { return int(m_nodes.size()); }
    // Every item in tree order, one a line, indented by two blanks per level.
    QStringList lines() const;

    std::function<int(const TreeMenu &)> menuScript;
    QList<TreeMenu> menusShown;

protected:
    void setSelectedItem(TreeItemId item) override { m_selected = item; }
    void removeBranches(const std::vector<TreeItemId> &tops) override;

private:
    struct Node
    {
        TreeItemId parent = NoTreeItem;
        std::vector<TreeItemId> children;
        QString text;
        int image = 0;
        bool expanded = false;
    };

    void forgetBranch(TreeItemId item);
    void appendLines(TreeItemId item, int depth, QStringList &out) const;

    std::unordered_map<TreeItemId, Node> m_nodes;
    std::vector<TreeItemId> m_roots;
    TreeItemId m_lastId = NoTreeItem;
    TreeItemId m_selected = NoTreeItem;
};
