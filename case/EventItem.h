#pragma once

#include "base/CTime.h"
#include "case/TreeControl.h"

#include <QString>
#include <cstdint>

// What an event item knows of where it came from: the device's event code of the trend
// entry it was decoded from, or one of these.
namespace EventCode {
constexpr int32_t None = -1;            // annotations and the events the decoding adds on its own
constexpr int32_t ShockDelivered = 1000; // "Prompt : Shock delivered." of a block's shock (no entry of its own)
constexpr int32_t PadsOff = 1001;        // "Plug in pads" of a block's pads taken off
constexpr int32_t PadsOn = 1002;         // the adult or pediatric pads (or mode) of a block's pads put on
} // namespace EventCode

// One event of a case: a device event or an annotation (text beginning "A: ").
struct EventItem
{
    int32_t timeMs = 0;           // case time, ms since power-on
    CTimeSpan elapsed;            // timeMs / 1000 whole seconds, truncated toward zero
    QString text;                 // text shown in the tree
    QString detail;               // annotation body; empty for device events
    TreeItemId treeItem = NoTreeItem;
    int32_t code = EventCode::None; // in memory only; the archive does not keep it

    static EventItem make(int32_t timeMs, const QString &text, const QString &detail,
                          int32_t code = EventCode::None)
    {
        return EventItem{timeMs, CTimeSpan(timeMs / 1000), text, detail, NoTreeItem, code};
    }
};
