#include "base/ContextMenuBuilder.h"

#include "base/LanguagePack.h"

#include <QAction>
#include <QMenu>

std::unique_ptr<QMenu> ContextMenuBuilder::build(const LanguagePack &pack, ContextSubmenu which, QWidget *parent)
{
    auto menu = std::make_unique<QMenu>(parent);
    const ContextMenuTemplate &t = ContextMenus::templateFor(pack.language());
    menu->setTitle(t.submenus.at(int(which)).text);
    addEntries(menu.get(), ContextMenus::submenu(pack, which));
    return menu;
}

void ContextMenuBuilder::addEntries(QMenu *menu, const QList<MenuEntry> &entries)
{
    for (const MenuEntry &e : entries) {
        switch (e.kind) {
        case MenuEntry::Kind::Command: {
            QAction *action = menu->addAction(e.text);
            action->setData(e.commandId);
            break;
        }
        case MenuEntry::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuEntry::Kind::Submenu:
            addEntries(menu->addMenu(e.text), e.entries);
            break;
        }
    }
}

QAction *ContextMenuBuilder::findAction(const QMenu *menu, int commandId)
{
    if (!menu || commandId == 0)
        return nullptr;
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (commandOf(action) == commandId)
            return action;
        if (QAction *found = findAction(action->menu(), commandId))
            return found;
    }
    return nullptr;
}

int ContextMenuBuilder::commandOf(const QAction *action)
{
    if (!action || action->isSeparator() || action->menu())
        return 0;
    bool ok = false;
    const int id = action->data().toInt(&ok);
    return ok ? id : 0;
}

bool ContextMenuBuilder::setEnabled(const QMenu *menu, int commandId, bool enabled)
{
    QAction *action = findAction(menu, commandId);
    if (action)
        action->setEnabled(enabled);
    return action != nullptr;
}

bool ContextMenuBuilder::setChecked(const QMenu *menu, int commandId, bool checked)
{
    QAction *action = findAction(menu, commandId);
    if (action) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
    return action != nullptr;
}

bool ContextMenuBuilder::removeCommand(const QMenu *menu, int commandId)
{
    QAction *action = findAction(menu, commandId);
    if (!action)
        return false;
    // Deleting an action takes it out of every menu that lists it; separators left next
    // to each other collapse in QMenu.
    delete action;
    return true;
}

int ContextMenuBuilder::exec(QMenu &menu, const QPoint &globalPos)
{
    return commandOf(menu.exec(globalPos));
}
