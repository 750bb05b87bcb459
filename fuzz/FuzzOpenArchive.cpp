// The whole open of an archive, as "Load AED File" and "ravelin-cli info" run it: the
// archive read with the shift to a time zone, its review file, the event-list build into a
// case tree in memory, the CPR feedback and audio record beside it, and the info JSON. Each
// input is opened twice in a fresh folder: as a reading command opens it (nothing in the
// folder may change) and as the program opens it for review (it may write the review file and
// the WAV, but never through a link nor over a file it did not make, and a review file it
// cannot use is moved aside whole).
//
// The input: the time-zone row; the flags (folder, whose name sets the model index, which
// companion files are there, the device model of the last import); the extras (a review file,
// or a link at its name to a file outside the folder; how many times each companion file
// repeats its bytes, 1 to 64, so that files of a few MB are reached; a file or a link already
// at the WAV's name); three 16-bit lengths cutting the CPR feedback, the audio record and the
// review file; the archive takes the rest. Every input must open or be refused without a crash,
// and an open case must be the one the tree and the JSON show.
#include "FuzzSupport.h"

#include "archive/OpenFlow.h"
#include "base/FileError.h"
#include "case/CaseSession.h"
#include "case/MemoryTreeControl.h"
#include "case/ReviewFile.h"
#include "device/TimeZoneTable.h"
#include "tools/CaseInfoJson.h"

#include <QFileInfo>

