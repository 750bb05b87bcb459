#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <vector>

class CaseStore;

// What the reviewer marked on a case that the archive format has no place for: the CPR
// periods and ECG segments as the reviewer left them, the viewed mark and a start typed with
// "Adjust...". Kept as a small JSON file beside the archive ("<archive file name>.review.json"),
// written whole each time a mark changes; the archive itself never changes for them.
struct ReviewMarks
{
    using Span = std::pair<int, int>;     // start and end, ms of case time
    std::optional<std::vector<Span>> cprPeriods; // the whole CPR-period table, in slot order
    std::optional<std::vector<Span>> segments;   // the whole segment table, in slot order
    std::optional<bool> viewed;
    QString adjustedStart;                // "YYYY-MM-DD HH:MM:SS", empty when not adjusted
};

namespace ReviewFile {

// The review file of an archive path.
QString pathFor(const QString &archivePath);

// The marks of the case in slot as they are now.
ReviewMarks marksOf(const CaseStore &store, int slot);

// The file's bytes for marks (UTF-8 JSON, a line feed at the end).
QByteArray encode(const ReviewMarks &marks);
// The marks in bytes; throws FileError (BadFormat, naming path) when they are not a review
// file this program wrote: not JSON, a span that is not two times with start <= end,
// a start that is not a valid date and time.
ReviewMarks decode(const QByteArray &bytes, const QString &path);

// Writes the file beside archivePath atomically; throws FileError.
void write(const QString &archivePath, const ReviewMarks &marks);
// Reads the file beside archivePath: nothing when there is none; throws FileError when it
// cannot be read or is damaged.
std::optional<ReviewMarks> read(const QString &archivePath);

// Puts marks on the case in slot (tables replaced whole where the file has them; spans
// beyond a table's room are left out).
void apply(CaseStore &store, int slot, const ReviewMarks &marks);

} // namespace ReviewFile
