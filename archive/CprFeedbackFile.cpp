#include "archive/CprFeedbackFile.h"

#include "app/LanguagePack.h"
#include "app/Platform.h"
#include "archive/BinaryReader.h"
#include "case/CRavelinView.h"

#include <QDir>

namespace CprFeedbackFile {

std::vector<CprFeedbackRecord> parse(BinaryReader &in)
{
    std::vector<CprFeedbackRecord> records;
    records.reserve(size_t(in.remaining() / RecordBytes));
    while (in.remaining() >= RecordBytes) {
        CprFeedbackRecord r;
        r.timeMs = in.i32();
        r.depth = in.i32();
        records.push_back(r);
    }
    return records;
}

QString partialRecordText(const QString &path, size_t keptRecords, qsizetype leftOverBytes)
{
    return QStringLiteral("%1 ends in a cut record: its last %2 bytes were left out and the %3 whole records "
                          "before them were kept.")
        .arg(path)
        .arg(leftOverBytes)
        .arg(keptRecords);
}

} // namespace CprFeedbackFile

void LoadCprFeedback(CRavelinView &view, const QString &folder, int slot)
{
    CaseRecord *record = view.caseAt(slot);
    if (!record)
        return;
    const auto s = size_t(slot);
    view.hasCprFeedback[s] = false;
    const QString path = QDir(folder).filePath(CprFeedbackFile::fileName());

    QByteArray bytes;
    try {
        bytes = BinaryReader::readWholeFile(path);
    } catch (const FileError &error) {
        if (error.kind() == FileError::Kind::NotFound)
            return; // no feedback came with the case
        throw;
    }
    BinaryReader in(std::move(bytes), path);
    record->cprFeedback = CprFeedbackFile::parse(in);
    record->cprFeedbackCount = int32_t(record->cprFeedback.size());
    view.hasCprFeedback[s] = true;
    if (in.remaining() > 0)
        view.platform().messageBox(CprFeedbackFile::partialRecordText(path, record->cprFeedback.size(), in.remaining()),
                                   view.GetText(TextId::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
}
