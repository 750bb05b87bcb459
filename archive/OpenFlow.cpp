#include "archive/OpenFlow.h"

#include "base/AdjustTexts.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "archive/AedArchive.h"
#include "archive/AedArchiveReader.h"
#include "archive/CaseLockFile.h"
#include "archive/ReviewLockQuestion.h"
#include "archive/CaseCompanions.h"
#include "archive/CompanionBinding.h"
#include "archive/RecordingId.h"
#include "device/AudioRecordFile.h"
#include "archive/CloseAllCases.h"
#include "device/CprFeedbackFile.h"
#include "base/FileError.h"
#include "base/FileIdentity.h"
#include "archive/FolderScan.h"
#include "archive/ImportChecks.h"
#include "archive/MifImport.h"
#include "case/AuditAction.h"
#include "case/CC8Class.h"
#include "case/CaseSession.h"
#include "case/DeviceFolderFiles.h"
#include "case/EventListText.h"
#include "case/ReviewFile.h"
#include "device/EventListBuild.h"
#include "device/OpenDialogLogic.h"
#include "base/MessageTexts.h"
#include "device/TimeZoneTable.h"

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

int ModelIndexOfArchive(const QString &path, const QString &recordedModel)
{
    static const QLatin1String codes[] = {QLatin1String("Q21"), QLatin1String("Q25"), QLatin1String("Q26")};
    const QFileInfo file(path);
    const QString folder = file.path();
    if (folder.contains(codes[0]) || folder.contains(codes[1]) || folder.contains(codes[2]))
        return ModelIndexOfFolder(folder);
    for (int index = 0; index < 3; ++index)
        if (file.fileName().startsWith(codes[index], Qt::CaseInsensitive))
            return index;
    for (int index = 0; index < 3; ++index)
        if (recordedModel == codes[index])
            return index;
    return 2;
}

void OpenFlow::OnOpenRequest()
{
    SharedState &state = m_session.state;
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
    MifImport import(m_session);
    const int slot = import.DecodeFolder();
    if (slot < 0)
        return Outcome::Skipped;

    const QString name = import.archiveName();
    QString archivePath;
    if (state.directoryMode == 1) {
        archivePath = state.mifFolderPath + QLatin1Char('/') + name + QStringLiteral(".aed");
    } else {
        archivePath = m_session.platform().saveFileDialog(QString(), QDir(state.mifFolderPath).filePath(name),
                                                          AedArchive::fileFilter(m_session.texts().isItalian()),
                                                          AedArchive::defaultSuffix());
        if (archivePath.isEmpty()) {
            // The decoded case is never shown and could not be saved later: it goes now.
            m_session.store.FreeCase(slot);
            return Outcome::Cancelled;
        }
    }
    // The archive never goes over a file of the device folder, an import of a whole directory
    // never replaces an archive that is there already (it may have been reviewed), and no
    // archive goes beside another recording's CPR data or sound.
    const QString recordingId = RecordingId(*m_session.store.at(slot).fileSet);
    const CompanionPlan companions = PlanCompanions(ImportedCompanions(state.mifFolderPath, recordingId), archivePath);
    QString refusal;
    if (!ImportChecks::deviceFolderFileAt(m_session.store.scratchFileSet, archivePath).isEmpty())
        refusal = ImportChecks::protectedTargetText(archivePath);
    else if (state.directoryMode == 1 && QFileInfo::exists(archivePath))
        refusal = existingArchiveText(archivePath);
    else
        refusal = companions.refusal;
    if (!refusal.isEmpty()) {
        m_session.platform().showError(refusal, m_session.GetText(TextId::Caption));
        m_session.store.FreeCase(slot);
        return state.directoryMode == 1 ? Outcome::Skipped : Outcome::Failed;
    }
    if (!import.WriteArchive(slot, archivePath))
        return Outcome::Failed;
    // The device files are erased only once the case is whole where it now lives.
    QStringList notes;
    try {
        CarryCompanions(companions, archivePath);
        WriteReviewFileWithBinding(archivePath, recordingId, companions.binding(), std::nullopt, false, notes,
                                   CC8Class::ModelCode(state.deviceModel));
    } catch (const FileError &error) {
        m_session.platform().showError(error.message(m_session.texts()), m_session.GetText(TextId::Caption));
        OpenArchive(archivePath, state.timeZoneChoice);
        return Outcome::Failed;
    }
    if (!notes.isEmpty())
        m_session.platform().messageBox(notes.join(QLatin1Char('\n')), m_session.GetText(TextId::Caption),
                                        Platform::Icon::Information, Platform::Buttons::Ok);
    if (m_session.audited)
        m_session.audited(recordingId, archivePath, QLatin1String(AuditAction::Imported),
                          QStringLiteral("from %1").arg(QDir::toNativeSeparators(state.mifFolderPath)));
    return OpenArchive(archivePath, state.timeZoneChoice, &import.conversion());
}

