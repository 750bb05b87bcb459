#pragma once

#include "case/CaseSession.h"
#include "case/MemoryTreeControl.h"
#include "library/CaseLibrary.h"
#include "library/LibraryCase.h"
#include "library/IndexingPlatform.h"

#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <functional>

class LanguagePack;

// What adding archives to the library did.
struct LibraryAddSummary
{
    int added = 0;
    int updated = 0;     // indexed before, changed since
    int unchanged = 0;
    QStringList failed;  // one message per archive that could not be read, naming it
    QString libraryError; // the library refused a write; the adding stopped there
    bool cancelled = false;
};

// Puts archives into a case library: each is opened as "Load AED File" opens it, without
// a window and in the device's clock, and measured. An archive whose size, time and hash
// match its row is not opened again.
class LibraryIndexer
{
public:
    LibraryIndexer(CaseLibrary &library, LanguagePack &texts);

    enum class Outcome { Added, Updated, Unchanged, Unreadable, LibraryFailed };

    // Adds one archive; why names it (Unreadable) or the library's trouble (LibraryFailed). An
    // unchanged archive is read again only when readAgain (its review file changed).
    Outcome add(const QString &archive, QString &why, bool readAgain = false);
    // Adds every archive in order, several per transaction (what was read before a cancel is
    // kept; a refused write loses only the archives not yet written, which the summary does not
    // count). progress is told before each (index, count) and once at the end (count, count);
    // it stops the work by returning false.
    LibraryAddSummary addAll(const QStringList &archives,
                             const std::function<bool(int done, int total)> &progress = {});

    // Reads an archive into a library row without storing it; false with why naming it.
    bool read(const QString &archive, LibraryCase &c, QString &why);

private:
    // True when the archive's size and time are the stored ones and so is its hash.
    static bool unchanged(const QString &path, const CaseLibrary::Fingerprint &stored);

    CaseLibrary &m_library;
    IndexingPlatform m_platform;
    MemoryTreeControl m_tree; // outlives the session that points to it
    CaseSession m_session;
    QThreadPool m_hashing;    // reads the file facts of the archive being opened
};

// The ".aed" files among paths and in the folder trees they name, each once, sorted; paths
// that are neither are returned in missing. An archive in those trees whose path is not valid
// UTF-8 cannot be opened by its name: undecodable gets one line for each, naming it (its bytes
// that are not UTF-8 written as \xNN) and why.
QStringList archivesUnder(const QStringList &paths, QStringList *missing = nullptr,
                          QStringList *undecodable = nullptr);

// The path a library keeps for a file: absolute, links resolved, '/' separators.
QString libraryPathOf(const QString &file);

// Drops the rows whose archive is no longer there (removed lists them); false when the
// library refused (its errorText says why).
bool pruneLibrary(CaseLibrary &library, QStringList &removed);
