#include "archive/OpenFlow.h"

#include "app/LanguagePack.h"
#include "app/Platform.h"
#include "archive/AedArchive.h"
#include "archive/AedArchiveReader.h"
#include "archive/AudioRecordFile.h"
#include "archive/CloseAllCases.h"
#include "archive/CprFeedbackFile.h"
#include "archive/FileError.h"
#include "archive/FolderScan.h"
#include "archive/ImportChecks.h"
#include "archive/MifImport.h"
#include "case/CRavelinView.h"
#include "case/OpenDialogLogic.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr int ImportMessageConverted = 168;
constexpr int ImportMessageOwnFormat = 169;
constexpr int ImportMessageErased = 170;

QString existingArchiveText(const QString &path)
{
    return QStringLiteral("%1 exists already and was not replaced by a new import of its device files.").arg(path);
}
} // namespace

int ModelIndexOfFolder(const QString &folder)
{
    if (folder.contains(QLatin1String("Q21")))
        return 0;
    if (folder.contains(QLatin1String("Q25")))
        return 1;
    return 2;
}

void OpenFlow::OnOpenRequest()
{
    SharedState &state = m_view.state;
    if (state.openMode == 3) {
        OpenArchivePath();
        return;
    }
    OpenDialogLogic logic(state, m_view.platform(), m_view.texts());
    if (!m_view.platform().runOpenDialog(logic))
        return;
    switch (logic.action()) {
    case OpenDialogLogic::Action::LoadMif:
        m_view.setTempFilePresent(m_view.nextCaseSlot(), logic.tempFilePresent());
        ImportMifFolder();
        break;
    case OpenDialogLogic::Action::LoadAed:
        ChooseArchive();
        break;
    case OpenDialogLogic::Action::OpenDirectory:
        // A new root starts on its first page.
        state.scanPage = 0;
        FolderScan(m_view).ScanFolders();
        break;
    case OpenDialogLogic::Action::None:
        break;
    }
}

OpenFlow::Outcome OpenFlow::ImportMifFolder()
{
    SharedState &state = m_view.state;
    state.archivePath.clear();
    MifImport import(m_view);
    const int slot = import.DecodeFolder();
    if (slot < 0)
        return Outcome::Skipped;

    const QString name = import.archiveName();
    if (state.directoryMode == 1) {
        state.archivePath = state.mifFolderPath + QLatin1Char('/') + name + QStringLiteral(".aed");
    } else {
        const QString path = m_view.platform().saveFileDialog(QString(), QDir(state.mifFolderPath).filePath(name),
                                                              AedArchive::fileFilter(), AedArchive::defaultSuffix());
        if (path.isEmpty()) {
            // The decoded case is never shown and could not be saved later: it goes now.
            m_view.FreeCase(slot);
            return Outcome::Cancelled;
        }
        state.archivePath = path;
    }
    // The archive never goes over a file of the device folder, and an import of a whole
    // directory never replaces an archive that is there already (it may have been reviewed).
    QString refusal;
    if (!ImportChecks::deviceFolderFileAt(m_view.scratchFileSet, state.archivePath).isEmpty())
        refusal = ImportChecks::protectedTargetText(state.archivePath);
    else if (state.directoryMode == 1 && QFileInfo::exists(state.archivePath))
        refusal = existingArchiveText(state.archivePath);
    if (!refusal.isEmpty()) {
        m_view.platform().showError(refusal, m_view.GetText(TextId::Caption));
        m_view.FreeCase(slot);
        return state.directoryMode == 1 ? Outcome::Skipped : Outcome::Failed;
    }
    if (!import.WriteArchive(slot, state.archivePath))
        return Outcome::Failed;

    state.openMode = 3;
    return OpenArchivePath(&import.conversion());
}

OpenFlow::Outcome OpenFlow::ChooseArchive()
{
    const QString path = m_view.platform().openFileDialog(QString(), QString(), AedArchive::fileFilter());
    if (path.isEmpty())
        return Outcome::Cancelled;
    return OpenArchiveFile(path);
}

OpenFlow::Outcome OpenFlow::OpenArchivePath(const MifConversion *conversion)
{
    const QString &path = m_view.state.archivePath;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    rememberArchive(path.left(cut + 1), path.mid(cut + 1));
    return LoadArchiveIntoNewSlot(conversion);
}