OpenFlow::Outcome OpenFlow::ChooseArchive()
{
    const QString path = m_session.platform().openFileDialog(QString(), QString(), AedArchive::fileFilter(m_session.texts().isItalian()));
    if (path.isEmpty())
        return Outcome::Cancelled;
    return OpenArchiveFile(path);
}

OpenFlow::Outcome OpenFlow::OpenArchiveFile(const QString &path)
{
    return OpenArchive(path, m_session.state.timeZoneChoice);
}

OpenFlow::Outcome OpenFlow::OpenAndShowArchiveFile(const QString &path)
{
    const Outcome outcome = OpenArchiveFile(path);
    showOpenedCase();
    return outcome;
}

int OpenFlow::openSlotOf(const QString &path) const
{
    if (!QFileInfo::exists(path))
        return -1;
    for (int slot : m_session.openSlots())
        if (isSameFile(m_session.store.at(slot).sourcePath, path))
            return slot;
    return -1;
}

OpenFlow::Outcome OpenFlow::OpenArchive(const QString &path, uint16_t zoneRow, const MifConversion *conversion)
{
    SharedState &state = m_session.state;
    // The request is used up whatever comes of it: the next Open shows the Open dialog.
    state.openMode = 0;
    // One archive is one case: a second open of the same file shows the case already open
    // (two copies would each rewrite the review file, the last one winning).
    if (m_writes.reviewFile && m_adjustedSlot < 0) {
        if (const int open = openSlotOf(path); open >= 0) {
            m_openedSlot = open;
            if (m_session.archiveOpened)
                m_session.archiveOpened(path);
            return Outcome::Opened;
        }
    }
    const int slot = m_session.store.AllocateCaseSlot(path);
    OpenCase &entry = m_session.store.at(slot);
    entry.hasCprFeedback = false;
    entry.hasAudio = false;
    entry.audioStartMs = 0;
    entry.audioDurationSec = 0;
    try {
        ReadAedArchive(m_session.store, path, slot, zoneRow); // frees the slot when it fails
    } catch (const FileError &error) {
        m_session.platform().showError(error.message(m_session.texts()), m_session.GetText(TextId::Caption));
        return Outcome::Failed;
    }

    if (!settleLock(slot, path)) {
        m_session.store.FreeCase(slot);
        return Outcome::Cancelled;
    }

    bool adopted = false;
    bool writable = false;
    const std::optional<ReviewMarks> marks =
        reviewMarksFor(path, entry.recordingId, m_writes.reviewFile && !entry.readOnly, adopted, writable);
    entry.reviewFileWritable = writable;
    // An import records the model it read the files as, for an archive whose name does not say it.
    entry.recordedModel = conversion ? CC8Class::ModelCode(conversion->deviceModel) : marks ? marks->model : QString();
    state.modelIndex = ModelIndexOfArchive(path, entry.recordedModel);
    entry.modelIndex = state.modelIndex;
    // The import that has just written the review file hashed these very files for it.
    const CompanionChoice companions =
        ChooseCompanions(path, marks ? marks->companions : std::nullopt, writable, conversion != nullptr);
    entry.companions = companions.binding;
    if (!companions.leftOut.isEmpty())
        m_session.platform().messageBox(companions.leftOutText(), m_session.GetText(TextId::Caption),
                                        Platform::Icon::Warning, Platform::Buttons::Ok);

    // A case read again for "Adjust..." or "Undo adjustment" takes the start it was read
    // for (none: the device's), any other the one the review file keeps.
    entry.adjustedStart = m_adjustedSlot >= 0 ? m_adjustedStart : marks ? marks->adjustedStart : QString();
    entry.adjustedZoneMinutes = m_adjustedSlot >= 0 ? std::optional<int32_t>(m_adjustedZone)
                                : marks                ? marks->adjustedZoneMinutes
                                                       : std::nullopt;
    if (entry.adjustedStart.isEmpty())
        entry.adjustedZoneMinutes.reset();
    BuildEventList(m_session, slot);
    if (marks) {
        ReviewMarks kept = *marks;
        kept.adjustedStart = entry.adjustedStart;
        kept.adjustedZoneMinutes = entry.adjustedZoneMinutes;
        ReviewFile::apply(m_session.store, slot, kept);
        if (const CaseRecord *c = m_session.store.caseAt(slot); c && m_session.tree && !entry.viewed)
            m_session.tree->setItemImage(c->caseItem, TreeImage::CaseNotViewed);
    }
    // What the file does not say yet is recorded now: the recording's ID of a file written
    // before recordings had one and the companions bound by the folder's layout (quietly: in a
    // folder that cannot be written the case is the same, and the first mark the reviewer sets
    // says so), and a start typed with "Adjust..." or given up with "Undo adjustment".
    if (m_adjustedSlot >= 0) {
        m_session.reviewMarksChanged(slot);
    } else if ((adopted || companions.newBinding) && entry.reviewFileWritable) {
        try {
            ReviewFile::write(path, ReviewFile::marksOf(m_session.store, slot));
        } catch (const FileError &) {
        }
    }
    m_openedSlot = slot;
    if (m_session.archiveOpened)
        m_session.archiveOpened(path);

    bool complete = true;
    if (conversion) {
        if (ArchiveHoldsConversion(m_session, slot, *conversion)) {
            finishConversion(*conversion);
        } else {
            const FileError kept(path, FileError::Kind::BadFormat,
                                 m_session.GetText(MessageText::ArchiveLacksDeviceFiles).arg(conversion->mifFolder));
            m_session.platform().showError(kept.message(m_session.texts()), m_session.GetText(TextId::Caption));
            complete = false;
        }
    }
    loadCompanionFiles(slot, companions.cprFeedbackPath, companions.audioRecordPath);
    if (m_writes.lock && m_adjustedSlot < 0 && m_session.caseOpenedForReview)
        m_session.caseOpenedForReview(slot);
    return complete ? Outcome::Opened : Outcome::Failed;
}

