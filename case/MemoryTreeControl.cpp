#include "case/MemoryTreeControl.h"

#include <algorithm>
#include <unordered_set>

TreeItemId MemoryTreeControl::insertItem(TreeItemId parent, const QString &text, int image)
{
    if (parent != NoTreeItem && !contains(parent))
        return NoTreeItem;
    const TreeItemId id = ++m_lastId;
    m_nodes.emplace(id, Node{parent, {}, text, image, false});
    (parent == NoTreeItem ? m_roots : m_nodes.at(parent).children).push_back(id);
    return id;
}

void MemoryTreeControl::deleteAllItems()
{
    m_nodes.clear();
    m_roots.clear();
    m_selected = NoTreeItem;
}

void MemoryTreeControl::setItemImage(TreeItemId item, int image)
{
    if (auto it = m_nodes.find(item); it != m_nodes.end())
        it->second.image = image;
}

void MemoryTreeControl::expand(TreeItemId item)
{
    if (auto it = m_nodes.find(item); it != m_nodes.end())
        it->second.expanded = true;
}

TreeItemId MemoryTreeControl::parentOf(TreeItemId item) const
{
    const auto it = m_nodes.find(item);
    return it != m_nodes.end() ? it->second.parent : NoTreeItem;
}

std::vector<TreeItemId> MemoryTreeControl::children(TreeItemId item) const
{
    if (item == NoTreeItem)
        return m_roots;
    const auto it = m_nodes.find(item);
    return it != m_nodes.end() ? it->second.children : std::vector<TreeItemId>();
}

int MemoryTreeControl::childCount(TreeItemId item) const
{
    if (item == NoTreeItem)
        return int(m_roots.size());
    const auto it = m_nodes.find(item);
    return it != m_nodes.end() ? int(it->second.children.size()) : 0;
}

QString MemoryTreeControl::itemText(TreeItemId item) const
{
    const auto it = m_nodes.find(item);
    return it != m_nodes.end() ? it->second.text : QString();
}

int MemoryTreeControl::itemImage(TreeItemId item) const
{
    const auto it = m_nodes.find(item);
    return it != m_nodes.end() ? it->second.image : -1;
}

bool MemoryTreeControl::isExpanded(TreeItemId item) const
{
    const auto it = m_nodes.find(item);
    return it != m_nodes.end() && it->second.expanded;
}

int MemoryTreeControl::showContextMenu(const TreeMenu &menu)
{
    menusShown.append(menu);
    return menuScript ? menuScript(menu) : 0;
}

void MemoryTreeControl::removeBranches(const std::vector<TreeItemId> &tops)
{
    const std::unordered_set<TreeItemId> gone(tops.begin(), tops.end());
    std::unordered_set<TreeItemId> parents;
    for (TreeItemId top : tops)
        if (contains(top))
            parents.insert(parentOf(top));
    for (TreeItemId parent : parents) {
        auto &list = parent == NoTreeItem ? m_roots : m_nodes.at(parent).children;
        list.erase(std::remove_if(list.begin(), list.end(), [&](TreeItemId c) { return gone.count(c) != 0; }),
                   list.end());
    }
    for (TreeItemId top : tops)
        forgetBranch(top);
}

void MemoryTreeControl::forgetBranch(TreeItemId item)
{
    const auto it = m_nodes.find(item);
    if (it == m_nodes.end())
        return;
    const std::vector<TreeItemId> kids = std::move(it->second.children);
    m_nodes.erase(it);
    for (TreeItemId kid : kids)
        forgetBranch(kid);
}

QStringList MemoryTreeControl::lines() const
{
    QStringList out;
    for (TreeItemId root : m_roots)
        appendLines(root, 0, out);
    return out;
}

void MemoryTreeControl::appendLines(TreeItemId item, int depth, QStringList &out) const
{
    out.append(QString(depth * 2, QLatin1Char(' ')) + itemText(item));
    for (TreeItemId kid : m_nodes.at(item).children)
        appendLines(kid, depth + 1, out);
}
