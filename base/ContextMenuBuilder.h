#pragma once

#include "base/ContextMenuTemplate.h"

#include <QList>
#include <QPoint>
#include <memory>

class LanguagePack;
class QAction;
class QMenu;
class QWidget;

// Turns a context submenu of the current language's template into a QMenu whose actions
// carry their command identifiers (QAction::data), and helps the caller set the item
// states before showing it. The labels and the template choice come from core.
class ContextMenuBuilder
{
public:
    // The submenu `which`, relabelled from the pack, as a menu owned by the caller.
    static std::unique_ptr<QMenu> build(const LanguagePack &pack, ContextSubmenu which, QWidget *parent = nullptr);
    // Appends entries (commands, separators, nested submenus) to menu.
    static void addEntries(QMenu *menu, const QList<MenuEntry> &entries);

    // The action with that command identifier, searched through nested submenus; null when absent.
    static QAction *findAction(const QMenu *menu, int commandId);
    // Command identifier an action carries; 0 for separators, submenus and foreign actions.
    static int commandOf(const QAction *action);

    // Each returns false when the menu has no such command.
    static bool setEnabled(const QMenu *menu, int commandId, bool enabled);
    static bool setChecked(const QMenu *menu, int commandId, bool checked);
    static bool removeCommand(const QMenu *menu, int commandId);

    // Shows the menu modally at a global position (the cursor, or ContextMenus::reportMenuPosition
    // of it for the report menu); returns the chosen command identifier, 0 when dismissed.
    static int exec(QMenu &menu, const QPoint &globalPos);
};
