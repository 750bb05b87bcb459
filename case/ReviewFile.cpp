#include "case/ReviewFile.h"

#include "base/AtomicFileWriter.h"
#include "base/BinaryReader.h"
#include "base/FileError.h"
#include "base/FileSha256.h"
#include "case/CaseStore.h"
#include "case/EventListText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <limits>

namespace {
// Version 2 added the recording ID and the bound companion files; version 3 the reviewer's
// pause causes, and is written only when there are some, so that a file without them stays
// one that a program of version 2 reads (and, not knowing them, would drop). Versions 1 and 2
// are read.
constexpr int FormatVersion = 2;
constexpr int PauseCausesVersion = 3;
// A review file holds two small tables and two values: anything larger is not one.
constexpr qint64 MaxReviewFileBytes = 1 << 20;
// Every whole number up to 2^53 is exact as a JSON number; sizes stay within it.
constexpr qint64 MaxExactJsonInteger = qint64(1) << 53;

QJsonArray spansToJson(const std::vector<ReviewMarks::Span> &spans)
{
    QJsonArray out;
    for (const auto &[start, end] : spans)
        out.append(QJsonArray{start, end});
    return out;
}

// A whole number of milliseconds that a case time can hold; checked before any conversion.
bool isCaseTime(double value)
{
    return value >= double(std::numeric_limits<int32_t>::min()) && value <= double(std::numeric_limits<int32_t>::max())
           && value == double(int32_t(value));
}

QJsonArray companionsToJson(const std::vector<CompanionFile> &files)
{
    QJsonArray out;
    for (const CompanionFile &f : files)
        out.append(QJsonObject{{QStringLiteral("name"), f.name},
                               {QStringLiteral("size"), double(f.size)},
                               {QStringLiteral("sha256"), f.sha256}});
    return out;
}

std::vector<CompanionFile> companionsFromJson(const QJsonValue &value, const QString &path)
{
    const auto damaged = [&] {
        return FileError(path, FileError::Kind::BadFormat,
                         QStringLiteral("\"companions\" is not a list of files with a name, a size and a SHA-256."));
    };
    if (!value.isArray())
        throw damaged();
    std::vector<CompanionFile> files;
    for (const QJsonValue &item : value.toArray()) {
        const QJsonObject o = item.toObject();
        const QJsonValue name = o.value(QStringLiteral("name"));
        const QJsonValue size = o.value(QStringLiteral("size"));
        const QJsonValue sha256 = o.value(QStringLiteral("sha256"));
        // The size is taken as the integer written (-1 when it is none): read as a double,
        // 2^53 + 1 would pass for 2^53.
        const qint64 bytes = size.isDouble() ? size.toInteger(-1) : -1;
        if (!name.isString() || name.toString().isEmpty() || name.toString().contains(QLatin1Char('/')) || bytes < 0
            || bytes > MaxExactJsonInteger || !sha256.isString() || !FileSha256::isDigest(sha256.toString()))
            throw damaged();
        files.push_back({name.toString(), int64_t(bytes), sha256.toString()});
    }
    return files;
}

QJsonArray pauseCausesToJson(const std::map<int32_t, QString> &causes)
{
    QJsonArray out;
    for (const auto &[startMs, cause] : causes)
        out.append(QJsonObject{{QStringLiteral("startMs"), startMs}, {QStringLiteral("cause"), cause}});
    return out;
}

std::map<int32_t, QString> pauseCausesFromJson(const QJsonValue &value, const QString &path)
{
    const auto damaged = [&] {
        return FileError(path, FileError::Kind::BadFormat,
                         QStringLiteral("\"pauseCauses\" is not a list of pauses with a start and a cause."));
    };
    if (!value.isArray())
        throw damaged();
    std::map<int32_t, QString> causes;
    for (const QJsonValue &item : value.toArray()) {
        const QJsonObject o = item.toObject();
        const QJsonValue start = o.value(QStringLiteral("startMs"));
        const QJsonValue cause = o.value(QStringLiteral("cause"));
        if (!start.isDouble() || !isCaseTime(start.toDouble()) || !cause.isString()
            || !ReviewFile::reviewerPauseCauses().contains(cause.toString())
            || !causes.emplace(int32_t(start.toDouble()), cause.toString()).second)
            throw damaged();
    }
    return causes;
}

std::vector<ReviewMarks::Span> spansFromJson(const QJsonValue &value, const QString &path, const char *key)
{
    const auto damaged = [&] {
        return FileError(path, FileError::Kind::BadFormat,
                         QStringLiteral("\"%1\" is not a list of [start, end] times.").arg(QLatin1String(key)));
    };
    if (!value.isArray())
        throw damaged();
    std::vector<ReviewMarks::Span> spans;
    for (const QJsonValue &item : value.toArray()) {
        const QJsonArray pair = item.toArray();
        if (pair.size() != 2 || !pair[0].isDouble() || !pair[1].isDouble())
            throw damaged();
        const double start = pair[0].toDouble();
        const double end = pair[1].toDouble();
        if (!isCaseTime(start) || !isCaseTime(end) || start > end)
            throw damaged();
        spans.emplace_back(int(start), int(end));
    }
    return spans;
}

template <typename Table>
std::vector<ReviewMarks::Span> spansOf(const Table &table)
{
    std::vector<ReviewMarks::Span> spans;
    table.forEachUsed([&](int, const auto &s) { spans.emplace_back(s.startMs, s.endMs); });
    return spans;
}
} // namespace

