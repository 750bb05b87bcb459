#include "device/CprFeedbackFile.h"

#include "base/BinaryReader.h"
#include "case/CaseStore.h"
#include "case/DeviceFolderFiles.h"

namespace CprFeedbackFile {

namespace {
constexpr qsizetype RecordBytes = 8;
}

std::vector<CprFeedbackRecord> parse(BinaryReader &in)
{
    std::vector<CprFeedbackRecord> records;
    records.reserve(size_t((in.remaining() + RecordBytes - 1) / RecordBytes));
    while (!in.atEnd()) {
        CprFeedbackRecord r;
        r.timeMs = in.i32();
        r.depth = in.i32();
        records.push_back(r);
    }
    return records;
}

} // namespace CprFeedbackFile

void LoadCprFeedback(CaseStore &store, const QString &folder, int slot)
{
    CaseRecord *record = store.caseAt(slot);
    if (!record)
        return;
    OpenCase &entry = store.at(slot);
    entry.hasCprFeedback = false;
    const QString path = DeviceFolderFiles(folder).filePath(CprFeedbackFile::fileName());

    QByteArray bytes;
    try {
        bytes = BinaryReader::readWholeFile(path);
    } catch (const FileError &) {
        return; // no feedback came with the case
    }
    BinaryReader in(std::move(bytes), path);
    record->cprFeedback = CprFeedbackFile::parse(in);
    record->cprFeedbackCount = int32_t(record->cprFeedback.size());
    entry.hasCprFeedback = true;
}
