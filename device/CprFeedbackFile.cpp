#include "device/CprFeedbackFile.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "base/BinaryReader.h"
#include "case/CaseSession.h"
#include "case/DeviceFolderFiles.h"

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

void LoadCprFeedback(CaseSession &session, const QString &folder, int slot)
{
    CaseStore &store = session.store;
    CaseRecord *record = store.caseAt(slot);
    if (!record)
        return;
    OpenCase &entry = store.at(slot);
    entry.hasCprFeedback = false;
    const QString path = DeviceFolderFiles(folder).filePath(CprFeedbackFile::fileName());

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
    entry.hasCprFeedback = true;
    if (in.remaining() > 0)
        session.platform().messageBox(CprFeedbackFile::partialRecordText(path, record->cprFeedback.size(), in.remaining()),
                                   session.GetText(TextId::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
}
