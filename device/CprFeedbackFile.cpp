#include "device/CprFeedbackFile.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "base/BinaryReader.h"
#include "case/CaseSession.h"

#include <algorithm>

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

int32_t recordingEndMs(const CaseRecord &c)
{
    int32_t end = c.ecgEndMs;
    c.events.forEachUsed([&](int, const EventItem &event) { end = std::max(end, event.timeMs); });
    return end;
}

qint64 maxFileBytes(int32_t recordingEndMs)
{
    const qint64 spanMs = std::max<qint64>(0, qint64(recordingEndMs) + MaxMsPastEnd);
    return (spanMs / 1000 + 1) * MaxCompressionsPerSecond * RecordBytes;
}

QString implausibility(const std::vector<CprFeedbackRecord> &records, int32_t recordingEndMs)
{
    const qint64 latestMs = qint64(recordingEndMs) + MaxMsPastEnd;
    int inSecond = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const CprFeedbackRecord &r = records[i];
        inSecond = i > 0 && r.timeMs / 1000 == records[i - 1].timeMs / 1000 ? inSecond + 1 : 1;
        QString why;
        if (r.timeMs < 0)
            why = QStringLiteral("its time %1 ms is negative").arg(r.timeMs);
        else if (i > 0 && r.timeMs < records[i - 1].timeMs)
            why = QStringLiteral("its time %1 ms is before the %2 ms of the record before it")
                      .arg(r.timeMs)
                      .arg(records[i - 1].timeMs);
        else if (r.timeMs > latestMs)
            why = QStringLiteral("its time %1 ms is more than %2 minutes after the recording's end at %3 ms")
                      .arg(r.timeMs)
                      .arg(MaxMsPastEnd / 60000)
                      .arg(recordingEndMs);
        else if (inSecond > MaxRecordsPerSecond)
            why = QStringLiteral("it is one of more than %1 in the second from %2 ms")
                      .arg(MaxRecordsPerSecond)
                      .arg(r.timeMs / 1000 * 1000);
        else if (r.depth < 0 || r.depth > MaxDepth)
            why = QStringLiteral("its depth %1 is outside the sensor's range 0 to %2").arg(r.depth).arg(MaxDepth);
        if (!why.isEmpty())
            return QStringLiteral("record %1 of %2: %3").arg(i + 1).arg(records.size()).arg(why);
    }
    return QString();
}

} // namespace CprFeedbackFile

namespace {

void reportUnused(CaseSession &session, const QString &text)
{
    session.platform().messageBox(text + QStringLiteral("\nThe case is opened without it."),
                                  session.GetText(TextId::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
}

} // namespace

void LoadCprFeedback(CaseSession &session, const QString &path, int slot)
{
    using namespace CprFeedbackFile;
    CaseStore &store = session.store;
    CaseRecord *record = store.caseAt(slot);
    if (!record)
        return;
    OpenCase &entry = store.at(slot);
    entry.hasCprFeedback = false;
    entry.cprFeedbackPath.clear();
    record->cprFeedback.clear();
    record->cprFeedbackCount = 0;

    const int32_t endMs = recordingEndMs(*record);
    QByteArray bytes;
    try {
        bytes = BinaryReader::readWholeFile(path, maxFileBytes(endMs));
    } catch (const FileError &error) {
        if (error.kind() == FileError::Kind::TooLarge)
            reportUnused(session, error.message(session.texts())
                                      + QStringLiteral("\nA recording ending at %1 ms has at most %2 bytes of compressions.")
                                            .arg(endMs)
                                            .arg(maxFileBytes(endMs)));
        else if (error.kind() != FileError::Kind::NotFound) // no feedback came with the case
            reportUnused(session, error.message(session.texts()));
        return;
    }
    BinaryReader in(std::move(bytes), path);
    std::vector<CprFeedbackRecord> records = parse(in);
    if (const QString why = implausibility(records, endMs); !why.isEmpty()) {
        reportUnused(session, QStringLiteral("%1 does not hold the CPR feedback of this recording: %2.").arg(path, why));
        return;
    }
    record->cprFeedback = std::move(records);
    record->cprFeedbackCount = int32_t(record->cprFeedback.size());
    entry.hasCprFeedback = true;
    entry.cprFeedbackPath = path;
    if (in.remaining() > 0)
        session.platform().messageBox(partialRecordText(path, record->cprFeedback.size(), in.remaining()),
                                      session.GetText(TextId::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
}
