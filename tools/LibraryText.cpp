#include "tools/LibraryText.h"

#include "base/CTime.h"
#include "library/LibraryFilter.h"
#include "cpr/CprQuality.h"
#include "cpr/HandsOff.h"
#include "tools/OrderedJson.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>
#include <QStringList>
#include <array>
#include <optional>

namespace {

// One member of a row: its name and its value as JSON text and as a CSV field.
struct Field
{
    const char *name;
    QString json;
    QString csv;
};

QString csvQuoted(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

Field text(const char *name, const QString &value) { return {name, jsonQuoted(value), csvQuoted(value)}; }
Field number(const char *name, qint64 value) { return {name, QString::number(value), QString::number(value)}; }
Field flag(const char *name, bool value)
{
    const QString t = value ? QStringLiteral("true") : QStringLiteral("false");
    return {name, t, t};
}
Field real(const char *name, std::optional<double> value)
{
    const QString t = value ? QString::number(*value, 'g', QLocale::FloatingPointShortest) : QString();
    return {name, value ? t : QStringLiteral("null"), t};
}
Field integer(const char *name, std::optional<int64_t> value)
{
    return {name, value ? QString::number(*value) : QStringLiteral("null"), value ? QString::number(*value) : QString()};
}

Field meanDepth(std::optional<double> inches, CprDepthUnit unit)
{
    if (unit == CprDepthUnit::Inches)
        return real("meanDepthIn", inches);
    return real("meanDepthCm", inches ? std::optional<double>(inchesToCm(*inches)) : std::nullopt);
}

QList<Field> fieldsOf(const LibraryCase &c, CprDepthUnit unit)
{
    return {text("path", c.path), number("sizeBytes", c.sizeBytes), number("modifiedMs", c.modifiedMs),
            text("sha256", c.sha256), text("model", c.model), text("serialNumber", c.serialNumber),
            number("startTime", c.startTime), flag("startTimeValid", c.startTimeValid), text("startDay", c.startDay),
            number("durationMs", c.durationMs), number("eventCount", c.eventCount), number("shockCount", c.shockCount),
            number("analysisCount", c.analysisCount), flag("hasCprFeedback", c.hasCprFeedback),
            flag("hasAudio", c.hasAudio), number("annotationCount", c.annotationCount), text("patientId", c.patientId),
            text("lastName", c.lastName), text("firstName", c.firstName), text("comments", c.comments),
            real("ccf", c.ccf), real("meanRatePerMin", c.meanRatePerMin), real("rateInTarget", c.rateInTarget),
            meanDepth(c.meanDepthIn, unit), real("depthInTarget", c.depthInTarget),
            integer("longestPauseMs", c.longestPauseMs), integer("maxPreShockPauseMs", c.maxPreShockPauseMs),
            integer("maxPostShockPauseMs", c.maxPostShockPauseMs), number("indexedAt", c.indexedAt),
            text("recordingId", c.recordingId), text("reviewStatus", reviewStageKey(c.review.stage)),
            text("assignee", c.review.assignee)};
}

// "handsOffUntilAnalysisMs" .. "handsOffTransportMs", in PauseCause order.
const std::array<QByteArray, PauseCauseCount> &handsOffCauseNames()
{
    static const std::array<QByteArray, PauseCauseCount> names = [] {
        std::array<QByteArray, PauseCauseCount> out;
        for (std::size_t k = 0; k < PauseCauseCount; ++k) {
            QByteArray name = "handsOff";
            for (const QString &word : pauseCauseName(PauseCause(k)).split(QLatin1Char('-')))
                name += word.left(1).toUpper().toLatin1() + word.mid(1).toLatin1();
            out[k] = name + "Ms";
        }
        return out;
    }();
    return names;
}

QList<Field> fieldsOf(const LibraryStatsRow &r, LibraryGrouping grouping, double ccfTarget)
{
    QList<Field> fields;
    if (grouping == LibraryGrouping::Month)
        fields << text("month", r.group);
    else if (grouping == LibraryGrouping::Device)
        fields << text("serialNumber", r.group) << text("model", r.model);
    fields << number("cases", r.cases) << number("shocks", r.shocks) << number("casesWithCcf", r.casesWithCcf)
           << real("medianCcf", r.medianCcf) << real("lowerQuartileCcf", r.lowerQuartileCcf)
           << real("upperQuartileCcf", r.upperQuartileCcf) << real("ccfTarget", ccfTarget)
           << real("shareCcfAtTarget", r.shareCcfAtTarget)
           << real("shareShocksPreShockPauseAtMost10s", r.shareShocksPreShockPauseAtMost10s)
           << real("shareShocksPreShockPauseAtMost20s", r.shareShocksPreShockPauseAtMost20s)
           << real("medianAnalysisMs", r.medianAnalysisMs) << real("medianToShockMs", r.medianToShockMs)
           << real("medianPreShockPauseMs", r.medianPreShockPauseMs)
           << real("medianToFirstAnalysisMs", r.medianToFirstAnalysisMs)
           << real("medianToFirstShockMs", r.medianToFirstShockMs)
           << real("medianToFirstCompressionMs", r.medianToFirstCompressionMs)
           << real("shareHandsOffOther", r.shareHandsOffOther) << integer("handsOffMs", r.handsOffMs);
    for (std::size_t k = 0; k < PauseCauseCount; ++k)
        fields << integer(handsOffCauseNames()[k].constData(),
                          r.handsOffByCauseMs ? std::optional<int64_t>((*r.handsOffByCauseMs)[k]) : std::nullopt);
    return fields;
}

QString jsonOf(const QList<QList<Field>> &rows)
{
    QStringList objects;
    for (const QList<Field> &row : rows) {
        OrderedJsonObject o;
        for (const Field &f : row)
            o.add(f.name, f.json);
        objects << QStringLiteral("  ") + o.toInlineJson();
    }
    if (objects.isEmpty())
        return QStringLiteral("[]\n");
    return QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n");
}

QString csvOf(const QList<Field> &header, const QList<QList<Field>> &rows)
{
    QStringList names;
    for (const Field &f : header)
        names << QLatin1String(f.name);
    QString out = names.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const QList<Field> &row : rows) {
        QStringList fields;
        for (const Field &f : row)
            fields << f.csv;
        out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

// Columns padded to their widest cell; the last one is not padded.
QString tableOf(const QList<QStringList> &lines)
{
    QList<int> widths;
    for (const QStringList &line : lines)
        for (int i = 0; i < line.size(); ++i) {
            if (i >= widths.size())
                widths << 0;
            widths[i] = std::max(widths[i], int(line[i].size()));
        }
    QString out;
    for (const QStringList &line : lines) {
        QStringList cells;
        for (int i = 0; i < line.size(); ++i)
            cells << (i + 1 < line.size() ? line[i].leftJustified(widths[i]) : line[i]);
        out += cells.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    return out;
}

QString percent(std::optional<double> share)
{
    return share ? QString::number(*share * 100.0, 'f', 1) + QStringLiteral(" %") : QStringLiteral("-");
}

QString seconds(std::optional<double> ms)
{
    return ms ? QString::number(*ms / 1000.0, 'f', 1) : QStringLiteral("-");
}

QString utcTime(int64_t ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc()).toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"));
}

QList<Field> fieldsOf(const AuditEntry &e)
{
    return {number("id", e.id), text("time", utcTime(e.atMs)), number("atMs", e.atMs), text("reviewer", e.reviewer),
            text("host", e.host), text("recordingId", e.recordingId), text("archivePath", e.archivePath),
            text("action", e.action), text("details", e.details)};
}

} // namespace

QString libraryAuditText(const std::vector<AuditEntry> &entries, LibraryFormat format)
{
    if (format == LibraryFormat::Table) {
        QList<QStringList> lines = {{QStringLiteral("Time (UTC)"), QStringLiteral("Reviewer"), QStringLiteral("Host"),
                                     QStringLiteral("Recording"), QStringLiteral("Action"), QStringLiteral("Details"),
                                     QStringLiteral("Archive")}};
        for (const AuditEntry &e : entries)
            lines << QStringList{utcTime(e.atMs), e.reviewer, e.host, e.recordingId.left(12), e.action,
                                 e.details.isEmpty() ? QStringLiteral("-") : e.details, e.archivePath};
        return tableOf(lines);
    }
    QList<QList<Field>> rows;
    for (const AuditEntry &e : entries)
        rows << fieldsOf(e);
    return format == LibraryFormat::Json ? jsonOf(rows) : csvOf(fieldsOf(AuditEntry()), rows);
}

QString reviewStatusText(const QString &recordingId, const ReviewStatus &status)
{
    const auto when = [](int64_t seconds) { return utcTime(seconds * 1000); };
    QList<QStringList> lines = {{QStringLiteral("recording"), recordingId},
                                {QStringLiteral("status"), reviewStageKey(status.stage)},
                                {QStringLiteral("assignee"), status.assignee.isEmpty() ? QStringLiteral("-") : status.assignee}};
    if (!status.note.isEmpty())
        lines << QStringList{QStringLiteral("note"), status.note};
    if (status.changedAt > 0)
        lines << QStringList{QStringLiteral("changed"), QStringLiteral("%1 by %2 on %3")
                                                            .arg(when(status.changedAt), status.changedBy, status.changedHost)};
    if (status.reviewedAt)
        lines << QStringList{QStringLiteral("reviewed"), QStringLiteral("%1 by %2").arg(when(*status.reviewedAt), status.reviewedBy)};
    return tableOf(lines);
}

QString libraryCasesText(const std::vector<LibraryCase> &cases, LibraryFormat format, CprDepthUnit unit,
                         int32_t offsetMinutes)
{
    if (format == LibraryFormat::Table) {
        QList<QStringList> lines = {{QStringLiteral("Start"), QStringLiteral("Model"), QStringLiteral("Serial"),
                                     QStringLiteral("Shocks"), QStringLiteral("CCF"), QStringLiteral("Patient"),
                                     QStringLiteral("Status"), QStringLiteral("Assignee"), QStringLiteral("Path")}};
        for (const LibraryCase &c : cases)
            lines << QStringList{c.startTimeValid ? libraryClockTime(c.startTime, offsetMinutes).Format("%Y-%m-%d %H:%M") : QStringLiteral("-"),
                                 c.model,
                                 c.serialNumber,
                                 QString::number(c.shockCount),
                                 percent(c.ccf),
                                 c.patientId.isEmpty() ? QStringLiteral("-") : c.patientId,
                                 reviewStageKey(c.review.stage),
                                 c.review.assignee.isEmpty() ? QStringLiteral("-") : c.review.assignee,
                                 c.path};
        return tableOf(lines);
    }
    QList<QList<Field>> rows;
    for (const LibraryCase &c : cases)
        rows << fieldsOf(c, unit);
    return format == LibraryFormat::Json ? jsonOf(rows) : csvOf(fieldsOf(LibraryCase(), unit), rows);
}

QString libraryStatsText(const std::vector<LibraryStatsRow> &stats, LibraryGrouping grouping, LibraryFormat format,
                         double ccfTarget)
{
    if (format == LibraryFormat::Table) {
        const QString group = grouping == LibraryGrouping::Month    ? QStringLiteral("Month")
                              : grouping == LibraryGrouping::Device ? QStringLiteral("Device")
                                                                    : QStringLiteral("All");
        QList<QStringList> lines = {{group,
                                     QStringLiteral("Cases"), QStringLiteral("Shocks"), QStringLiteral("Median CCF"),
                                     QStringLiteral("CCF >= ") + percent(ccfTarget).remove(QStringLiteral(".0")), QStringLiteral("Pre-shock pause <= 10 s"),
                                     QStringLiteral("Median analysis (s)"), QStringLiteral("Median to shock (s)"),
                                     QStringLiteral("Median pre-shock pause (s)"), QStringLiteral("Hands-off without a cause")}};
        for (const LibraryStatsRow &r : stats)
            lines << QStringList{grouping == LibraryGrouping::All ? QStringLiteral("(all)")
                                 : r.group.isEmpty()              ? QStringLiteral("(unknown)")
                                                                  : r.group,
                                 QString::number(r.cases),
                                 QString::number(r.shocks),
                                 percent(r.medianCcf),
                                 percent(r.shareCcfAtTarget),
                                 percent(r.shareShocksPreShockPauseAtMost10s),
                                 seconds(r.medianAnalysisMs),
                                 seconds(r.medianToShockMs),
                                 seconds(r.medianPreShockPauseMs),
                                 percent(r.shareHandsOffOther)};
        return tableOf(lines);
    }
    QList<QList<Field>> rows;
    for (const LibraryStatsRow &r : stats)
        rows << fieldsOf(r, grouping, ccfTarget);
    return format == LibraryFormat::Json ? jsonOf(rows) : csvOf(fieldsOf(LibraryStatsRow(), grouping, ccfTarget), rows);
}
