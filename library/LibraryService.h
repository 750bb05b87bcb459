#pragma once

#include "library/LibraryIndexer.h"
#include "library/LibraryLocation.h"

#include <QString>
#include <memory>

class CaseLibrary;
class LanguagePack;
class Platform;

// The case library as the program uses it. It is opened on first use from the location the
// reviewer set; when it cannot be used, one message says so (once per location) and every
// later use quietly does nothing, so the program goes on working without it. Archives the
// program opens, imports or saves are indexed when the setting asks for it.
class LibraryService
{
public:
    LibraryService(LanguagePack &texts, Platform &platform);
    ~LibraryService();

    // The setting: "" for the file in the data folder, a PostgreSQL URL, or a SQLite file.
    const QString &locationText() const { return m_locationText; }
    // A new location closes the library; the next use opens the new one.
    void setLocationText(const QString &text);
    bool autoIndex = true;

    // The open library, or null after its one message.
    CaseLibrary *library();

    // Indexes one archive the program has just opened, imported or saved (when autoIndex);
    // an archive that cannot be read is left out without a word.
    void archiveTouched(const QString &path);

    // Adds the archives of a folder tree under a progress window with a Cancel button, then
    // shows what was done. Null summary when the library cannot be used.
    std::optional<LibraryAddSummary> addFolder(const QString &folder);

private:
    void reportOnce(const QString &why);

    LanguagePack &m_texts;
    Platform &m_platform;
    QString m_locationText;
    std::unique_ptr<CaseLibrary> m_library;
    std::unique_ptr<LibraryIndexer> m_indexer;
    bool m_unusable = false; // the message for this location was shown
};
