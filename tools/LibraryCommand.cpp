// "ravelin-cli library ...": the case library from the command line, for scheduled indexing.
#include "archive/AedArchiveReader.h"
#include "base/BinaryReader.h"
#include "base/FileError.h"
#include "base/FileSha256.h"
#include "library/CaseLibrary.h"
#include "library/LibraryIndexer.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/CliLibrary.h"
#include "tools/LibraryArguments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

int add(CaseLibrary &library, LanguagePack &texts, const LibraryArguments &args, QTextStream &err, const QString &name)
{
    QStringList missing;
    QStringList undecodable;
    const QStringList archives = archivesUnder(args.paths, &missing, &undecodable);
    for (const QString &path : missing)
        err << name << ": \"" << QDir::toNativeSeparators(path) << "\" is neither an archive nor a folder\n";
    for (const QString &why : undecodable)
        err << name << ": " << why << "\n";
    LibraryIndexer indexer(library, texts);
    const LibraryAddSummary summary = indexer.addAll(archives);
    for (const QString &why : summary.failed)
        err << name << ": " << why << "\n";
    const qsizetype failed = summary.failed.size() + missing.size() + undecodable.size();
    QTextStream(stdout) << "added " << summary.added << ", updated " << summary.updated << ", unchanged "
                        << summary.unchanged << ", failed " << failed << "\n";
    if (!summary.libraryError.isEmpty()) {
        err << name << ": " << summary.libraryError << "\n";
        return 1;
    }
    return failed == 0 ? 0 : 1;
}

// The recording an argument names: a recording ID as it stands, else the archive's (from its
// row in the library, else read from the file). "" with why when it names neither.
QString recordingOf(CaseLibrary &library, const QString &argument, QString &archivePath, QString &why)
{
    if (FileSha256::isDigest(argument.trimmed().toLower()))
        return argument.trimmed().toLower();
    if (!QFileInfo(argument).isFile()) {
        why = QStringLiteral("\"%1\" is neither an archive nor a recording ID").arg(QDir::toNativeSeparators(argument));
        return QString();
    }
    archivePath = libraryPathOf(argument);
    std::optional<CaseLibrary::Fingerprint> stored;
    if (library.fingerprint(archivePath, stored) && stored && !stored->recordingId.isEmpty())
        return stored->recordingId;
    try {
        QFile file(argument);
        if (!file.open(QIODevice::ReadOnly))
            throw FileError(argument, FileError::Kind::OpenFailed, file.errorString());
        BinaryReader in(file.readAll(), argument);
        return ParseAedArchive(in).recordingId;
    } catch (const FileError &e) {
        why = e.message();
        return QString();
    }
}

int reviewStatus(CaseLibrary &library, const LibraryArguments &args, QTextStream &err, const QString &name)
{
    QString archivePath, why;
    const QString recordingId = recordingOf(library, args.paths.value(0), archivePath, why);
    if (recordingId.isEmpty()) {
        err << name << ": " << why << "\n";
        return 1;
    }
    ReviewStatus now;
    const bool ok = args.change.isEmpty()
                        ? library.reviewStatus(recordingId, now)
                        : library.changeReviewStatus(recordingId, archivePath, args.change, ReviewerIdentity::current(), &now);
    if (!ok) {
        err << name << ": " << library.errorText() << "\n";
        return 1;
    }
    QTextStream(stdout) << reviewStatusText(recordingId, now);
    return 0;
}

int runLibrary(const QStringList &arguments)
{
    const LibraryArguments args = LibraryArguments::parse(arguments);
    QTextStream err(stderr);
    const QString name = arguments.value(0);
    LanguagePack texts;
    int status = 0;
    if (!startCommand(args.outcome, args.message, args.languagePack, name, LibrarySynopsis, err, texts, status))
        return status;

    const std::unique_ptr<CaseLibrary> opened = openCliLibrary(args.db, err, name);
    if (!opened)
        return 1;
    CaseLibrary &library = *opened;

    QTextStream out(stdout);
    switch (args.action) {
    case LibraryArguments::Action::Add:
        return add(library, texts, args, err, name);
    case LibraryArguments::Action::List: {
        std::vector<LibraryCase> cases;
        if (!library.list(args.filter, cases))
            break;
        out << libraryCasesText(cases, args.format, args.depthUnit, args.filter.zoneOffsetMinutes);
        return 0;
    }
    case LibraryArguments::Action::Stats: {
        std::vector<LibraryStatsRow> rows;
        if (!library.stats(args.grouping, args.filter, rows, args.ccfTarget))
            break;
        out << libraryStatsText(rows, args.grouping, args.format, args.ccfTarget);
        return 0;
    }
    case LibraryArguments::Action::Report:
        // Drawn by the drawing program, which ravelin-cli hands the report over to.
        err << name << ": report: the drawing program draws the report\n";
        return 1;
    case LibraryArguments::Action::Status:
        return reviewStatus(library, args, err, name);
    case LibraryArguments::Action::Audit: {
        std::vector<AuditEntry> entries;
        if (!library.auditEntries(args.audit, entries))
            break;
        out << libraryAuditText(entries, args.format);
        return 0;
    }
    case LibraryArguments::Action::Prune: {
        QStringList removed;
        if (!pruneLibrary(library, removed))
            break;
        for (const QString &path : removed)
            out << "removed " << QDir::toNativeSeparators(path) << "\n";
        out << "pruned " << removed.size() << "\n";
        return 0;
    }
    }
    err << name << ": " << library.errorText() << "\n";
    return 1;
}

// The report is drawn: ravelin-cli hands it over to the drawing program.
bool drawsReport(const QStringList &arguments)
{
    return LibraryArguments::parse(arguments).action == LibraryArguments::Action::Report;
}

const CliCommandRegistration registration({QStringLiteral("library"), QLatin1String(LibrarySynopsis), runLibrary,
                                           CliCommand::Application::Core, drawsReport});

} // namespace
