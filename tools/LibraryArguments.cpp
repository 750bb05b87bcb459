#include "tools/LibraryArguments.h"
#include "tools/CliOutput.h"

#include "device/TimeZoneTable.h"
#include "tools/ZoneChoice.h"
#include "tools/ArchiveCommandArguments.h"

#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>
#include <QTimeZone>

namespace {

LibraryArguments failure(const QString &message)
{
    LibraryArguments a;
    a.message = message;
    return a;
}

QCommandLineOption option(const char *name, const char *description, const char *valueName = nullptr)
{
    return valueName ? QCommandLineOption(QLatin1String(name), QLatin1String(description), QLatin1String(valueName))
                     : QCommandLineOption(QLatin1String(name), QLatin1String(description));
}

} // namespace

LibraryArguments LibraryArguments::parse(const QStringList &arguments)
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption db = option("db",
                                         "The library: a PostgreSQL URL (postgresql://user@host:port/db, or "
                                         "postgresql://user@/db?host=/socket/folder; the password comes from "
                                         "PGPASSWORD or ~/.pgpass) or a SQLite file (default: library.sqlite in "
                                         "the program's data folder).",
                                         "URL");
    const QCommandLineOption from = option("from", "Cases started on this day or later (YYYY-MM-DD).", "DATE");
    const QCommandLineOption to = option("to", "Cases started on this day or earlier (YYYY-MM-DD).", "DATE");
    const QCommandLineOption serial = option("serial", "Cases of this device serial number.", "SN");
    const QCommandLineOption model = option("model", "Cases of this model: Q21, Q25 or Q26.", "MODEL");
    const QCommandLineOption minShocks = option("min-shocks", "Cases with at least N shocks.", "N");
    const QCommandLineOption ccfBelow =
        option("ccf-below", "Cases whose compression fraction is below X (0..1); cases without one are left out.", "X");
    const QCommandLineOption search =
        option("search", "Cases whose patient ID, names or comments contain TEXT (any case).", "TEXT");
    const QCommandLineOption status =
        option("status", "list: cases whose review is at this stage: new, in-review, reviewed or follow-up.", "STAGE");
    const QCommandLineOption assignee = option("assignee", "list: cases whose review is assigned to NAME.", "NAME");
    const QCommandLineOption set =
        option("set", "status: moves the review to this stage: new, in-review, reviewed or follow-up.", "STAGE");
    const QCommandLineOption assign = option("assign", "status: assigns the review to NAME (\"\" for nobody).", "NAME");
    const QCommandLineOption note = option("note", "status: the review's note (what the follow-up is for).", "TEXT");
    const QCommandLineOption recording = option("recording", "audit: the entries of this recording ID only.", "ID");
    const QCommandLineOption format = option("format", "table (default), json or csv.", "FORMAT");
    const QCommandLineOption by = option("by", "stats: one row per month (default), per device, or all in one row.", "GROUP");
    const QCommandLineOption zone =
        option("zone",
               "list, stats, report: the zone whose days and months --from, --to, the list and the summary are: time-zone "
               "row 0..178 of the Open dialog, or \"local\" for this computer's zone (default: the device's own "
               "clock, the same on every computer).",
               "N");
    const QCommandLineOption depthUnit = option("depth-unit", "list: in (default) or cm, the unit of the mean depth.", "UNIT");
    const QCommandLineOption ccfTarget = option(
        "ccf-target", "stats, report: the compression fraction a case should reach (0..1, default 0.8).", "X");
    const QCommandLineOption pdf = option("pdf", "report: writes the QA report as PDF to FILE.", "FILE");
    const QCommandLineOption csv =
        option("csv", "report: also writes its tables (by month, then by device) as CSV to FILE.", "FILE");
    const QCommandLineOption anonymize =
        option("anonymize", "report: names no patient (no names, no patient IDs) in the list of cases to look at.");
    const QCommandLineOption overwrite = overwriteOption(QStringLiteral("report: replaces output files that exist."));
    const QCommandLineOption pack = languagePackOption();

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(help);
    parser.addOptions({db, from, to, serial, model, minShocks, ccfBelow, search, status, assignee, set, assign, note,
                       recording, format, by, zone, depthUnit, ccfTarget, pdf, csv, anonymize, overwrite, pack});
    parser.addPositionalArgument(QStringLiteral("ACTION"),
                                 QStringLiteral("add PATH... (archives, or folders searched for .aed files), list, "
                                                "stats, report (the QA report of the cases as PDF), prune (drops the rows whose archive is gone), status "
                                                "ARCHIVE|RECORDING-ID (shows or changes a recording's review) or "
                                                "audit (the audit trail, oldest first; dates are UTC days)."));
    if (!parser.parse(arguments))
        return failure(parser.errorText());

    LibraryArguments a;
    if (parser.isSet(help)) {
        a.outcome = Outcome::Help;
        a.message = QStringLiteral("usage: ravelin-cli ") + QLatin1String(LibrarySynopsis)
            + QStringLiteral("\n\nThe case library: an index of archives with their facts and CPR quality measures,"
                             "\nfor lists and summaries over many rescues.\n\n")
            + parser.helpText().section(QLatin1Char('\n'), 2);
        return a;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return failure(QStringLiteral("no action given (add, list, stats, report, prune, status or audit)"));
    const QString action = positional.takeFirst();
    if (action == QLatin1String("add"))
        a.action = Action::Add;
    else if (action == QLatin1String("list"))
        a.action = Action::List;
    else if (action == QLatin1String("stats"))
        a.action = Action::Stats;
    else if (action == QLatin1String("report"))
        a.action = Action::Report;
    else if (action == QLatin1String("prune"))
        a.action = Action::Prune;
    else if (action == QLatin1String("status"))
        a.action = Action::Status;
    else if (action == QLatin1String("audit"))
        a.action = Action::Audit;
    else
        return failure(QStringLiteral("unknown action \"%1\" (add, list, stats, report, prune, status or audit)").arg(action));
    if (a.action == Action::Add && positional.isEmpty())
        return failure(QStringLiteral("add: no archive or folder given"));
    if (a.action == Action::Status && positional.size() != 1)
        return failure(QStringLiteral("status: give one archive or recording ID"));
    if (a.action != Action::Add && a.action != Action::Status && !positional.isEmpty())
        return failure(QStringLiteral("%1 takes no paths, got: %2").arg(action, positional.join(QLatin1Char(' '))));
    a.paths = positional;

    const bool queries = a.action == Action::List || a.action == Action::Stats || a.action == Action::Report;
    for (const QCommandLineOption *o : {&serial, &model, &minShocks, &ccfBelow, &search, &status, &assignee})
        if (!queries && parser.isSet(*o))
            return failure(QStringLiteral("--%1 belongs to list, stats and report").arg(o->names().first()));
    for (const QCommandLineOption *o : {&from, &to})
        if (!queries && a.action != Action::Audit && parser.isSet(*o))
            return failure(QStringLiteral("--%1 belongs to list, stats, report and audit").arg(o->names().first()));
    for (const QCommandLineOption *o : {&pdf, &csv, &anonymize, &overwrite})
        if (a.action != Action::Report && parser.isSet(*o))
            return failure(QStringLiteral("--%1 belongs to report").arg(o->names().first()));
    if (a.action != Action::Stats && a.action != Action::Report && parser.isSet(ccfTarget))
        return failure(QStringLiteral("--ccf-target belongs to stats and report"));
    if (a.action == Action::Report && parser.isSet(format))
        return failure(QStringLiteral("--format does not belong to report (it writes --pdf and --csv)"));
    if (a.action == Action::Report && parser.value(pdf).isEmpty())
        return failure(QStringLiteral("report: --pdf FILE is needed"));
    a.pdfPath = parser.value(pdf);
    a.csvPath = parser.value(csv);
    a.anonymize = parser.isSet(anonymize);
    a.overwrite = parser.isSet(overwrite);
    if (!a.csvPath.isEmpty() && QFileInfo(a.csvPath).absoluteFilePath() == QFileInfo(a.pdfPath).absoluteFilePath())
        return failure(QStringLiteral("--pdf and --csv name the same file"));
    if (!queries && a.action != Action::Audit && parser.isSet(format))
        return failure(QStringLiteral("--format belongs to list, stats and audit"));
    for (const QCommandLineOption *o : {&set, &assign, &note})
        if (a.action != Action::Status && parser.isSet(*o))
            return failure(QStringLiteral("--%1 belongs to status").arg(o->names().first()));
    if (a.action != Action::Audit && parser.isSet(recording))
        return failure(QStringLiteral("--recording belongs to audit"));
    if (a.action != Action::Stats && parser.isSet(by))
        return failure(QStringLiteral("--by belongs to stats"));
    if (!queries && parser.isSet(zone))
        return failure(QStringLiteral("--zone belongs to list, stats and report"));
    if (parser.isSet(zone)) {
        const QString value = parser.value(zone);
        bool ok = false;
        const int row = value == QLatin1String("local") ? TimeZoneTable::preselectedRow(computerZoneOffset())
                                                        : value.toInt(&ok);
        if (value != QLatin1String("local") && (!ok || row < 0 || row >= TimeZoneTable::RowCount))
            return failure(QStringLiteral("--zone must be a row from 0 to %1 or \"local\", not \"%2\"")
                               .arg(TimeZoneTable::RowCount - 1)
                               .arg(value));
        a.filter.zoneOffsetMinutes = TimeZoneTable::offsetOfRow(row);
    }
    if (a.action != Action::List && parser.isSet(depthUnit))
        return failure(QStringLiteral("--depth-unit belongs to list"));

    QString why;
    if (parser.isSet(depthUnit) && !parseDepthUnit(parser.value(depthUnit), a.depthUnit, why))
        return failure(why);
    if (parser.isSet(from) && (a.filter.fromDay = checkedLibraryDay(parser.value(from), why)).isEmpty())
        return failure(QStringLiteral("--from: ") + why);
    if (parser.isSet(to) && (a.filter.toDay = checkedLibraryDay(parser.value(to), why)).isEmpty())
        return failure(QStringLiteral("--to: ") + why);
    if (a.action == Action::Audit) {
        // The trail's days are UTC days, from the first to the last millisecond.
        if (!a.filter.fromDay.isEmpty())
            a.audit.fromMs = QDate::fromString(a.filter.fromDay, QStringLiteral("yyyy-MM-dd"))
                                 .startOfDay(QTimeZone::utc())
                                 .toMSecsSinceEpoch();
        if (!a.filter.toDay.isEmpty())
            a.audit.toMs = QDate::fromString(a.filter.toDay, QStringLiteral("yyyy-MM-dd"))
                               .addDays(1)
                               .startOfDay(QTimeZone::utc())
                               .toMSecsSinceEpoch()
                           - 1;
        a.audit.recordingId = parser.value(recording).trimmed().toLower();
    }
    const auto stageOf = [&parser](const QCommandLineOption &o, std::optional<ReviewStatus::Stage> &stage) {
        if (!parser.isSet(o))
            return true;
        stage = reviewStageOfKey(parser.value(o));
        return stage.has_value();
    };
    if (!stageOf(status, a.filter.stage))
        return failure(QStringLiteral("--status must be new, in-review, reviewed or follow-up, not \"%1\"").arg(parser.value(status)));
    a.filter.assignee = parser.value(assignee).trimmed();
    if (!stageOf(set, a.change.stage))
        return failure(QStringLiteral("--set must be new, in-review, reviewed or follow-up, not \"%1\"").arg(parser.value(set)));
    if (parser.isSet(assign))
        a.change.assignee = parser.value(assign).trimmed();
    if (parser.isSet(note)) {
        a.change.note = parser.value(note).trimmed();
        if (a.change.note->size() > 500)
            return failure(QStringLiteral("--note: at most 500 characters"));
    }
    a.filter.serialNumber = parser.value(serial);
    if (parser.isSet(model)) {
        a.filter.model = parser.value(model).toUpper();
        if (a.filter.model != QLatin1String("Q21") && a.filter.model != QLatin1String("Q25")
            && a.filter.model != QLatin1String("Q26"))
            return failure(QStringLiteral("--model must be Q21, Q25 or Q26, not \"%1\"").arg(parser.value(model)));
    }
    bool ok = true;
    if (parser.isSet(minShocks)) {
        const int n = parser.value(minShocks).toInt(&ok);
        if (!ok || n < 0)
            return failure(QStringLiteral("--min-shocks must be a whole number of 0 or more, not \"%1\"")
                               .arg(parser.value(minShocks)));
        a.filter.minShocks = n;
    }
    if (parser.isSet(ccfBelow)) {
        const double x = parser.value(ccfBelow).toDouble(&ok);
        if (!ok || x < 0 || x > 1)
            return failure(QStringLiteral("--ccf-below must be a fraction from 0 to 1, not \"%1\"").arg(parser.value(ccfBelow)));
        a.filter.ccfBelow = x;
    }
    a.filter.search = parser.value(search);
    if (parser.isSet(ccfTarget)) {
        const double x = parser.value(ccfTarget).toDouble(&ok);
        if (!ok || x < 0 || x > 1)
            return failure(QStringLiteral("--ccf-target must be a fraction from 0 to 1, not \"%1\"").arg(parser.value(ccfTarget)));
        a.ccfTarget = x;
    }

    const QString f = parser.isSet(format) ? parser.value(format).toLower() : QStringLiteral("table");
    if (f == QLatin1String("table"))
        a.format = LibraryFormat::Table;
    else if (f == QLatin1String("json"))
        a.format = LibraryFormat::Json;
    else if (f == QLatin1String("csv"))
        a.format = LibraryFormat::Csv;
    else
        return failure(QStringLiteral("--format must be table, json or csv, not \"%1\"").arg(parser.value(format)));

    const QString g = parser.isSet(by) ? parser.value(by).toLower() : QStringLiteral("month");
    if (g == QLatin1String("month"))
        a.grouping = LibraryGrouping::Month;
    else if (g == QLatin1String("device"))
        a.grouping = LibraryGrouping::Device;
    else if (g == QLatin1String("all"))
        a.grouping = LibraryGrouping::All;
    else
        return failure(QStringLiteral("--by must be month, device or all, not \"%1\"").arg(parser.value(by)));

    a.db = parser.value(db);
    a.languagePack = parser.value(pack);
    a.outcome = Outcome::Run;
    return a;
}
