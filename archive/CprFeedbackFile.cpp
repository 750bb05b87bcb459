#include "archive/CprFeedbackFile.h"

#include "archive/BinaryReader.h"
#include "case/CRavelinView.h"
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

void LoadCprFeedback(CRavelinView &view, const QString &folder, int slot)
{
    CaseRecord *record = view.caseAt(slot);
    if (!record)
        return;
    const auto s = size_t(slot);
    view.hasCprFeedback[s] = false;
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
    view.hasCprFeedback[s] = true;
}
