#pragma once

#include "case/CompanionFile.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Which of the files the device leaves beside a recording ("CPR Feedback.bin", "Audio
// Record.bin") belong to the case of an archive. Every reader of a case (the program's open, the
// commands of ravelin-cli, the case library) asks this one function, so that one rescue's CPR
// data or sound is never credited to another:
// - when the archive's review file records the files bound to its recording, a file of the
//   folder is used only when it is recorded there with its size and SHA-256 ("belongs to another
//   recording" otherwise);
// - without such a record, the files are used only when the folder holds exactly one archive,
//   the device's own layout ("the folder holds several archives" otherwise), and the binding is
//   then to be recorded.
struct CompanionChoice
{
    QString cprFeedbackPath;  // the file to load; empty when none is used
    QString audioRecordPath;
    QStringList leftOut;      // one line per file left out, naming it and why
    // The binding the case has: the recorded one, or the one decided now (newBinding).
    std::optional<std::vector<CompanionFile>> binding;
    bool newBinding = false;  // decided now by the folder's layout; not recorded yet

    // The lines of leftOut as one message.
    QString leftOutText() const;
};

// The choice for the archive at archivePath whose review file records `recorded` (nullopt when
// it records nothing). A new binding's sizes and digests are read only when withFacts is set
// (an open that records it). A recorded binding is checked against the files' sizes and
// digests; justRecorded (the import that wrote it a moment ago, from these very files) checks
// the sizes only.
CompanionChoice ChooseCompanions(const QString &archivePath, const std::optional<std::vector<CompanionFile>> &recorded,
                                 bool withFacts, bool justRecorded = false);

// The companion files of folder with their sizes and digests (what an import or "Use this
// folder's CPR and sound files for this case" binds); the files that cannot be read are named
// in unreadable.
std::vector<CompanionFile> CompanionFilesIn(const QString &folder, QStringList *unreadable = nullptr);

// The names of the companion files, in the order they are loaded.
QStringList CompanionFileNames();

// The archives (".aed", without regard to case) among the files of folder.
int ArchiveCountIn(const QString &folder);
