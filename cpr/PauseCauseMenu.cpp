#include "cpr/PauseCauseMenu.h"

#include "base/CommandIds.h"
#include "base/LanguagePack.h"
#include "cpr/HandsOff.h"
#include "cpr/HandsOffTexts.h"

#include <utility>

namespace PauseCauseMenu {

namespace {

// The causes a reviewer sets, in menu order, with their commands.
constexpr std::pair<int, PauseCause> Causes[] = {
    {CommandId::PauseCauseBreaths, PauseCause::Breaths},
    {CommandId::PauseCausePads, PauseCause::Pads},
    {CommandId::PauseCauseRhythmCheck, PauseCause::RhythmCheck},
    {CommandId::PauseCauseAirway, PauseCause::Airway},
    {CommandId::PauseCauseTransport, PauseCause::Transport},
    {CommandId::PauseCauseOther, PauseCause::Other},
};

MenuEntry command(int commandId, const QString &text)
{
    MenuEntry e;
    e.commandId = commandId;
    e.text = text;
    return e;
}

} // namespace

QList<MenuEntry> entries(const LanguagePack &texts)
{
    MenuEntry setCause;
    setCause.kind = MenuEntry::Kind::Submenu;
    setCause.text = texts.GetText(HandsOffText::SetCause);
    for (const auto &[commandId, cause] : Causes)
        setCause.entries << command(commandId, texts.GetText(HandsOffText::causeText(cause)));
    return {setCause, command(CommandId::PauseCauseDevice, texts.GetText(HandsOffText::UseDeviceReading))};
}

std::optional<QString> causeOf(int commandId)
{
    if (commandId == CommandId::PauseCauseDevice)
        return QString();
    for (const auto &[id, cause] : Causes)
        if (id == commandId)
            return pauseCauseName(cause);
    return std::nullopt;
}

} // namespace PauseCauseMenu
