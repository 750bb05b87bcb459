#include "case/ReviewFile.h"

#include "base/AtomicFileWriter.h"
#include "base/BinaryReader.h"
#include "base/FileError.h"
#include "case/CaseStore.h"
#include "case/EventListText.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
constexpr int FormatVersion = 1;
// A review file holds two small tables and two values: anything larger is not one.
constexpr qint64 MaxReviewFileBytes = 1 << 20;

QJsonArray spansToJson(const std::vector<ReviewMarks::Span> &spans)
{
    QJsonArray out;
    for (const auto &[start, end] : spans)
        out.append(QJsonArray{start, end});
    return out;
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
        if (start != double(int(start)) || end != double(int(end)) || start > end)
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
    return marks;
}

QByteArray encode(const ReviewMarks &marks)
{
    QJsonObject o;
    o.insert(QStringLiteral("version"), FormatVersion);
    if (marks.viewed)
        o.insert(QStringLiteral("viewed"), *marks.viewed);
    o.insert(QStringLiteral("adjustedStart"),
             marks.adjustedStart.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(marks.adjustedStart));
    if (marks.cprPeriods)
        o.insert(QStringLiteral("cprPeriods"), spansToJson(*marks.cprPeriods));
    if (marks.segments)
        o.insert(QStringLiteral("segments"), spansToJson(*marks.segments));
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

ReviewMarks decode(const QByteArray &bytes, const QString &path)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        throw FileError(path, FileError::Kind::BadFormat, QStringLiteral("It is not a review file of this program."));
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("version")).toInt() != FormatVersion)
        throw FileError(path, FileError::Kind::BadFormat, QStringLiteral("Its version is not one this program reads."));

    ReviewMarks marks;
    if (const QJsonValue v = o.value(QStringLiteral("viewed")); !v.isUndefined()) {
        if (!v.isBool())
            throw FileError(path, FileError::Kind::BadFormat, QStringLiteral("\"viewed\" is not true or false."));
        marks.viewed = v.toBool();
    }
    if (const QJsonValue v = o.value(QStringLiteral("adjustedStart")); !v.isUndefined() && !v.isNull()) {
        if (!v.isString() || !EventListText::parseStrictStart(v.toString()))
            throw FileError(path, FileError::Kind::BadFormat,
                            QStringLiteral("\"adjustedStart\" is not a date and time YYYY-MM-DD HH:MM:SS."));
        marks.adjustedStart = v.toString();
    }
    if (const QJsonValue v = o.value(QStringLiteral("cprPeriods")); !v.isUndefined())
        marks.cprPeriods = spansFromJson(v, path, "cprPeriods");
    if (const QJsonValue v = o.value(QStringLiteral("segments")); !v.isUndefined())
        marks.segments = spansFromJson(v, path, "segments");
    return marks;
}

void write(const QString &archivePath, const ReviewMarks &marks)
{
    AtomicFileWriter::write(pathFor(archivePath), encode(marks));
}

std::optional<ReviewMarks> read(const QString &archivePath)
{
    const QString path = pathFor(archivePath);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    return decode(BinaryReader::readWholeFile(path, MaxReviewFileBytes), path);
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
}

} // namespace ReviewFile
