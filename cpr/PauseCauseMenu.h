#pragma once

#include "base/ContextMenuTemplate.h"

#include <QList>
#include <QString>
#include <optional>

class LanguagePack;

// The context menu of a pause in the CPR quality tab: "Set cause" with the causes a reviewer
// may give a pause, and "Use the device's reading".
namespace PauseCauseMenu {

QList<MenuEntry> entries(const LanguagePack &texts);
// The review file's name of the cause a command of that menu sets ("" for the device's
// reading); none for any other command.
std::optional<QString> causeOf(int commandId);

} // namespace PauseCauseMenu
