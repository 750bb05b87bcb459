#pragma once

#include <QString>
#include <QStringList>

class CaseStore;

// The files a command or the window reads a case from. Nothing written on request may
// replace one of them.
struct OutputInputs
{
    // Archives: each protects itself, its review file and the files of its folder.
    QStringList archives;
    // Device folders: each protects its device files and the companion files beside them.
    QStringList deviceFolders;
};

// Where a file written on request may go. A target is compared with the inputs by identity
// where both exist (a link, a hard link, "." or ".." spell the same file), else by where a
// write would land (links followed, the folder spelled canonically, names compared without
// regard to case, as a memory card's file system ignores it).
namespace OutputTarget {

// What a target is to the inputs.
enum class Role {
    None,
    Archive,        // an archive being read
    ReviewFile,     // the review file of an archive being read
    CprData,        // "CPR Feedback.bin" of an input's folder
    AudioRecord,    // "Audio Record.bin" of an input's folder
    AudioWave,      // "Audio Record.wav" of an input's folder
    DeviceFile,     // one of the MIF files of any model in an input's folder
    AnyArchive,     // a ".aed" file that is not an input
    AnyReviewFile,  // the review file of an archive that is not an input
};

// What a writer puts at the target: an output (a report, a picture, an export) never
// replaces an archive; an archive (an import's) may replace one. Neither replaces the review
// file of an archive.
enum class Writes { Output, Archive };

struct Clash
{
    Role role = Role::None;
    QString file; // the protected file the target is; "" with Role::None
};

Clash clashOf(const QString &target, const OutputInputs &inputs, Writes writes = Writes::Output);

// The message refusing target for what it is.
QString refusalText(const QString &target, Role role);

// The check of every file written on request: the message refusing target, naming it and
// what it is; "" when it may be written.
QString refusal(const QString &target, const OutputInputs &inputs, Writes writes = Writes::Output);

// The inputs of the open cases: their archives and the folders of their device files.
OutputInputs openCaseInputs(const CaseStore &store);

} // namespace OutputTarget
