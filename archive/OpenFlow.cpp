#include "archive/OpenFlow.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "archive/AedArchive.h"
#include "archive/AedArchiveReader.h"
#include "device/AudioRecordFile.h"
#include "archive/CloseAllCases.h"
#include "device/CprFeedbackFile.h"
#include "base/FileError.h"
#include "archive/FolderScan.h"
#include "archive/ImportChecks.h"
#include "archive/MifImport.h"
#include "case/CaseSession.h"
#include "case/DeviceFolderFiles.h"
#include "case/EventListText.h"
#include "case/ReviewFile.h"
#include "device/EventListBuild.h"
#include "device/OpenDialogLogic.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr int ImportMessageConverted = 168;
constexpr int ImportMessageOwnFormat = 169;
constexpr int ImportMessageErased = 170;
constexpr int AdjustFormText = 173;
constexpr int ReviewFileIgnoredText = 174;

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
    SharedState &state = m_session.state;
    if (state.openMode == 3) {
        OpenArchivePath();
        showOpenedCase();
        return;
    }
    OpenDialogLogic logic(state, m_session.platform(), m_session.texts());
    if (!m_session.platform().runOpenDialog(logic))
        return;
    switch (logic.action()) {
    case OpenDialogLogic::Action::LoadMif:
        m_session.store.setTempFilePresent(m_session.store.nextCaseSlot(), logic.tempFilePresent());
        ImportMifFolder();
        showOpenedCase();
        break;
    case OpenDialogLogic::Action::LoadAed:
        ChooseArchive();
        showOpenedCase();
        break;
    case OpenDialogLogic::Action::OpenDirectory:
        // A new root starts on its first page.
        state.scanPage = 0;
        FolderScan(m_session).ScanFolders();
        break;
    case OpenDialogLogic::Action::None:
        break;
    }
}

OpenFlow::Outcome OpenFlow::ImportMifFolder()
{
    SharedState &state = m_session.state;
    state.archivePath.clear();
    MifImport import(m_session);
    const int slot = import.DecodeFolder();
    if (slot < 0)
        return Outcome::Skipped;

    const QString name = import.archiveName();
    if (state.directoryMode == 1) {
        state.archivePath = state.mifFolderPath + QLatin1Char('/') + name + QStringLiteral(".aed");
    } else {
        const QString path = m_session.platform().saveFileDialog(QString(), QDir(state.mifFolderPath).filePath(name),
                                                              AedArchive::fileFilter(m_session.texts().isItalian()), AedArchive::defaultSuffix());
        if (path.isEmpty()) {
            // The decoded case is never shown and could not be saved later: it goes now.
            m_session.store.FreeCase(slot);
            return Outcome::Cancelled;
        }
        state.archivePath = path;
    }
    // The archive never goes over a file of the device folder, and an import of a whole
    // directory never replaces an archive that is there already (it may have been reviewed).
    QString refusal;
    if (!ImportChecks::deviceFolderFileAt(m_session.store.scratchFileSet, state.archivePath).isEmpty())
        refusal = ImportChecks::protectedTargetText(state.archivePath);
    else if (state.directoryMode == 1 && QFileInfo::exists(state.archivePath))
        refusal = existingArchiveText(state.archivePath);
    if (!refusal.isEmpty()) {
        m_session.platform().showError(refusal, m_session.GetText(TextId::Caption));
        m_session.store.FreeCase(slot);
        return state.directoryMode == 1 ? Outcome::Skipped : Outcome::Failed;
    }
    if (!import.WriteArchive(slot, state.archivePath))
        return Outcome::Failed;

    state.openMode = 3;
    return OpenArchivePath(&import.conversion());
}

OpenFlow::Outcome OpenFlow::ChooseArchive()
{
    const QString path = m_session.platform().openFileDialog(QString(), QString(), AedArchive::fileFilter(m_session.texts().isItalian()));
    if (path.isEmpty())
        return Outcome::Cancelled;
    return OpenArchiveFile(path);
}

