#pragma once

#include "case/ReviewFile.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class CaseSession;
struct CompanionChoice;
struct MifConversion;
struct MifEraseResult;

// What an open may write besides showing the case. The program opens a case for review: it
// takes the case's review lock (one editor at a time), keeps the review file up to date
// (moving aside one that is not the recording's, recording which companion files belong to
// it) and makes "Audio Record.wav" when it is missing. The reading commands of ravelin-cli and
// the case library write nothing and take no lock.
struct OpenWrites
{
    bool reviewFile = true;
    bool wav = true;
    bool lock = true;
    static OpenWrites none() { return {false, false, false}; }
};

// The Open command from the Open dialog to an open case: choosing an archive, importing a
// MIF folder (decode, write the archive, open it, erase the device files), opening an archive
// by path, and the reading again of a case after "Adjust...". Each step is handed the archive,
// zone and slot it acts on; the session's shared state holds only the Open dialog's answers
// and the folder scan's pages.
class OpenFlow
{
public:
    // How an open or import ended.
    enum class Outcome {
        Opened,     // the archive is open as a case (or was open already: that case is shown)
        Cancelled,  // the user cancelled a dialog; nothing changed
        Skipped,    // an import found a device file it could not read, or (directory mode) an archive
                    // already at its target; reported, nothing written
        Failed,     // reported error; no case, or a case without its CPR feedback or sound
    };

    explicit OpenFlow(CaseSession &session, OpenWrites writes = {}) : m_session(session), m_writes(writes) {}

    // The Open command: the Open dialog and what its button asks for.
    void OnOpenRequest();

    // Imports the MIF folder state.mifFolderPath of state.deviceModel. The next slot's
    // tempFilePresent says whether its Temp file is read. In directory mode the archive goes
    // into the folder under its automatic name (never over an archive there); otherwise the
    // user names it. A target that is a file of the device folder is refused, and so is a
    // folder that holds companion files of another recording. The new archive gets its review
    // file (its recording and the companion files imported with it, copied beside it when it
    // goes to another folder) before it is opened.
    Outcome ImportMifFolder();
    // Asks for an archive and opens it.
    Outcome ChooseArchive();
    // Opens the archive at path in time-zone row zoneRow. An archive that is open already
    // (the same file, however it is named) is not opened again: its case is the one shown.
    // Once read, an open for review asks for the case's review lock (AskForReviewLock): held
    // by another reviewer, the case opens read-only or not at all (Cancelled); the session's
    // caseOpenedForReview is told of every case so opened.
    // conversion, when given, is the import that has just written it: once the archive has
    // been read back holding the device files, they are erased (EraseMifFiles) and the import
    // message is shown in single-folder mode, naming the files kept because they changed (a
    // warning on its own in directory mode).
    Outcome OpenArchive(const QString &path, uint16_t zoneRow, const MifConversion *conversion = nullptr);
    // OpenArchive in the zone chosen in the Open dialog (command line, recent files, library).
    Outcome OpenArchiveFile(const QString &path);
    // OpenArchiveFile, then the case is selected so the windows show it.
    Outcome OpenAndShowArchiveFile(const QString &path);

    // "Adjust..." of the General form for the case in slot: typedStart must be a real date
    // and time "YYYY-MM-DD HH:MM:SS" in the years 1970 to 2099 (else a message saying which
    // and nothing changes). After the unsaved-changes question for that case, its own archive
    // is opened again, in the case's own time-zone row, with the typed start, which the review
    // file keeps; the case moves under the date node of that start. Every other case stays as
    // it is. The case read again keeps the review lock of the one it replaces. A read-only
    // case is not adjusted.
    Outcome AdjustCase(int slot, const QString &typedStart);
    // "Undo adjustment" of the case menu and the General form: the case in slot, when it has
    // an adjusted start, is read again as AdjustCase does with the device's start, and its
    // review file keeps no adjusted start any more. Not for a read-only case.
    Outcome UndoAdjustment(int slot);

    // "Use this folder's CPR and sound files for this case": the companion files beside the
    // archive of the case in slot are bound to its recording (its review file records them) and
    // loaded into the case. Not for a read-only case.
    void BindCompanions(int slot);

    // Slot of the case the last successful open made or showed; -1 before.
    int openedSlot() const { return m_openedSlot; }

private:
    void finishConversion(const MifConversion &conversion);
    void loadCompanionFiles(int slot, const QString &cprFeedbackPath, const QString &audioRecordPath);
    void showImportMessage(const MifEraseResult &erase);
    // The marks of the review file beside path that belong to recordingId, after the file that
    // does not (another recording's, damaged, newer) was moved aside; adopted is set for a file
    // written before recordings had IDs.
    std::optional<ReviewMarks> reviewMarksFor(const QString &path, const QString &recordingId, bool mayWrite,
                                              bool &adopted, bool &writable);
    // The review lock of the case just read into slot: asked for, or handed on from the case
    // "Adjust..." reads again. false when the case is not to be opened.
    bool settleLock(int slot, const QString &path);
    // The slot of an open case read from the same file as path; -1 when none.
    int openSlotOf(const QString &path) const;
    // Reads the case in slot again from its archive with adjustedStart (empty: the device's
    // start) in place of the start it has, and closes the case it replaces.
    Outcome readCaseAgain(int slot, const QString &adjustedStart);
    // Selects the case the last open made, so the windows show it.
    void showOpenedCase();

    CaseSession &m_session;
    OpenWrites m_writes;
    int m_openedSlot = -1;
    QString m_adjustedStart; // start the case read again gets (empty: the device's)
    int32_t m_adjustedZone = 0; // the zone it is typed in, minutes east of UTC
    int m_adjustedSlot = -1; // slot of the case "Adjust..." or "Undo adjustment" reads again, while it does
};

// Model index of an archive's folder: 0 when the path contains "Q21", else 1 when it
// contains "Q25", else 2.
int ModelIndexOfFolder(const QString &folder);
// The model index (0: Q21, 1: Q25, 2: Q26) of the archive at path: from its folder's path when
// that names a model, else from its file name ("Q21_...", "Q25_...", "Q26_..."), else the
// model its import recorded (recordedModel), else 2.
int ModelIndexOfArchive(const QString &path, const QString &recordedModel);