namespace ReviewFile {

const QStringList &reviewerPauseCauses()
{
    static const QStringList causes = {QStringLiteral("breaths"),      QStringLiteral("pads"),
                                       QStringLiteral("rhythm-check"), QStringLiteral("airway"),
                                       QStringLiteral("transport"),    QStringLiteral("other")};
    return causes;
}

QString pathFor(const QString &archivePath)
{
    return archivePath + QStringLiteral(".review.json");
}

ReviewMarks marksOf(const CaseStore &store, int slot)
{
    ReviewMarks marks;
    const CaseRecord *c = store.caseAt(slot);
    if (!c)
        return marks;
    marks.cprPeriods = spansOf(c->cprPeriods);
    marks.segments = spansOf(c->segments);
    const OpenCase *entry = store.find(slot);
    marks.viewed = entry->viewed;
    marks.adjustedStart = entry->adjustedStart;
    marks.adjustedZoneMinutes = entry->adjustedZoneMinutes;
    marks.recordingId = entry->recordingId;
    marks.companions = entry->companions;
    marks.pauseCauses = entry->pauseCauses;
    marks.model = entry->recordedModel;
    return marks;
}

QByteArray encode(const ReviewMarks &marks)
{
    QJsonObject o;
    o.insert(QStringLiteral("version"), marks.pauseCauses.empty() ? FormatVersion : PauseCausesVersion);
    if (!marks.recordingId.isEmpty())
        o.insert(QStringLiteral("recordingId"), marks.recordingId);
    if (!marks.model.isEmpty())
        o.insert(QStringLiteral("model"), marks.model);
    if (marks.companions)
        o.insert(QStringLiteral("companions"), companionsToJson(*marks.companions));
    if (marks.viewed)
        o.insert(QStringLiteral("viewed"), *marks.viewed);
    o.insert(QStringLiteral("adjustedStart"),
             marks.adjustedStart.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(marks.adjustedStart));
    if (!marks.adjustedStart.isEmpty() && marks.adjustedZoneMinutes)
        o.insert(QStringLiteral("adjustedStartZoneMinutes"), *marks.adjustedZoneMinutes);
    if (marks.cprPeriods)
        o.insert(QStringLiteral("cprPeriods"), spansToJson(*marks.cprPeriods));
    if (marks.segments)
        o.insert(QStringLiteral("segments"), spansToJson(*marks.segments));
    if (!marks.pauseCauses.empty())
        o.insert(QStringLiteral("pauseCauses"), pauseCausesToJson(marks.pauseCauses));
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

ReviewMarks decode(const QByteArray &bytes, const QString &path)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        throw FileError(path, FileError::Kind::BadFormat, QStringLiteral("It is not a review file of this program."));
    const QJsonObject o = doc.object();
    const QJsonValue version = o.value(QStringLiteral("version"));
    if (!version.isDouble()
        || (version.toDouble() != 1 && version.toDouble() != FormatVersion && version.toDouble() != PauseCausesVersion))
        throw FileError(path, FileError::Kind::BadFormat, QStringLiteral("Its version is not one this program reads."));

    ReviewMarks marks;
    if (const QJsonValue v = o.value(QStringLiteral("recordingId")); !v.isUndefined()) {
        if (!v.isString() || !FileSha256::isDigest(v.toString()))
            throw FileError(path, FileError::Kind::BadFormat, QStringLiteral("\"recordingId\" is not a recording ID."));
        marks.recordingId = v.toString();
    }
    if (const QJsonValue v = o.value(QStringLiteral("model")); !v.isUndefined()) {
        static const QStringList models = {QStringLiteral("Q21"), QStringLiteral("Q25"), QStringLiteral("Q26")};
        if (!models.contains(v.toString()))
            throw FileError(path, FileError::Kind::BadFormat, QStringLiteral("\"model\" is not Q21, Q25 or Q26."));
        marks.model = v.toString();
    }
    if (const QJsonValue v = o.value(QStringLiteral("companions")); !v.isUndefined())
        marks.companions = companionsFromJson(v, path);
    if (const QJsonValue v = o.value(QStringLiteral("viewed")); !v.isUndefined()) {
        if (!v.isBool())
            throw FileError(path, FileError::Kind::BadFormat, QStringLiteral("\"viewed\" is not true or false."));
        marks.viewed = v.toBool();
    }
    if (const QJsonValue v = o.value(QStringLiteral("adjustedStart")); !v.isUndefined() && !v.isNull()) {
        if (!v.isString() || !EventListText::parseStartInYears(v.toString()))
            throw FileError(path, FileError::Kind::BadFormat,
                            QStringLiteral("\"adjustedStart\" is not a date and time YYYY-MM-DD HH:MM:SS "
                                           "in the years 1970 to 2099."));
        marks.adjustedStart = v.toString();
    }
    if (const QJsonValue v = o.value(QStringLiteral("adjustedStartZoneMinutes")); !v.isUndefined() && !v.isNull()) {
        const double minutes = v.toDouble(-1e9);
        if (!v.isDouble() || minutes != double(int32_t(minutes)) || minutes < -720 || minutes > 840)
            throw FileError(path, FileError::Kind::BadFormat,
                            QStringLiteral("\"adjustedStartZoneMinutes\" is not a zone's minutes east of UTC."));
        if (!marks.adjustedStart.isEmpty())
            marks.adjustedZoneMinutes = int32_t(minutes);
    }
    if (const QJsonValue v = o.value(QStringLiteral("cprPeriods")); !v.isUndefined())
        marks.cprPeriods = spansFromJson(v, path, "cprPeriods");
    if (const QJsonValue v = o.value(QStringLiteral("segments")); !v.isUndefined())
        marks.segments = spansFromJson(v, path, "segments");
    if (const QJsonValue v = o.value(QStringLiteral("pauseCauses")); !v.isUndefined())
        marks.pauseCauses = pauseCausesFromJson(v, path);
    return marks;
}

void write(const QString &archivePath, const ReviewMarks &marks)
{
    AtomicFileWriter::writeOwn(pathFor(archivePath), encode(marks));
}

Reading read(const QString &archivePath)
{
    const QString path = pathFor(archivePath);
    const QFileInfo info(path);
    Reading reading;
    if (info.isSymLink()) {
        reading.kind = Reading::Kind::Link;
        reading.problem = QStringLiteral("%1 is a symbolic link: review marks are never read or written through one, "
                                         "so this case's marks are kept in memory only.")
                              .arg(QDir::toNativeSeparators(path));
        return reading;
    }
    if (!info.exists())
        return reading;
    try {
        reading.marks = decode(BinaryReader::readWholeFile(path, MaxReviewFileBytes), path);
        reading.kind = Reading::Kind::Marks;
    } catch (const FileError &error) {
        reading.kind = Reading::Kind::Unusable;
        reading.problem = error.message();
        reading.error = error;
    }
    return reading;
}

QString moveAside(const QString &archivePath)
{
    const QString path = pathFor(archivePath);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 1000; ++n) {
        const QString aside = archivePath + QStringLiteral(".review.") + stamp
                              + (n > 1 ? QStringLiteral("-%1").arg(n) : QString()) + QStringLiteral(".json");
        if (QFileInfo::exists(aside) || QFileInfo(aside).isSymLink())
            continue;
        QFile file(path);
        if (!file.rename(aside))
            throw FileError(path, FileError::Kind::WriteFailed, file.errorString());
        return aside;
    }
    throw FileError(path, FileError::Kind::WriteFailed, QStringLiteral("No free name to move it aside."));
}

void apply(CaseStore &store, int slot, const ReviewMarks &marks)
{
    CaseRecord *c = store.caseAt(slot);
    if (!c)
        return;
    if (marks.cprPeriods) {
        c->cprPeriods.clear();
        for (const auto &[start, end] : *marks.cprPeriods)
            if (c->cprPeriods.add(CprPeriod{start, end}) < 0)
                break;
    }
    if (marks.segments) {
        c->segments.clear();
        for (const auto &[start, end] : *marks.segments)
            if (c->segments.add(EcgSegment{start, end}) < 0)
                break;
    }
    if (marks.viewed)
        store.at(slot).viewed = *marks.viewed;
    store.at(slot).adjustedStart = marks.adjustedStart;
    store.at(slot).adjustedZoneMinutes = marks.adjustedZoneMinutes;
    store.at(slot).pauseCauses = marks.pauseCauses;
    store.at(slot).recordedModel = marks.model;
}

} // namespace ReviewFile
