#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>

class CC8Class;
class CaseSession;

// What one conversion of a MIF folder wrote: enough to tell, once the new archive has been
// read back, whether it holds the device files, and which files to erase then.
struct MifConversion
{
    // Length and hash of one device file's bytes as the archive holds them.
    struct Contents
    {
        uint32_t size = 0;
        size_t hash = 0;
        bool operator==(const Contents &) const = default;
    };

    QString mifFolder;            // folder of the device files, without a trailing '/'
    int32_t deviceModel = 0;      // the model the files were read as
    bool tempRead = false;        // the whole Temp file went into the archive
    QString archivePath;
    std::array<Contents, 5> files{}; // CT, ECG (samples after the header), HR, Trend, Temp
    std::array<Contents, 5> onDisk{}; // the same five files whole, as they were read
    std::array<QString, 5> fileNames; // their names in mifFolder
};

// The name an import gives its archive, without ".aed": model code, hour and minute, and
// the date of the ECG header ("Q25_0905(2021-03-07)"); header years 0..8 count as 2016..2024.
QString ImportArchiveName(int32_t deviceModel, const CC8Class &files);

// One import of a MIF folder: the decoding of state.mifFolderPath (model state.deviceModel)
// into a case that is never shown, and its conversion into an archive.
class MifImport
{
public:
    explicit MifImport(CaseSession &session) : m_session(session) {}

    // Reads the folder once into the scratch file set and makes a case of those buffers
    // (CreateCaseFromMif); the Temp file is read when the next slot's tempFilePresent is 1.
    // Returns the slot, or -1 when the CT, ECG, HR or Trend file could not be read or was
    // written, replaced or removed from before its read until the case held it: the
    // message naming the file has been shown and no case is left behind. Device files
    // that end in a cut record are named in a warning; the import goes on.
    int DecodeFolder();
    // Runs between the read of the folder and the case taking its files (tests change a
    // file there).
    std::function<void()> betweenReads;
    // The automatic name of the folder decoded last.
    QString archiveName() const;
    // Writes the case with the conversion writer to path and frees it, whether or not the
    // write succeeded. Returns false after showing the message naming the file.
    bool WriteArchive(int slot, const QString &path);

    // The conversion of the folder decoded last (waits for its files' hashes).
    const MifConversion &conversion();

private:
    CaseSession &m_session;
    MifConversion m_conversion;
    QByteArray m_ecgHeader;
    std::future<std::array<MifConversion::Contents, 5>> m_contents;
};

// True when the case in slot, just read from conversion.archivePath, holds the device
// files as they were converted.
bool ArchiveHoldsConversion(const CaseSession &session, int slot, const MifConversion &conversion);

// Deletes the converted device files of the folder (CT, ECG, HR, Trend, and Temp when it
// was read), then the folder itself if nothing else is left in it. Just before a file is
// deleted it is read again: one that is no longer what was converted (another length or
// other bytes, or it cannot be read) is kept. What cannot be deleted (a read-only card, no
// permission) stays where it was and is reported with the system's reason.
struct MifEraseResult
{
    QStringList erased;    // paths of the files deleted
    QStringList changed;   // paths kept because they are no longer what was converted
    QStringList notErased; // "path: reason" of the files that could not be deleted
    bool complete() const { return changed.isEmpty() && notErased.isEmpty(); }
};
MifEraseResult EraseMifFiles(const MifConversion &conversion);