bool OpenFlow::settleLock(int slot, const QString &path)
{
    OpenCase &entry = m_session.store.at(slot);
    if (m_adjustedSlot >= 0) {
        OpenCase &replaced = m_session.store.at(m_adjustedSlot);
        entry.lock = std::move(replaced.lock);
        entry.readOnly = replaced.readOnly;
        entry.lockTakenOver = replaced.lockTakenOver;
        return true;
    }
    if (!m_writes.lock)
        return true;
    // One lock per file, however the archive is named.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString lockedPath = canonical.isEmpty() ? path : canonical;
    std::unique_ptr<ReviewLock> lock = m_session.lockProvider
        ? m_session.lockProvider(lockedPath, entry.recordingId)
        : std::make_unique<CaseLockFile>(lockedPath, ReviewerIdentity::current());
    if (!lock)
        return true;
    const LockDecision decision =
        AskForReviewLock(m_session.platform(), m_session.texts(), m_session.GetText(TextId::Caption), *lock, lockedPath);
    switch (decision.open) {
    case LockDecision::Open::NotOpened:
        return false;
    case LockDecision::Open::ReadOnly:
        entry.readOnly = true;
        entry.reviewFileWritable = false;
        break;
    case LockDecision::Open::ForEditing:
        if (decision.held)
            entry.lock = std::move(lock);
        entry.lockTakenOver = decision.takenOver;
        break;
    }
    return true;
}

