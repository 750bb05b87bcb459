#pragma once

#include "base/FileError.h"
#include "case/CompanionFile.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class CaseStore;

// What the reviewer marked on a case that the archive format has no place for: the CPR
// periods and ECG segments as the reviewer left them, the viewed mark, a start typed with
// "Adjust..." and the causes the reviewer gave pauses. Kept as a small JSON file beside the archive ("<archive file name>.review.json"),
// written whole each time a mark changes; the archive itself never changes for them.
//
// The file belongs to one recording: it names the recording's ID and the companion files bound
// to it. A file of another recording, a damaged one or one of a newer version is never applied
// nor overwritten: the program moves it aside ("<archive file name>.review.<YYYYMMDD-HHMMSS>.json").
struct ReviewMarks
{
    using Span = std::pair<int, int>;     // start and end, ms of case time
    std::optional<std::vector<Span>> cprPeriods; // the whole CPR-period table, in slot order
    std::optional<std::vector<Span>> segments;   // the whole segment table, in slot order
    std::optional<bool> viewed;
    // The reviewer's cause of whole pauses, by the pause's start (ms of case time): one of
    // reviewerPauseCauses(). Empty when the device's reading stands everywhere.
    std::map<int32_t, QString> pauseCauses;
    QString adjustedStart;                // "YYYY-MM-DD HH:MM:SS", empty when not adjusted
    std::optional<int32_t> adjustedZoneMinutes; // the zone it was typed in, minutes east of UTC
    QString recordingId;                  // empty in a file written before recordings had IDs
    QString model;                        // "Q21", "Q25" or "Q26" as the import read the files; empty when not recorded
    // The companion files bound to the recording; nullopt when the file records none.
    std::optional<std::vector<CompanionFile>> companions;
};

namespace ReviewFile {

// The causes a reviewer may give a whole pause, as the file writes them.
const QStringList &reviewerPauseCauses();

// The review file of an archive path.
QString pathFor(const QString &archivePath);

// The marks of the case in slot as they are now, with its recording ID and bound companions.
ReviewMarks marksOf(const CaseStore &store, int slot);

// The file's bytes for marks (UTF-8 JSON, a line feed at the end).
QByteArray encode(const ReviewMarks &marks);
// The marks in bytes; throws FileError (BadFormat, naming path) when they are not a review
// file this program reads: not JSON, a newer version, a span that is not two 32-bit times with
// start <= end, a start that is not a valid date and time, a recording ID or companion that
// is not well formed.
ReviewMarks decode(const QByteArray &bytes, const QString &path);

// Writes the file beside archivePath atomically, never through a symbolic link; throws FileError.
void write(const QString &archivePath, const ReviewMarks &marks);

// What is at the review file's place of an archive.
struct Reading
{
    enum class Kind {
        None,     // no file
        Marks,    // a review file this program reads (marks)
        Link,     // a symbolic link: never read, written or moved
        Unusable, // damaged, of a newer version or unreadable (problem says why, naming it)
    };
    Kind kind = Kind::None;
    ReviewMarks marks;
    QString problem;
    std::optional<FileError> error; // what made an unusable file so, for the reader's language
};
// Never throws.
Reading read(const QString &archivePath);

// Renames the review file of archivePath to "<archive file name>.review.<stamp>.json" (stamp:
// YYYYMMDD-HHMMSS of now, with "-2", "-3", ... when that name is taken); never replaces or
// deletes a file. Returns the new path; throws FileError naming the review file.
QString moveAside(const QString &archivePath);

// Puts marks on the case in slot (tables replaced whole where the file has them; spans
// beyond a table's room are left out).
void apply(CaseStore &store, int slot, const ReviewMarks &marks);

} // namespace ReviewFile
