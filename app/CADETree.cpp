#include "app/CADETree.h"

#include "base/ContextMenuBuilder.h"
#include "app/CaseTreeIcons.h"

#include <QCursor>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <unordered_map>

namespace {
constexpr int ImageRole = Qt::UserRole + 1;
} // namespace

CADETree::CADETree(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(CaseTreeIcons::Width, CaseTreeIcons::Height));
    setUniformRowHeights(true);
    // The column is as wide as the longest label on screen, so long prompts can be
    // scrolled to; measuring only what is visible keeps a 50 000-event case responsive.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setResizeContentsPrecision(0);
    header()->setStretchLastSection(false);
    m_currentChanged = connect(this, &QTreeWidget::currentItemChanged, this,
                               [this](QTreeWidgetItem *current) { onCurrentItemChanged(current); });
    keepFocusFromSelecting();
}

const QList<QIcon> &CADETree::icons()
{
    // Drawn for the first item: an empty tree (the window at start-up) needs none.
    if (m_icons.isEmpty()) {
        // The same picture whether the item is selected or not: no tint from the style.
        for (const QImage &image : CaseTreeIcons::images()) {
            QIcon icon;
            icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
            icon.addPixmap(QPixmap::fromImage(image), QIcon::Selected);
            m_icons.append(icon);
        }
    }
    return m_icons;
}

CADETree::~CADETree()
{
    // The items go after this object's own parts: nothing may be reported any more.
    m_quiet = true;
    disconnect(m_currentChanged);
}

void CADETree::keepFocusFromSelecting()
{
    // Qt makes the first item current when a view without a current item gets the focus;
    // the case tree has nothing selected until the reviewer picks something. A current
    // index set explicitly, even an empty one, turns that off until the model is reset.
    const QScopedValueRollback quiet(m_quiet, true);
    setCurrentIndex(QModelIndex());
}

void CADETree::onCurrentItemChanged(QTreeWidgetItem *current)
{
    if (!m_quiet)
        notifySelectionChanged(idOf(current));
}

TreeItemId CADETree::insertItem(TreeItemId parent, const QString &text, int image)
{
    auto *item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, ImageRole, image);
    if (image >= 0 && image < icons().size())
        item->setIcon(0, icons().at(image));
    const QScopedValueRollback quiet(m_quiet, true);
    if (parent == NoTreeItem)
        addTopLevelItem(item);
    else
        itemOf(parent)->addChild(item);
    if (isEventItem(item)) {
        if (m_eventFilter && !m_eventFilter(text))
            item->setHidden(true);
        eventItemsChanged();
    }
    return idOf(item);
}

void CADETree::deleteAllItems()
{
    {
        const QScopedValueRollback quiet(m_quiet, true);
        clear();
    }
    keepFocusFromSelecting();
    eventItemsChanged();
}

bool CADETree::isEventItem(const QTreeWidgetItem *item)
{
    // date node > device node > case node > event
    const QTreeWidgetItem *caseNode = item->parent();
    return caseNode && caseNode->parent() && caseNode->parent()->parent();
}

void CADETree::eventItemsChanged()
{
    if (m_eventsChangedPending)
        return;
    m_eventsChangedPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_eventsChangedPending = false;
            if (onEventItemsChanged)
                onEventItemsChanged();
        },
        Qt::QueuedConnection);
}

std::vector<QTreeWidgetItem *> CADETree::caseNodes() const
{
    std::vector<QTreeWidgetItem *> out;
    for (int d = 0; d < topLevelItemCount(); ++d) {
        const QTreeWidgetItem *date = topLevelItem(d);
        for (int v = 0; v < date->childCount(); ++v) {
            const QTreeWidgetItem *device = date->child(v);
            for (int c = 0; c < device->childCount(); ++c)
                out.push_back(device->child(c));
        }
    }
    return out;
}

void CADETree::setEventFilter(EventItemFilter filter)
{
    m_eventFilter = std::move(filter);
    const QScopedValueRollback quiet(m_quiet, true);
    for (QTreeWidgetItem *caseNode : caseNodes()) {
        for (int e = 0; e < caseNode->childCount(); ++e) {
            QTreeWidgetItem *event = caseNode->child(e);
            const bool hide = m_eventFilter && !m_eventFilter(event->text(0));
            if (event->isHidden() != hide)
                event->setHidden(hide);
        }
    }
    if (QTreeWidgetItem *current = currentItem(); current && !current->isHidden())
        scrollToItem(current);
}