void OpenFlow::finishConversion(const MifConversion &conversion)
{
    const MifEraseResult erase = EraseMifFiles(conversion);
    if (m_session.state.directoryMode == 0)
        showImportMessage(erase);
    else if (!erase.complete())
        m_session.platform().messageBox(ImportChecks::eraseOutcomeText(erase.changed, erase.notErased, m_session.texts()),
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
        parts << ImportChecks::eraseOutcomeText(erase.changed, erase.notErased, m_session.texts());
    QString text = m_session.GetText(ImportMessageConverted) + QLatin1Char('\n') + m_session.GetText(ImportMessageOwnFormat);
    if (!parts.isEmpty())
        text += QStringLiteral("\n\n") + parts.join(QStringLiteral("\n\n"));
    m_session.platform().messageBox(text, m_session.GetText(TextId::Caption),
                                    erase.complete() ? Platform::Icon::Information : Platform::Icon::Warning,
                                    Platform::Buttons::Ok);
}

std::optional<ReviewMarks> OpenFlow::reviewMarksFor(const QString &path, const QString &recordingId, bool mayWrite,
                                                    bool &adopted, bool &writable)
{
    // A review file that cannot be used costs the reviewer's marks, not the case; one that is
    // not this recording's is never applied and never overwritten.
    using Kind = ReviewFile::Reading::Kind;
    const ReviewFile::Reading reading = ReviewFile::read(path);
    adopted = false;
    writable = mayWrite && reading.kind != Kind::Link;
    const QString caption = m_session.GetText(TextId::Caption);
    const QString file = QDir::toNativeSeparators(ReviewFile::pathFor(path));
    QString why;
    switch (reading.kind) {
    case Kind::None:
        return std::nullopt;
    case Kind::Link:
        m_session.platform().showError(m_session.GetText(MessageText::ReviewFileLink).arg(file), caption);
        return std::nullopt;
    case Kind::Marks:
        if (reading.marks.recordingId.isEmpty() || reading.marks.recordingId == recordingId) {
            adopted = reading.marks.recordingId.isEmpty();
            return reading.marks;
        }
        why = m_session.GetText(MessageText::OtherRecordingMarks).arg(file);
        break;
    case Kind::Unusable:
        why = reading.error ? reading.error->message(m_session.texts()) : reading.problem;
        break;
    }
    if (!mayWrite) {
        m_session.platform().showError(why + QLatin1Char('\n') + m_session.GetText(ReviewFileIgnoredText), caption);
        return std::nullopt;
    }
    try {
        const QString aside = ReviewFile::moveAside(path);
        m_session.platform().showError(why + QLatin1Char('\n')
                                           + m_session.GetText(MessageText::ReviewMovedAside)
                                                 .arg(QDir::toNativeSeparators(aside)),
                                       caption);
    } catch (const FileError &error) {
        // It stays where it is, and so nothing is written over it.
        writable = false;
        m_session.platform().showError(why + QLatin1Char('\n') + error.message(m_session.texts()), caption);
    }
    return std::nullopt;
}

void OpenFlow::showOpenedCase()
{
    const CaseRecord *c = m_session.store.caseAt(m_openedSlot);
    if (c && m_session.tree && c->caseItem != NoTreeItem)
        m_session.tree->selectItem(c->caseItem);
}

void OpenFlow::loadCompanionFiles(int slot, const QString &cprFeedbackPath, const QString &audioRecordPath)
{
    // The loaders report a file that cannot be used and leave it out; the case opens without it.
    // The sound file for playback is made only by an open for review.
    if (!cprFeedbackPath.isEmpty())
        LoadCprFeedback(m_session, cprFeedbackPath, slot);
    if (!audioRecordPath.isEmpty())
        LoadAudioRecord(m_session, audioRecordPath, slot);
    if (m_writes.wav)
        MakeAudioRecordWav(m_session, slot);
}

void OpenFlow::BindCompanions(int slot)
{
    if (!m_session.store.caseAt(slot) || m_session.isReadOnly(slot))
        return;
    OpenCase &entry = m_session.store.at(slot);
    QStringList unreadable;
    const QString folder = QFileInfo(entry.sourcePath).absolutePath();
    entry.companions = CompanionFilesIn(folder, &unreadable);
    const DeviceFolderFiles beside(folder);
    QString cprFeedbackPath, audioRecordPath;
    for (const CompanionFile &file : *entry.companions)
        (file.name == CprFeedbackFile::fileName() ? cprFeedbackPath : audioRecordPath) = beside.filePath(file.name);
    if (!unreadable.isEmpty())
        m_session.platform().showError(
            m_session.GetText(MessageText::CompanionsUnreadable).arg(unreadable.join(QStringLiteral(", "))),
            m_session.GetText(TextId::Caption));
    m_session.reviewMarksChanged(slot);
    loadCompanionFiles(slot, cprFeedbackPath, audioRecordPath);
}

OpenFlow::Outcome OpenFlow::AdjustCase(int slot, const QString &typedStart)
{
    if (!m_session.store.caseAt(slot) || m_session.isReadOnly(slot))
        return Outcome::Cancelled;
    const int text = !EventListText::parseStrictStart(typedStart)     ? AdjustFormText
                     : !EventListText::parseStartInYears(typedStart) ? AdjustText::YearOutOfRange
                                                                     : -1;
    if (text >= 0) {
        m_session.platform().showError(m_session.GetText(text).arg(typedStart), m_session.GetText(TextId::Caption));
        return Outcome::Cancelled;
    }
    return readCaseAgain(slot, typedStart);
}

OpenFlow::Outcome OpenFlow::UndoAdjustment(int slot)
{
    if (!m_session.store.caseAt(slot) || m_session.isReadOnly(slot) || !m_session.store.at(slot).timeAdjusted())
        return Outcome::Cancelled;
    return readCaseAgain(slot, QString());
}

OpenFlow::Outcome OpenFlow::readCaseAgain(int slot, const QString &adjustedStart)
{
    if (!m_session.confirmClose({slot}))
        return Outcome::Cancelled;
    // The case is read again from its own archive (a Save just now may have moved it) in the
    // zone it is shown in, whatever the Open dialog was last set to, with the start given; it
    // is closed only once its new reading is open.
    const QString path = m_session.store.at(slot).sourcePath;
    const uint16_t zone = uint16_t(m_session.store.caseAt(slot)->timeZoneIndex);
    m_adjustedStart = adjustedStart;
    m_adjustedZone = TimeZoneTable::offsetOfRow(zone);
    m_adjustedSlot = slot;
    const Outcome outcome = OpenArchive(path, zone);
    m_adjustedStart.clear();
    m_adjustedSlot = -1;
    if (m_openedSlot >= 0 && m_session.reviewFactsChanged)
        m_session.reviewFactsChanged(path);
    if (m_openedSlot < 0 || m_openedSlot == slot)
        return outcome;
    m_session.CloseCase(slot);
    showOpenedCase();
    return outcome;
}
