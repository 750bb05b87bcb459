#pragma once

#include "case/CaseViewFixture.h"
#include "case/MemoryTreeControl.h"
#include "device/EventListBuild.h"
#include "device/TimeZoneTable.h"

#include <QList>
#include <QPair>
#include <gtest/gtest.h>

// Cases made from device folders and given their event list in an in-memory case tree,
// with a frame state that records every published selection.
class CaseTreeFixture : public CaseViewFixture
{
public:
    MemoryTreeControl tree;
    ReviewState frame;
    QList<QPair<int, int>> published; // (slot, event) of every selection change sent

    CaseTreeFixture()
    {
        view.setTree(&tree);
        view.setReviewState(frame, [this](int slot, int event) {
            published.append({slot, event});
            frame.m_nSelCase = slot;
            frame.m_bSelChanged = 1;
        });
    }

    static int zoneRowNamed(const char *name)
    {
        return int(TimeZoneTable::timeZoneNames().indexOf(QString::fromUtf8(name)));
    }
    static int seoulRow() { return zoneRowNamed("Seoul(Korea, South) UTC+09:00"); }

    // A folder of events (code, time) in one trend block, started at the given header time.
    static DeviceFiles::DeviceFolder folder(std::initializer_list<std::pair<int32_t, int32_t>> events = {},
                                           DeviceFiles::EcgHeader header = {})
    {
        DeviceFiles::DeviceFolder f = emptyFolder();
        f.header = header;
        DeviceFiles::TrendBlock block;
        size_t e = 0;
        for (const auto &[code, time] : events)
            block.events[e++] = {code, time};
        f.trend = {block};
        return f;
    }

    // Makes a case of the folder for a device and zone and builds its event list.
    int openCase(const DeviceFiles::DeviceFolder &f, const QString &serial = QStringLiteral("SN-0042"),
                 int zoneRow = seoulRow())
    {
        const int slot = createCase(f);
        CaseRecord &c = *view.store.caseAt(slot);
        c.serialNumber = serial;
        c.timeZoneIndex = zoneRow;
        BuildEventList(view, slot);
        return slot;
    }

    // The texts of the case's event items, in tree order.
    QStringList eventLines(int slot) const
    {
        QStringList out;
        for (TreeItemId item : tree.children(view.store.caseAt(slot)->caseItem))
            out << tree.itemText(item);
        return out;
    }

    TreeItemId eventItem(int slot, int event) const { return view.store.caseAt(slot)->events[event].treeItem; }

    // The event slot of the first event whose text begins with prefix; -1 when none.
    int eventSlot(int slot, const QString &prefix) const
    {
        int found = -1;
        view.store.caseAt(slot)->events.forEachUsed([&](int i, const EventItem &e) {
            if (found < 0 && e.text.startsWith(prefix))
                found = i;
        });
        return found;
    }
};