OpenFlow::Outcome OpenFlow::OpenArchiveFile(const QString &path)
{
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    rememberArchive(path.left(cut + 1), path.mid(cut + 1));
    return LoadArchiveIntoNewSlot();
}

void OpenFlow::rememberArchive(const QString &folder, const QString &name)
{
    SharedState &state = m_view.state;
    state.currentFolder = folder;
    state.currentArchiveName = name;
    state.lastArchiveName = name;
    state.lastArchiveFolder = folder;
}

OpenFlow::Outcome OpenFlow::LoadArchiveIntoNewSlot(const MifConversion *conversion)
{
    SharedState &state = m_view.state;
    const QString path = state.currentFolder + state.currentArchiveName;
    const int slot = m_view.AllocateCaseSlot();
    const auto s = size_t(slot);
    m_view.hasCprFeedback[s] = false;
    m_view.hasAudio[s] = false;
    m_view.audioStartMs[s] = 0;
    m_view.audioDurationSec[s] = 0;
    try {
        ReadAedArchive(m_view, path, slot); // frees the slot when it fails
    } catch (const FileError &error) {
        m_view.platform().showError(error.message(), m_view.GetText(TextId::Caption));
        return Outcome::Failed;
    }

    state.modelIndex = ModelIndexOfFolder(state.currentFolder);
    m_view.BuildEventList(slot);
    state.openMode = 0;
    m_openedSlot = slot;
    if (m_view.archiveOpened)
        m_view.archiveOpened(path);

    bool complete = true;
    if (conversion) {
        if (ArchiveHoldsConversion(m_view, slot, *conversion)) {
            finishConversion(*conversion);
        } else {
            const FileError kept(path, FileError::Kind::BadFormat,
                                 QStringLiteral("The archive does not hold the device files as they were read; "
                                                "they were kept in %1.")
                                     .arg(conversion->mifFolder));
            m_view.platform().showError(kept.message(), m_view.GetText(TextId::Caption));
            complete = false;
        }
    }
    return loadCompanionFiles(slot) && complete ? Outcome::Opened : Outcome::Failed;
}

void OpenFlow::finishConversion(const MifConversion &conversion)
{
    const QStringList kept = EraseMifFiles(conversion);
    if (m_view.state.directoryMode == 0)
        showImportMessage(kept);
    else if (!kept.isEmpty())
        m_view.platform().messageBox(ImportChecks::keptChangedText(kept), m_view.GetText(TextId::Caption),
                                     Platform::Icon::Warning, Platform::Buttons::Ok);
}

void OpenFlow::showImportMessage(const QStringList &kept)
{
    const QString erased = kept.isEmpty() ? m_view.GetText(ImportMessageErased) : ImportChecks::keptChangedText(kept);
    const QString text = m_view.GetText(ImportMessageConverted) + QLatin1Char('\n') + m_view.GetText(ImportMessageOwnFormat)
        + QStringLiteral("\n\n") + erased;
    m_view.platform().messageBox(text, m_view.GetText(TextId::Caption),
                                 kept.isEmpty() ? Platform::Icon::Information : Platform::Icon::Warning,
                                 Platform::Buttons::Ok);
}

bool OpenFlow::loadCompanionFiles(int slot)
{
    // Each file is reported on its own: a broken feedback file does not keep the sound away.
    bool complete = true;
    const QString &folder = m_view.state.currentFolder;
    for (auto load : {&LoadCprFeedback, &LoadAudioRecord}) {
        try {
            load(m_view, folder, slot);
        } catch (const FileError &error) {
            m_view.platform().showError(error.message(), m_view.GetText(TextId::Caption));
            complete = false;
        }
    }
    return complete;
}

void OpenFlow::OnReloadRequest()
{
    CloseAllCases(m_view);
    ReloadLastArchive();
    // The reviewer was working on the case: it is shown again, with the adjusted start.
    if (const CaseRecord *c = m_view.caseAt(m_openedSlot); c && m_view.tree && c->caseItem != NoTreeItem)
        m_view.tree->selectItem(c->caseItem);
}

OpenFlow::Outcome OpenFlow::ReloadLastArchive()
{
    SharedState &state = m_view.state;
    if (state.lastArchiveName.isEmpty())
        return Outcome::Cancelled;
    state.currentArchiveName = state.lastArchiveName;
    state.currentFolder = state.lastArchiveFolder;
    return LoadArchiveIntoNewSlot();
}
