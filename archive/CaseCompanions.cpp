#include "archive/CaseCompanions.h"

#include "archive/AedArchiveReader.h"
#include "archive/CompanionBinding.h"
#include "base/BinaryReader.h"
#include "base/FileCopy.h"
#include "base/FileError.h"
#include "base/FileIdentity.h"
#include "base/FileSha256.h"
#include "case/CaseStore.h"
#include "case/DeviceFolderFiles.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

} // namespace

std::vector<CaseCompanion> ImportedCompanions(const QString &deviceFolder, const QString &recordingId)
{
    const QString folder = QDir(deviceFolder).absolutePath();
    // What other recordings' review files in the folder bind.
    std::vector<CompanionFile> claimed;
    const DeviceFolderFiles files(folder);
    for (const QString &name : files.names()) {
        if (!name.endsWith(QLatin1String(".aed"), Qt::CaseInsensitive))
            continue;
        const ReviewFile::Reading reading = ReviewFile::read(QDir(folder).filePath(name));
        if (reading.kind == ReviewFile::Reading::Kind::Marks && reading.marks.recordingId != recordingId
            && reading.marks.companions)
            claimed.insert(claimed.end(), reading.marks.companions->begin(), reading.marks.companions->end());
    }
    std::vector<CaseCompanion> taken;
    for (const CompanionFile &facts : CompanionFilesIn(folder)) {
        const bool other = std::any_of(claimed.begin(), claimed.end(), [&](const CompanionFile &c) {
            return c.name.compare(facts.name, Qt::CaseInsensitive) == 0 && c.size == facts.size && c.sha256 == facts.sha256;
        });
        if (!other)
            taken.push_back({files.filePath(facts.name), facts});
    }
    return taken;
}

std::vector<CaseCompanion> BoundCompanions(const CaseStore &store, int slot)
{
    std::vector<CaseCompanion> bound;
    const OpenCase *entry = store.find(slot);
    if (!entry || !entry->companions)
        return bound;
    for (const QString *path : {&entry->cprFeedbackPath, &entry->audioRecordPath}) {
        if (path->isEmpty())
            continue;
        const QString name = QFileInfo(*path).fileName();
        for (const CompanionFile &facts : *entry->companions)
            if (facts.name.compare(name, Qt::CaseInsensitive) == 0)
                bound.push_back({*path, facts});
    }
    return bound;
}

std::vector<CompanionFile> CompanionPlan::binding() const
{
    std::vector<CompanionFile> out;
    for (const CaseCompanion &f : files)
        out.push_back(f.facts);
    return out;
}

CompanionPlan PlanCompanions(std::vector<CaseCompanion> files, const QString &targetArchive)
{
    CompanionPlan plan;
    plan.files = std::move(files);
    const QString target = folderOf(targetArchive);
    const bool here = std::all_of(plan.files.begin(), plan.files.end(),
                                  [&](const CaseCompanion &f) { return isSameFile(folderOf(f.path), target); });
    plan.copy = !plan.files.empty() && !here;
    const DeviceFolderFiles beside(target);
    for (const QString &name : CompanionFileNames()) {
        if (!beside.hasFile(name) && !QFileInfo(beside.filePath(name)).isSymLink())
            continue;
        const QString there = beside.filePath(name);
        const auto own = std::find_if(plan.files.begin(), plan.files.end(), [&](const CaseCompanion &f) {
            return f.facts.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        const bool same = own != plan.files.end()
                          && (isSameFile(folderOf(own->path), target)
                              || (QFileInfo(there).isFile() && QFileInfo(there).size() == own->facts.size
                                  && FileSha256::of(there) == own->facts.sha256));
        if (!same) {
            plan.refusal = QStringLiteral("\"%1\" holds \"%2\" of another recording: the case was not written there, "
                                          "so that neither recording is given the other's CPR data or sound. "
                                          "Choose a new folder for it.")
                               .arg(QDir::toNativeSeparators(target), name);
            return plan;
        }
    }
    return plan;
}

void CarryCompanions(const CompanionPlan &plan, const QString &targetArchive)
{
    if (!plan.copy)
        return;
    const QDir target(folderOf(targetArchive));
    for (const CaseCompanion &f : plan.files) {
        const QString copy = target.filePath(f.facts.name);
        if (QFileInfo::exists(copy))
            continue; // the same bytes are there (PlanCompanions checked them)
        if (FileCopy::copyNew(f.path, copy) != f.facts.sha256) {
            QFile::remove(copy); // ours, made just now
            throw FileError(f.path, FileError::Kind::BadFormat,
                            QStringLiteral("It changed since it was bound to the case; it was not copied."));
        }
    }
}

void WriteReviewFileWithBinding(const QString &archivePath, const QString &recordingId,
                                const std::vector<CompanionFile> &binding, std::optional<ReviewMarks> caseMarks,
                                bool adoptUnidentified, QStringList &notes, const QString &importedModel)
{
    using Kind = ReviewFile::Reading::Kind;
    const ReviewFile::Reading there = ReviewFile::read(archivePath);
    ReviewMarks marks = caseMarks.value_or(ReviewMarks());
    const bool own = there.kind == Kind::Marks
                     && (there.marks.recordingId == recordingId || (adoptUnidentified && there.marks.recordingId.isEmpty()));
    if (own) {
        if (!caseMarks)
            marks = there.marks;
    } else if (there.kind == Kind::Marks || there.kind == Kind::Unusable) {
        const QString file = QDir::toNativeSeparators(ReviewFile::pathFor(archivePath));
        const QString aside = QDir::toNativeSeparators(ReviewFile::moveAside(archivePath));
        notes << (there.kind == Kind::Marks
                      ? QStringLiteral("%1 held the review marks of another recording; it was moved aside to %2.").arg(file, aside)
                      : QStringLiteral("%1\nIt was moved aside to %2.").arg(there.problem, aside));
    }
    marks.recordingId = recordingId;
    marks.companions = binding;
    if (!importedModel.isEmpty())
        marks.model = importedModel;
    ReviewFile::write(archivePath, marks);
}

std::vector<CompanionFile> BindArchiveCompanions(const QString &archivePath, QStringList &notes)
{
    BinaryReader in = BinaryReader::streamFile(archivePath);
    const QString recordingId = ParseAedArchive(in).recordingId;
    QStringList unreadable;
    const std::vector<CompanionFile> binding = CompanionFilesIn(folderOf(archivePath), &unreadable);
    for (const QString &path : unreadable)
        notes << QStringLiteral("\"%1\" cannot be read and was not bound.").arg(QDir::toNativeSeparators(path));
    WriteReviewFileWithBinding(archivePath, recordingId, binding, std::nullopt, true, notes);
    return binding;
}
