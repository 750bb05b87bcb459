#include "archive/FolderScan.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "archive/CloseAllCases.h"
#include "base/FileError.h"
#include "archive/OpenFlow.h"
#include "case/CaseSession.h"
#include "device/MifFolderCheck.h"
#include "device/ScanFileList.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr int OpeningFilesText = 167;

// The progress window of one scan, closed however the scan ends.
class ProgressWindow
{
public:
    ProgressWindow(Platform &platform, const QString &caption) : m_platform(platform)
    {
        m_platform.beginProgress(caption);
        m_platform.setProgress(0);
    }
    ~ProgressWindow() { m_platform.endProgress(); }
    ProgressWindow(const ProgressWindow &) = delete;
    ProgressWindow &operator=(const ProgressWindow &) = delete;

    void set(int position) { m_platform.setProgress(position); }

private:
    Platform &m_platform;
};

bool hasSuffix(const QString &fileName, QLatin1String suffix)
{
    return QFileInfo(fileName).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

} // namespace

int ScanProgress(int handled, int pageFolders)
{
    if (pageFolders <= 0)
        return 0;
    return int(int64_t(handled) * FolderScan::ProgressRange / pageFolders);
}

void FolderScan::ScanFolders()
{
    SharedState &state = m_session.state;
    state.directoryMode = 1;
    ProgressWindow progress(m_session.platform(), m_session.GetText(OpeningFilesText));
    state.mifFolderPath.clear();

    const qsizetype folderCount = state.scanFolders.size();
    qsizetype scanIndex = qsizetype(state.scanPage) * PageSize;
    // The bar counts against the folders this page really has, so it only moves forward.
    const int pageFolders = int(std::clamp<qsizetype>(folderCount - scanIndex, 0, PageSize));
    int handled = 0;
    for (const QString &file : std::as_const(state.scanFiles)) {
        if (scanIndex >= folderCount)
            break;
        const QString folder = ScanFileList::folderOf(file);
        if (folder != state.scanFolders[scanIndex])
            continue;
        ++scanIndex;
        ++handled;
        if (handled > state.foldersPerPage)
            break;
        progress.set(ScanProgress(handled, pageFolders));
        if (folder == state.mifFolderPath)
            continue;
        state.mifFolderPath = folder;
        if (!handleFolder(folder))
            break;
    }
    // The windows show a case of the page rather than "No case loaded." beside it.
    if (m_session.selSlot < 0 && m_session.tree)
        for (int slot : m_session.openSlots())
            if (const CaseRecord *c = m_session.store.caseAt(slot); c->caseItem != NoTreeItem) {
                m_session.tree->selectItem(c->caseItem);
                break;
            }
}

bool FolderScan::handleFolder(const QString &folder)
{
    Platform &platform = m_session.platform();
    const QDir dir(folder);
    if (!dir.exists()) {
        // The folder went after the lists were made.
        platform.showError(FileError(folder, FileError::Kind::NotFound).message(m_session.texts()), m_session.GetText(TextId::Caption));
        return false;
    }

    SharedState &state = m_session.state;
    bool opened = false;
    bool hasDeviceFile = false;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : names) {
        if (hasSuffix(name, QLatin1String("mif")))
            hasDeviceFile = true;
        if (!hasSuffix(name, QLatin1String("aed")))
            continue;
        // An archive found here is opened as it is: the device files beside it are not
        // the ones it was made from, so nothing is erased.
        // One the reviewer chose not to open (another reviewer holds it) is passed over, not
        // imported again.
        const OpenFlow::Outcome outcome = OpenFlow(m_session).OpenArchive(dir.filePath(name), state.timeZoneChoice);
        if (outcome != OpenFlow::Outcome::Opened && outcome != OpenFlow::Outcome::Cancelled)
            return false;
        opened = true;
    }
    if (opened || !hasDeviceFile)
        return true;
    return importFolder(folder);
}

bool FolderScan::importFolder(const QString &folder)
{
    SharedState &state = m_session.state;
    const MifFolderCheck check = checkMifFolder(folder);
    state.deviceModel = check.deviceModel;
    state.modelQ26Found = check.modelQ26Found;
    if (const int missing = missingMifFileText(check); missing != 0) {
        m_session.platform().showError(m_session.GetText(missing), m_session.GetText(TextId::Caption));
        return true;
    }
    m_session.store.setTempFilePresent(m_session.store.nextCaseSlot(), check.tempFilePresent());
    state.openMode = 1;
    const OpenFlow::Outcome outcome = OpenFlow(m_session).ImportMifFolder();
    // A device file that could not be read was reported like a missing one: the folder
    // stays as it was and the scan goes on.
    return outcome == OpenFlow::Outcome::Opened || outcome == OpenFlow::Outcome::Skipped;
}

void FolderScan::OnPreviousPage()
{
    if (m_session.state.scanPage <= 0)
        return;
    turnPage(-1);
}

void FolderScan::OnNextPage()
{
    const SharedState &state = m_session.state;
    if ((qsizetype(state.scanPage) + 1) * PageSize >= state.scanFolders.size())
        return;
    turnPage(1);
}

void FolderScan::turnPage(int step)
{
    SharedState &state = m_session.state;
    // Closing the page's cases would drop what the reviewer has not saved.
    if (!m_session.confirmClose(m_session.openSlots()))
        return;
    CloseAllCases(m_session);
    state.scanPage += step;
    ScanFolders();
}
