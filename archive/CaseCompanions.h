#pragma once

#include "case/CompanionFile.h"
#include "case/ReviewFile.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class CaseStore;

// A case travels together: when its archive is written to a folder (an import, Save As), the
// companion files bound to its recording go with it, and its review file says so.

// One companion file of a case: where it is and what it holds.
struct CaseCompanion
{
    QString path;
    CompanionFile facts;
};

// The companion files an import of the device folder takes with the recording recordingId:
// those there, but for any that the review file of another archive in that folder binds to
// another recording. Files that cannot be read are left out.
std::vector<CaseCompanion> ImportedCompanions(const QString &deviceFolder, const QString &recordingId);
// The companion files bound to the case in slot and used by it.
std::vector<CaseCompanion> BoundCompanions(const CaseStore &store, int slot);

// What writing an archive of a case to targetArchive does with its companion files.
struct CompanionPlan
{
    std::vector<CaseCompanion> files; // the case's
    bool copy = false;                // the target is in another folder: they are copied beside it
    QString refusal;                  // not empty: nothing may be written (why, naming the folder)
    std::vector<CompanionFile> binding() const;
};
// The target folder must not hold companion files but for exactly these ones: another
// recording's would be taken for this case's, or this case's for the other's.
CompanionPlan PlanCompanions(std::vector<CaseCompanion> files, const QString &targetArchive);

// Copies the plan's files beside targetArchive (skipping those already there with the same
// bytes), each checked against its digest; throws FileError naming the file.
void CarryCompanions(const CompanionPlan &plan, const QString &targetArchive);

// Writes the review file of the archive of recordingId at archivePath with the companion files
// bound. The marks are caseMarks when given (Save As: the case as it is shown); otherwise those
// of a review file of the same recording there are kept (with adoptUnidentified, also those of
// a file written before recordings had IDs). Any other file at that name is moved aside first
// (what was moved goes to notes). An import gives the model it read the files as ("Q21", ...),
// kept for an archive whose name and folder do not say it. Throws FileError.
void WriteReviewFileWithBinding(const QString &archivePath, const QString &recordingId,
                                const std::vector<CompanionFile> &binding, std::optional<ReviewMarks> caseMarks,
                                bool adoptUnidentified, QStringList &notes, const QString &importedModel = {});

// "ravelin-cli bind": binds the companion files beside the archive (not open) to its recording
// in its review file. Returns what was bound; files that cannot be read go to notes, and so
// does a review file moved aside. Throws FileError (the archive or the review file).
std::vector<CompanionFile> BindArchiveCompanions(const QString &archivePath, QStringList &notes);
