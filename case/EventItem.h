#pragma once

#include "base/CTime.h"
#include "case/TreeControl.h"

#include <QString>
#include <cstdint>

// One event of a case: a device event or an annotation (text beginning "A: ").
struct EventItem
{
    int32_t timeMs = 0;           // case time, ms since power-on
    CTimeSpan elapsed;            // timeMs / 1000 whole seconds, truncated toward zero
    QString text;                 // text shown in the tree
    QString detail;               // annotation body; empty for device events
    TreeItemId treeItem = NoTreeItem;

    static EventItem make(int32_t timeMs, const QString &text, const QString &detail)
    {
        return EventItem{timeMs, CTimeSpan(timeMs / 1000), text, detail, NoTreeItem};
    }
};
