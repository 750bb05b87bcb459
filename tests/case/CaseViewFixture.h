#pragma once

#include "case/CaseSession.h"
#include "device/MifCase.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "tools/DeviceFolderWriter.h"

#include <QList>
#include <QPair>
#include <QString>

// A session over the built-in English pack and a scripted platform, with helpers that
// write a device folder and turn it into a decoded case the way the import does.
class CaseViewFixture
{
public:
    using Event = QPair<int32_t, QString>;

    FakePlatform platform;
    LanguagePack texts = Packs::builtInEnglish();
    CaseSession view{texts, platform};
    TempDir dir;

    static int32_t modelCodeOf(DeviceFiles::Model model)
    {
        switch (model) {
        case DeviceFiles::Model::Q21: return ModelQ21;
        case DeviceFiles::Model::Q25: return ModelQ25;
        case DeviceFiles::Model::Q26: break;
        }
        return ModelNone;
    }

    // Writes folder into a fresh sub-folder and makes a case of it (not decoded yet). The
    // folder's Temp file is read when the folder has one.
    int createCase(const DeviceFiles::DeviceFolder &folder)
    {
        const QString path = dir.file(QStringLiteral("rescue%1").arg(++m_folderCount));
        folder.write(path);
        view.state.mifFolderPath = path;
        view.state.deviceModel = modelCodeOf(folder.model);
        view.state.serialNumber = QStringLiteral("SN-0042");
        view.store.setTempFilePresent(view.store.nextCaseSlot(), folder.hasTemp ? 1 : 0);
        view.store.scratchFileSet.SetPaths(path, view.state.deviceModel);
        MifCase::LoadFiles(view.store, view.store.scratchFileSet, 0, view.platform());
        view.store.scratchFileSet.SplitTrendBlocks();
        const int slot = MifCase::CreateCaseFromMif(view);
        view.store.at(slot).tempLoaded = folder.hasTemp ? 1 : 0;
        return slot;
    }

    // createCase followed by the decoding.
    int decodeCase(const DeviceFiles::DeviceFolder &folder)
    {
        const int slot = createCase(folder);
        MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex);
        return slot;
    }

    // The case's events in table order, as (time, text).
    QList<Event> events(int slot) const
    {
        QList<Event> out;
        view.store.caseAt(slot)->events.forEachUsed([&](int, const EventItem &e) { out.append({e.timeMs, e.text}); });
        return out;
    }

    // The events without the "Power on." that every decoded case starts with.
    QList<Event> deviceEvents(int slot) const
    {
        QList<Event> out = events(slot);
        if (!out.isEmpty() && out.first() == Event(0, QStringLiteral("Power on.")))
            out.removeFirst();
        return out;
    }

    // Used CPR periods in slot order, as (start, end).
    QList<QPair<int32_t, int32_t>> cprPeriods(int slot) const
    {
        QList<QPair<int32_t, int32_t>> out;
        view.store.caseAt(slot)->cprPeriods.forEachUsed([&](int, const CprPeriod &p) { out.append({p.startMs, p.endMs}); });
        return out;
    }

    // A folder of model Q26 with a valid header and no data but what the test adds.
    static DeviceFiles::DeviceFolder emptyFolder()
    {
        DeviceFiles::DeviceFolder f;
        f.hasTemp = false;
        return f;
    }

    // A folder holding one trend block.
    static DeviceFiles::DeviceFolder folderWith(const DeviceFiles::TrendBlock &block)
    {
        DeviceFiles::DeviceFolder f = emptyFolder();
        f.trend = {block};
        return f;
    }

private:
    int m_folderCount = 0;
};
