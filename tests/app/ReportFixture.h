#pragma once

#include "app/CRavelinView.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/QtPrinters.h"
#include "support/ScopedCacheLocation.h"
#include "support/TempDir.h"

#include <QString>

// A view over the built-in English pack and a scripted platform, with cases made in
// memory: a start time, fields and events, no device files.
class ReportFixture
{
public:
    static constexpr int SeoulRow = 141;
    static constexpr int ZagrebRow = 178; // UTC+01:00

    FakePlatform platform;
    LanguagePack texts = Packs::builtInEnglish();
    CRavelinView view{texts, platform};
    TempDir dir;

    // A case starting 2021-03-07 09:05:00 on the device clock, opened in the device's own
    // zone (Seoul, UTC+09:00) and selected in the tree.
    int addCase()
    {
        const int slot = view.store.AllocateCaseSlot(QString());
        CaseRecord &c = *view.store.caseAt(slot);
        c.startTimeValid = true;
        c.startTime = CTime(2021, 3, 7, 9, 5, 0);
        c.timeZoneIndex = SeoulRow;
        c.serialNumber = QStringLiteral("SN-0042");
        view.session.selSlot = slot;
        return slot;
    }

    // Gives the case an ECG of samples from ecgStartMs (4 ms each).
    void setEcg(int slot, int32_t ecgStartMs, const QByteArray &samples)
    {
        CaseRecord &c = caseAt(slot);
        c.ecgSamples = samples;
        c.ecgStartMs = ecgStartMs;
        c.ecgEndMs = ecgStartMs + 4 * int32_t(samples.size());
        c.ecgAllocated = true;
    }

    CaseRecord &caseAt(int slot) { return *view.store.caseAt(slot); }
};
