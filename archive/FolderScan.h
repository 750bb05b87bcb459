#pragma once

#include <QString>

class CaseSession;

// The folder-scan import over the lists the Open dialog made (state.scanFiles and
// state.scanFolders): one page of at most 1000 folders per scan, every ".aed" archive of a
// folder opened as its own case, a folder of device files without archives imported into
// an archive in that folder without a question. A progress window shows the share of the
// page handled; it closes on every exit.
class FolderScan
{
public:
    static constexpr int PageSize = 1000;
    static constexpr int ProgressRange = 10000; // the bar runs from 0 to this

    explicit FolderScan(CaseSession &session) : m_session(session) {}

    // Scans page state.scanPage. An error while opening or importing ends the scan after its
    // message; a folder with an incomplete set of device files gets its message and is
    // skipped.
    void ScanFolders();
    // The toolbar arrows: close every case and scan the page before or after, when there is
    // one. Unsaved annotation changes are asked about first.
    void OnPreviousPage();
    void OnNextPage();

private:
    // False when the scan must stop.
    bool handleFolder(const QString &folder);
    bool importFolder(const QString &folder);
    void turnPage(int step);

    CaseSession &m_session;
};

// Position of the progress bar after handled folders of a page holding pageFolders.
int ScanProgress(int handled, int pageFolders);
