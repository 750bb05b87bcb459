#pragma once

#include "case/ReviewFile.h"

#include <QString>
#include <QStringList>
#include <optional>

class CaseSession;
struct MifConversion;
struct MifEraseResult;

// The Open command from the Open dialog to an open case: choosing an archive, importing a
// MIF folder (decode, write the archive, open it, erase the device files), opening the
// archive at state.archivePath, and the reading again of a case after "Adjust...".
// Works on the session's shared state; holds nothing between commands.
class OpenFlow
{
public:
    // How an open or import ended.
    enum class Outcome {
        Opened,     // the archive is open as a case
        Cancelled,  // the user cancelled a dialog; nothing changed
        Skipped,    // an import found a device file it could not read, or (directory mode) an archive
                    // already at its target; reported, nothing written
        Failed,     // reported error; no case, or a case without its CPR feedback or sound
    };

    explicit OpenFlow(CaseSession &session) : m_session(session) {}

    // The Open command: the archive at archivePath when openMode is 3, else the Open
    // dialog and what its button asks for.
    void OnOpenRequest();

    // openMode 1: imports the MIF folder state.mifFolderPath of state.deviceModel. The
    // next slot's tempFilePresent says whether its Temp file is read. In directory mode the
    // archive goes into the folder under its automatic name (never over an archive there);
    // otherwise the user names it. A target that is a file of the device folder is refused.
    Outcome ImportMifFolder();
    // openMode 2: asks for an archive and opens it.
    Outcome ChooseArchive();
    // openMode 3: opens the archive at state.archivePath. conversion, when given, is the
    // import that has just written it: once the archive has been read back holding the
    // device files, they are erased (EraseMifFiles) and the import message is shown in
    // single-folder mode, naming the files kept because they changed (a warning on its own
    // in directory mode).
    Outcome OpenArchivePath(const MifConversion *conversion = nullptr);
    // Opens an archive the way "Load AED File" does, without a dialog (command line,
    // recent files).
    Outcome OpenArchiveFile(const QString &path);
    // OpenArchiveFile, then the new case is selected so the windows show it.
    Outcome OpenAndShowArchiveFile(const QString &path);

    // Reads state.currentFolder + state.currentArchiveName into a new slot, builds its event
    // list and loads its CPR feedback and sound (see OpenArchivePath for conversion).
    Outcome LoadArchiveIntoNewSlot(const MifConversion *conversion = nullptr);

    // "Adjust..." of the General form for the case in slot: typedStart must be a real date
    // and time "YYYY-MM-DD HH:MM:SS" (else a message and nothing changes). After the unsaved-
    // changes question for that case, its own archive is opened again with the typed start,
    // which the review file keeps; every other case stays as it is.
    Outcome AdjustCase(int slot, const QString &typedStart);

    // Slot of the case the last successful open made; -1 before.
    int openedSlot() const { return m_openedSlot; }

private:
    void rememberArchive(const QString &folder, const QString &name);
    void finishConversion(const MifConversion &conversion);
    bool loadCompanionFiles(int slot);
    void showImportMessage(const MifEraseResult &erase);
    std::optional<ReviewMarks> readReviewMarks(const QString &archivePath);
    // Selects the case the last open made, so the windows show it.
    void showOpenedCase();

    CaseSession &m_session;
    int m_openedSlot = -1;
    QString m_adjustedStart; // start typed with "Adjust..." for the case being opened
};

// Model index of an archive's folder: 0 when the path contains "Q21", else 1 when it
// contains "Q25", else 2.
int ModelIndexOfFolder(const QString &folder);