CADETree::EventCounts CADETree::eventCounts() const
{
    EventCounts counts;
    for (const QTreeWidgetItem *caseNode : caseNodes()) {
        counts.total += caseNode->childCount();
        for (int e = 0; e < caseNode->childCount(); ++e)
            counts.shown += caseNode->child(e)->isHidden() ? 0 : 1;
    }
    return counts;
}

void CADETree::setItemImage(TreeItemId item, int image)
{
    if (item == NoTreeItem)
        return;
    QTreeWidgetItem *i = itemOf(item);
    i->setData(0, ImageRole, image);
    i->setIcon(0, image >= 0 && image < icons().size() ? icons().at(image) : QIcon());
}

void CADETree::expand(TreeItemId item)
{
    if (item != NoTreeItem)
        expandItem(itemOf(item));
}

TreeItemId CADETree::selectedItem() const
{
    return idOf(currentItem());
}

TreeItemId CADETree::parentOf(TreeItemId item) const
{
    return item != NoTreeItem ? idOf(itemOf(item)->parent()) : NoTreeItem;
}

std::vector<TreeItemId> CADETree::children(TreeItemId item) const
{
    std::vector<TreeItemId> out;
    if (item == NoTreeItem) {
        out.reserve(size_t(topLevelItemCount()));
        for (int i = 0; i < topLevelItemCount(); ++i)
            out.push_back(idOf(topLevelItem(i)));
        return out;
    }
    const QTreeWidgetItem *parent = itemOf(item);
    out.reserve(size_t(parent->childCount()));
    for (int i = 0; i < parent->childCount(); ++i)
        out.push_back(idOf(parent->child(i)));
    return out;
}

int CADETree::childCount(TreeItemId item) const
{
    return item == NoTreeItem ? topLevelItemCount() : itemOf(item)->childCount();
}

QString CADETree::itemText(TreeItemId item) const
{
    return item == NoTreeItem ? QString() : itemOf(item)->text(0);
}

int CADETree::itemImage(TreeItemId item) const
{
    return item == NoTreeItem ? -1 : itemOf(item)->data(0, ImageRole).toInt();
}

bool CADETree::isExpanded(TreeItemId item) const
{
    return item != NoTreeItem && itemOf(item)->isExpanded();
}

void CADETree::setSelectedItem(TreeItemId item)
{
    const QScopedValueRollback quiet(m_quiet, true);
    if (item == NoTreeItem) {
        setCurrentItem(nullptr);
        clearSelection();
    } else {
        setCurrentItem(itemOf(item));
    }
}

void CADETree::removeBranches(const std::vector<TreeItemId> &tops)
{
    const QScopedValueRollback quiet(m_quiet, true);
    // A parent losing all its children gives them up in one step; deleting tens of
    // thousands of event items one by one would cost time quadratic in their number.
    std::unordered_map<QTreeWidgetItem *, int> goingPerParent;
    for (TreeItemId top : tops)
        if (QTreeWidgetItem *parent = itemOf(top)->parent())
            ++goingPerParent[parent];
    std::vector<QTreeWidgetItem *> single;
    for (TreeItemId top : tops) {
        QTreeWidgetItem *item = itemOf(top);
        QTreeWidgetItem *parent = item->parent();
        if (!parent || goingPerParent[parent] != parent->childCount())
            single.push_back(item);
    }
    for (const auto &[parent, going] : goingPerParent)
        if (going == parent->childCount())
            qDeleteAll(parent->takeChildren());
    for (QTreeWidgetItem *item : single)
        delete item;
    eventItemsChanged();
}

int CADETree::showContextMenu(const TreeMenu &menu)
{
    QMenu shown(this);
    ContextMenuBuilder::addEntries(&shown, menu.entries);
    for (int command : menu.disabledCommands)
        ContextMenuBuilder::setEnabled(&shown, command, false);
    if (menuRunner)
        return menuRunner(shown);
    return ContextMenuBuilder::exec(shown, QCursor::pos());
}

void CADETree::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        notifyRightButtonPressed();
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}
