#pragma once

#include "cpr/CprReviewSettings.h"
#include "cpr/CprQualitySettings.h"
#include "library/AuditEntry.h"
#include "library/LibraryFilter.h"
#include "library/ReviewStatus.h"
#include "library/LibraryStatsRow.h"
#include "tools/CommandArgumentParser.h"
#include "tools/LibraryText.h"

#include <QString>
#include <QStringList>

// The arguments of "ravelin-cli library", checked.
struct LibraryArguments
{
    using Outcome = ArgumentOutcome;
    enum class Action { Add, List, Stats, Report, Prune, Status, Audit };

    Outcome outcome = Outcome::Error;
    Action action = Action::List;
    QString db;                      // --db: "" for the default SQLite file
    QStringList paths;               // add: archives and folders; status: one archive or recording ID
    ReviewStatusChange change;       // status: --set, --assign, --note
    AuditQuery audit;                // audit: --recording, --from, --to
    LibraryFilter filter;            // list, stats, report
    double ccfTarget = CprQualitySettings().ccfTarget; // stats, report: --ccf-target, 0..1
    QString pdfPath;                 // report: --pdf
    QString csvPath;                 // report: --csv ("" for none)
    bool anonymize = false;          // report: no patient names or IDs
    bool overwrite = false;          // report: replaces existing output files
    LibraryFormat format = LibraryFormat::Table;
    LibraryGrouping grouping = LibraryGrouping::Month;
    CprDepthUnit depthUnit = CprDepthUnit::Inches; // list: of the mean depth
    QString languagePack;            // a string.txt for the event texts; "" for the built-in pack
    QString message;                 // the help text, or what is wrong with the arguments

    // arguments[0] is the command's name ("ravelin-cli library"), the rest its own.
    static LibraryArguments parse(const QStringList &arguments);
};

inline constexpr char LibrarySynopsis[] =
    "library [--db URL] add PATH... | list [--from DATE] [--to DATE] [--serial SN] [--model Q21|Q25|Q26] "
    "[--min-shocks N] [--ccf-below X] [--search TEXT] [--status new|in-review|reviewed|follow-up] [--assignee NAME] "
    "[--zone N|local] [--depth-unit in|cm] [--format table|json|csv] | stats [--by month|device|all] [filters] "
    "[--ccf-target X] [--format table|json|csv] | "
    "report [filters] [--ccf-target X] --pdf FILE [--csv FILE] [--anonymize] [--overwrite] | prune | "
    "status ARCHIVE|RECORDING-ID [--set new|in-review|reviewed|follow-up] [--assign NAME] [--note TEXT] | "
    "audit [--recording ID] [--from DATE] [--to DATE] [--format table|json|csv]";
