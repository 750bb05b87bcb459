// The event-list build: the case's branch of the case tree, its decoding with the
// annotations of its archive, and one tree item per event in time order.
#include "device/EventListBuild.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "case/CaseSession.h"
#include "device/MifCase.h"
#include "case/EventListText.h"
#include "device/TimeZoneTable.h"

#include <algorithm>

namespace {
QString annotationsLeftOutText(const QString &archive, size_t count, size_t kept)
{
    return QStringLiteral("%1 holds %2 annotations, but a case holds at most %3 events: %4 annotations were left "
                          "out. Saving this case over the archive would drop them.")
        .arg(archive)
        .arg(count)
        .arg(MaxEvents)
        .arg(count - kept);
}

// The other case with a tree branch for which same(other) holds; null when none.
template <typename Same>
const CaseRecord *otherCaseWith(const CaseStore &store, int slot, Same same)
{
    for (int q = 0; q < store.slotCount(); ++q)
        if (const CaseRecord *other = store.caseAt(q); q != slot && other && same(*other))
            return other;
    return nullptr;
}
} // namespace

void BuildEventList(CaseSession &session, int slot)
{
    CaseStore &store = session.store;
    SharedState &state = session.state;
    TreeControl *tree = session.tree;
    CaseRecord *c = store.caseAt(slot);
    if (!c)
        return;
    c->buildState = CaseListBuilt;

    // The case keeps its own start text for the General form; a start typed with
    // "Adjust..." replaces the device's start in the tree and the windows, and so decides
    // the date node the case goes under.
    OpenCase &entry = store.at(slot);
    if (!c->startTimeValid) {
        entry.adjustedStart.clear();
        entry.adjustedZoneMinutes.reset();
    }
    c->powerOnTimeText = c->startTimeValid ? EventListText::startTimeText(c->startTime)
                                           : EventListText::unknownStartTimeText();
    QString caseText = c->powerOnTimeText;
    const bool adjusted = entry.timeAdjusted();
    if (adjusted) {
        c->startTime = EventListText::parseAdjustedStart(entry.adjustedStart);
        caseText = entry.adjustedStart;
        // A start typed in another zone is the same moment in this one.
        const int32_t zone = TimeZoneTable::offsetOfRow(c->timeZoneIndex);
        if (entry.adjustedZoneMinutes && *entry.adjustedZoneMinutes != zone) {
            c->startTime += CTimeSpan(int64_t(zone - *entry.adjustedZoneMinutes) * 60);
            caseText = EventListText::startTimeText(c->startTime);
        }
    }
    caseText += EventListText::zoneSuffix(TimeZoneTable::offsetOfRow(c->timeZoneIndex), adjusted);
    if (c->startTimeValid)
        c->startDate = CTime(c->startTime.GetYear(), c->startTime.GetMonth(), c->startTime.GetDay(), 0, 0, 0);

    // Cases of one day share the date node, and cases of one device on one day the device
    // node. Only cases that have a branch can lend theirs.
    const CaseRecord *sameDate = otherCaseWith(store, slot, [&](const CaseRecord &o) {
        return o.dateItem != NoTreeItem && o.startDate == c->startDate;
    });
    const CaseRecord *sameDevice = otherCaseWith(store, slot, [&](const CaseRecord &o) {
        return o.deviceItem != NoTreeItem && o.serialNumber == c->serialNumber && o.startDate == c->startDate;
    });

    if (tree) {
        c->dateItem = sameDate ? sameDate->dateItem
                               : tree->insertItem(NoTreeItem,
                                                  EventListText::dateNodeText(c->startTimeValid, c->startDate),
                                                  TreeImage::Date);
        c->deviceItem = sameDevice ? sameDevice->deviceItem
                                   : tree->insertItem(c->dateItem, c->serialNumber, TreeImage::Device);
        c->caseItem = tree->insertItem(c->deviceItem, caseText, TreeImage::CaseViewed);
    }
    store.at(slot).viewed = true;

    MifCase::DecodeCaseData(store, slot, session.texts(), state.deviceModel, state.modelIndex, [&session, &store, slot, c] {
        const size_t count = std::min(store.pendingAnnotations.size(), size_t(std::max(0, c->savedAnnotationCount)));
        // The device's events came first; annotations the table has no room for are left
        // out, and the case counts only those it keeps.
        const size_t kept = std::min(count, size_t(c->events.room()));
        for (size_t i = 0; i < kept; ++i) {
            const EventItem &a = store.pendingAnnotations[i];
            store.AddEvent(slot, a.timeMs, a.text, a.detail);
        }
        if (kept < count) {
            c->savedAnnotationCount = int32_t(kept);
            c->annotationChangeCount = int32_t(kept);
            session.platform().messageBox(annotationsLeftOutText(store.at(slot).sourcePath, count, kept),
                                          session.GetText(TextId::Caption), Platform::Icon::Warning,
                                          Platform::Buttons::Ok);
        }
        store.pendingAnnotations.clear();
    });

    session.InsertEventItems(slot);
    if (tree) {
        tree->expand(c->dateItem);
        tree->expand(c->deviceItem);
        tree->expand(c->caseItem);
    }
}