namespace {

using namespace FuzzSupport;

enum Flags : uint8_t { CprFeedbackThere = 8, AudioRecordThere = 16 };
enum Extras : uint8_t { ReviewThere = 1, ReviewIsLink = 2, WavThere = 64, WavIsLink = 128 };

// How many times a companion file repeats its bytes: 1, 4, 16 or 64.
int repeats(uint8_t extras, int shift)
{
    return 1 << (2 * ((extras >> shift) & 3));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Everything in folder with its kind, size and time (links as their targets), and the bytes of
// the files outside it that the links point to.
QStringList listing(const QDir &dir, const QStringList &outside)
{
    QStringList out;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &f : entries) {
        if (f.isSymLink())
            out << f.fileName() + QStringLiteral(" -> ") + f.symLinkTarget();
        else
            out << QStringLiteral("%1 %2 %3").arg(f.fileName()).arg(f.size()).arg(f.lastModified().toMSecsSinceEpoch());
    }
    for (const QString &path : outside)
        out << path + QLatin1Char(' ') + QString::fromLatin1(readAll(path).toHex());
    return out;
}

// Opens archive in a new session; the slot of its case, -1 when refused. Traps when the tree
// and the JSON do not show what the open says.
int openAndCheck(CaseSession &view, MemoryTreeControl &tree, const QString &archive, OpenWrites writes)
{
    OpenFlow flow(view, writes);
    flow.OpenArchiveFile(archive);
    const int slot = flow.openedSlot();
    if (slot < 0) {
        if (tree.itemCount() != 0)
            __builtin_trap(); // a refused archive leaves nothing behind
        return slot;
    }
    const QString json = CaseInfoJson(view.store, slot);
    if (!json.startsWith(QLatin1Char('{')) || tree.lines().size() < 3)
        __builtin_trap();
    return slot;
}

// True when some file in dir other than the review file itself holds bytes: where a review
// file that was not the recording's went.
bool movedAsideWhole(const QDir &dir, const QString &reviewName, const QByteArray &bytes)
{
    const QStringList aside = dir.entryList({QStringLiteral("case.aed.review.*.json")}, QDir::Files | QDir::Hidden);
    for (const QString &name : aside)
        if (name != reviewName && readAll(dir.filePath(name)) == bytes)
            return true;
    return false;
}

// The review file the program may use for the recording recordingId: one of another
// recording, a damaged one or one of a newer version is never kept in use.
bool usableFor(const QByteArray &bytes, const QString &recordingId)
{
    try {
        const ReviewMarks marks = ReviewFile::decode(bytes, QString());
        return marks.recordingId.isEmpty() || marks.recordingId == recordingId;
    } catch (const FileError &) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    InputCutter input(data, size);
    const int zoneRow = input.byte() % (TimeZoneTable::RowCount + 1); // one row past the table
    const uint8_t flags = input.byte();
    const uint8_t extras = input.byte();
    const size_t feedbackLength = input.length16();
    const size_t audioLength = input.length16();
    const size_t reviewLength = input.length16();
    const QByteArray feedback = input.take(feedbackLength).repeated(repeats(extras, 2));
    const QByteArray audio = input.take(audioLength).repeated(repeats(extras, 4));
    const QByteArray review = input.take(reviewLength);
    const QByteArray archiveBytes = input.rest();

    static const char *const folderNames[] = {"Q21", "Q25", "card"};
    const QString folder = QDir(scratchFolder()).filePath(QLatin1String(folderNames[flags % 3]));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QDir dir(folder);
    if (flags & CprFeedbackThere)
        writeFile(dir.filePath(QStringLiteral("CPR Feedback.bin")), feedback);
    if (flags & AudioRecordThere)
        writeFile(dir.filePath(QStringLiteral("Audio Record.bin")), audio);
    const QString archive = dir.filePath(QStringLiteral("case.aed"));
    writeFile(archive, archiveBytes);

    // Links at the review file's and the WAV's names point to files outside the folder, which
    // no open may change.
    QStringList outside;
    const auto placeOrLink = [&](const QString &name, bool link, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        if (!link) {
            writeFile(path, bytes);
            return;
        }
        const QString target = QDir(scratchFolder()).filePath(QStringLiteral("outside-") + name);
        writeFile(target, bytes);
        QFile::link(target, path);
        outside << target;
    };
    const QString reviewName = QFileInfo(ReviewFile::pathFor(archive)).fileName();
    if (extras & ReviewThere)
        placeOrLink(reviewName, extras & ReviewIsLink, review);
    if (extras & (WavThere | WavIsLink))
        placeOrLink(QStringLiteral("Audio Record.wav"), extras & WavIsLink, QByteArray("not the program's"));
    const QStringList placed = listing(dir, outside);

    const int32_t models[] = {ModelQ21, ModelQ25, ModelNone};
    const auto run = [&](OpenWrites writes, QString &recordingId) {
        SilentPlatform platform;
        MemoryTreeControl tree;
        CaseSession view(texts(), platform);
        view.setTree(&tree);
        view.state.deviceModel = models[(flags >> 6) % 3];
        view.state.timeZoneChoice = uint16_t(zoneRow);
        const int slot = openAndCheck(view, tree, archive, writes);
        if (slot >= 0)
            recordingId = view.store.at(slot).recordingId;
        return slot >= 0;
    };

    // A reading command writes nothing.
    QString recordingId;
    const bool opened = run(OpenWrites::none(), recordingId);
    if (listing(dir, outside) != placed)
        __builtin_trap();

    // The program's open writes only what it made; a refused archive costs nothing.
    QString programRecordingId;
    if (run(OpenWrites(), programRecordingId) != opened || programRecordingId != recordingId)
        __builtin_trap();
    if (!opened) {
        if (listing(dir, outside) != placed)
            __builtin_trap();
        return 0;
    }
    // Everything that was there stays as it was (the links, the files they point to, a file
    // at the WAV's name), but for a review file that is not the recording's, kept whole aside.
    const QStringList now = listing(dir, outside);
    const bool reviewIsFile = (extras & ReviewThere) && !(extras & ReviewIsLink);
    for (const QString &line : placed)
        if (!now.contains(line) && !(reviewIsFile && line.startsWith(reviewName + QLatin1Char(' '))))
            __builtin_trap();
    const QFileInfo reviewNow(dir.filePath(reviewName));
    // A review file at its name is the recording's; one that was not is kept whole aside.
    if (!reviewNow.isSymLink() && reviewNow.exists() && !usableFor(readAll(reviewNow.filePath()), recordingId))
        __builtin_trap();
    if (reviewIsFile && !usableFor(review, recordingId) && !movedAsideWhole(dir, reviewName, review))
        __builtin_trap();
    return 0;
}