OpenFlow::Outcome OpenFlow::OpenArchivePath(const MifConversion *conversion)
{
    const QString &path = m_session.state.archivePath;
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

OpenFlow::Outcome OpenFlow::OpenAndShowArchiveFile(const QString &path)
{
    const Outcome outcome = OpenArchiveFile(path);
    showOpenedCase();
    return outcome;
}

void OpenFlow::rememberArchive(const QString &folder, const QString &name)
{
    SharedState &state = m_session.state;
    state.currentFolder = folder;
    state.currentArchiveName = name;
    state.lastArchiveName = name;
    state.lastArchiveFolder = folder;
}

OpenFlow::Outcome OpenFlow::LoadArchiveIntoNewSlot(const MifConversion *conversion)
{
    SharedState &state = m_session.state;
    // The request is used up whatever comes of it: the next Open shows the Open dialog.
    state.openMode = 0;
    const QString path = state.currentFolder + state.currentArchiveName;
    const std::optional<ReviewMarks> marks = readReviewMarks(path);
    const int slot = m_session.store.AllocateCaseSlot(path);
    OpenCase &entry = m_session.store.at(slot);
    entry.hasCprFeedback = false;
    entry.hasAudio = false;
    entry.audioStartMs = 0;
    entry.audioDurationSec = 0;
    try {
        ReadAedArchive(m_session.store, path, slot, m_session.state.timeZoneChoice); // frees the slot when it fails
    } catch (const FileError &error) {
        m_session.platform().showError(error.message(), m_session.GetText(TextId::Caption));
        return Outcome::Failed;
    }

    state.modelIndex = ModelIndexOfFolder(state.currentFolder);
    entry.modelIndex = state.modelIndex;
    // A start typed with "Adjust..." now, else the one the review file keeps.
    entry.adjustedStart = !m_adjustedStart.isEmpty() ? m_adjustedStart : marks ? marks->adjustedStart : QString();
    BuildEventList(m_session, slot);
    if (marks) {
        ReviewMarks kept = *marks;
        kept.adjustedStart = entry.adjustedStart;
        ReviewFile::apply(m_session.store, slot, kept);
        if (const CaseRecord *c = m_session.store.caseAt(slot); c && m_session.tree && !entry.viewed)
            m_session.tree->setItemImage(c->caseItem, TreeImage::CaseNotViewed);
    }
    if (!m_adjustedStart.isEmpty())
        m_session.reviewMarksChanged(slot);
    m_openedSlot = slot;
    if (m_session.archiveOpened)
        m_session.archiveOpened(path);

    bool complete = true;
    if (conversion) {
        if (ArchiveHoldsConversion(m_session, slot, *conversion)) {
            finishConversion(*conversion);
        } else {
            const FileError kept(path, FileError::Kind::BadFormat,
                                 QStringLiteral("The archive does not hold the device files as they were read; "
                                                "they were kept in %1.")
                                     .arg(conversion->mifFolder));
            m_session.platform().showError(kept.message(), m_session.GetText(TextId::Caption));
            complete = false;
        }
    }
    return loadCompanionFiles(slot) && complete ? Outcome::Opened : Outcome::Failed;
}

void OpenFlow::finishConversion(const MifConversion &conversion)
{
    const MifEraseResult erase = EraseMifFiles(conversion);
    if (m_session.state.directoryMode == 0)
        showImportMessage(erase);
    else if (!erase.complete())
        m_session.platform().messageBox(ImportChecks::eraseOutcomeText(erase.changed, erase.notErased),
                                        m_session.GetText(TextId::Caption), Platform::Icon::Warning,
                                        Platform::Buttons::Ok);
}

void OpenFlow::showImportMessage(const MifEraseResult &erase)
{
    // "Erased" is said only of files that went; what stays on the card is named with why.
    QStringList parts;
    if (!erase.erased.isEmpty() && erase.complete())
        parts << m_session.GetText(ImportMessageErased);
    if (!erase.complete())
        parts << ImportChecks::eraseOutcomeText(erase.changed, erase.notErased);
    QString text = m_session.GetText(ImportMessageConverted) + QLatin1Char('\n') + m_session.GetText(ImportMessageOwnFormat);
    if (!parts.isEmpty())
        text += QStringLiteral("\n\n") + parts.join(QStringLiteral("\n\n"));
    m_session.platform().messageBox(text, m_session.GetText(TextId::Caption),
                                    erase.complete() ? Platform::Icon::Information : Platform::Icon::Warning,
                                    Platform::Buttons::Ok);
}

std::optional<ReviewMarks> OpenFlow::readReviewMarks(const QString &archivePath)
{
    // A review file that cannot be read costs the reviewer's marks, not the case.
    try {
        return ReviewFile::read(archivePath);
    } catch (const FileError &error) {
        m_session.platform().showError(
            error.message() + QLatin1Char('\n') + m_session.GetText(ReviewFileIgnoredText),
            m_session.GetText(TextId::Caption));
        return std::nullopt;
    }
}

void OpenFlow::showOpenedCase()
{
    const CaseRecord *c = m_session.store.caseAt(m_openedSlot);
    if (c && m_session.tree && c->caseItem != NoTreeItem)
        m_session.tree->selectItem(c->caseItem);
}

bool OpenFlow::loadCompanionFiles(int slot)
{
    // Each file is reported on its own: a broken feedback file does not keep the sound away.
    const DeviceFolderFiles files(m_session.state.currentFolder);
    LoadCprFeedback(m_session, files.filePath(CprFeedbackFile::fileName()), slot);
    LoadAudioRecord(m_session, files.filePath(AudioRecordFile::binFileName()), slot);
    MakeAudioRecordWav(m_session, slot);
    return true;
}

OpenFlow::Outcome OpenFlow::AdjustCase(int slot, const QString &typedStart)
{
    if (!m_session.store.caseAt(slot))
        return Outcome::Cancelled;
    if (!EventListText::parseStrictStart(typedStart)) {
        m_session.platform().showError(m_session.GetText(AdjustFormText).arg(typedStart),
                                       m_session.GetText(TextId::Caption));
        return Outcome::Cancelled;
    }
    if (!m_session.confirmClose({slot}))
        return Outcome::Cancelled;
    // The case is read again from its own archive (a Save just now may have moved it) with
    // the typed start; it is closed only once its new reading is open.
    const QString path = m_session.store.at(slot).sourcePath;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    rememberArchive(path.left(cut + 1), path.mid(cut + 1));
    m_adjustedStart = typedStart;
    const Outcome outcome = LoadArchiveIntoNewSlot();
    m_adjustedStart.clear();
    if (m_openedSlot < 0)
        return outcome;
    m_session.CloseCase(slot);
    showOpenedCase();
    return outcome;
}
