#pragma once

#include "archive/AedArchiveReader.h"
#include "archive/AedArchiveWriter.h"
#include "base/FileError.h"
#include "case/CaseViewFixture.h"
#include "device/TimeZoneTable.h"

#include <gtest/gtest.h>

#include <optional>

// A view with helpers that make archives the way the import does and open them the way
// the open flow does.
class ArchiveFixture : public CaseViewFixture
{
public:
    // Row of the time-zone table with an offset of minutes east of UTC.
    static int zoneRow(int32_t minutes) { return int(TimeZoneTable::timeZoneOffsets().indexOf(minutes)); }

    // Makes a case of folder, writes it with the conversion writer to name and frees it.
    // The case's file set as the import read it is kept in imported.
    QString importArchive(const DeviceFiles::DeviceFolder &folder, const QString &name = "case.aed")
    {
        const int slot = createCase(folder);
        imported = *view.store.at(slot).fileSet;
        importedStart = view.store.caseAt(slot)->startTime;
        const QString path = dir.file(name);
        WriteAedArchive(view.store, slot, path, AedArchiveVariant::Conversion);
        view.store.FreeCase(slot);
        return path;
    }

    // Opens an archive into a new slot with the given zone chosen.
    int open(const QString &path, int32_t zoneMinutes = 540)
    {
        view.state.timeZoneChoice = uint16_t(zoneRow(zoneMinutes));
        const int slot = view.store.AllocateCaseSlot(QString());
        ReadAedArchive(view.store, path, slot, view.state.timeZoneChoice);
        return slot;
    }

    // Opens an archive that must fail; checks that the slot taken was freed.
    std::optional<FileError> openFailure(const QString &path)
    {
        const int slot = view.store.AllocateCaseSlot(QString());
        try {
            ReadAedArchive(view.store, path, slot, view.state.timeZoneChoice);
        } catch (const FileError &e) {
            EXPECT_FALSE(view.store.isSlotUsed(slot)) << "slot left filled";
            return e;
        }
        ADD_FAILURE() << "opened " << path.toStdString();
        view.store.FreeCase(slot);
        return std::nullopt;
    }

    CaseRecord &record(int slot) { return *view.store.caseAt(slot); }
    CC8Class &files(int slot) { return *view.store.at(slot).fileSet; }

    CC8Class imported;
    CTime importedStart;
};
