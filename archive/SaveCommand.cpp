#include "archive/SaveCommand.h"

#include "archive/AedArchive.h"
#include "archive/AedArchiveWriter.h"
#include "archive/CaseCompanions.h"
#include "archive/OutputTarget.h"
#include "base/FileError.h"
#include "base/FileIdentity.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "case/AuditAction.h"
#include "case/CaseSession.h"
#include "case/ReviewFile.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr int CantSaveCase = 74;
} // namespace

QString initialSaveName(const QString &sourcePath)
{
    const QString name = sourcePath.mid(sourcePath.lastIndexOf(QLatin1Char('/')) + 1);
    return name.left(qMax(0, name.size() - 4));
}

QString initialSavePath(const QString &sourcePath)
{
    const qsizetype cut = sourcePath.lastIndexOf(QLatin1Char('/'));
    return sourcePath.left(cut + 1) + initialSaveName(sourcePath);
}

bool SaveSelectedCase(CaseSession &session)
{
    if (session.store.slotCount() < 1) {
        session.platform().showError(session.GetText(CantSaveCase), session.GetText(TextId::Caption));
        return false;
    }
    return SaveCase(session, session.selSlot);
}

bool SaveCase(CaseSession &session, int slot)
{
    Platform &platform = session.platform();
    const QString caption = session.GetText(TextId::Caption);

    CaseRecord *record = session.store.caseAt(slot);
    if (!record) {
        platform.showError(session.GetText(TextId::SelectCase), caption);
        return false;
    }
    // Another reviewer holds a read-only case: it is not written, whoever asks.
    if (record->buildState == CaseFilesLoaded || session.isReadOnly(slot))
        return false;

    OpenCase &entry = session.store.at(slot);
    const QString path = platform.saveFileDialog(QString(), initialSavePath(entry.sourcePath),
                                                 AedArchive::fileFilter(session.texts().isItalian()),
                                                 AedArchive::defaultSuffix());
    if (path.isEmpty())
        return false;
    // Never over what an open case is read from (its CPR data, a device file, another case's
    // archive); over the case's own archive it is the Save the dialog proposes.
    const OutputTarget::Clash clash =
        OutputTarget::clashOf(path, OutputTarget::openCaseInputs(session.store), OutputTarget::Writes::Archive);
    if (clash.role != OutputTarget::Role::None && !isSameFile(clash.file, entry.sourcePath)) {
        platform.showError(OutputTarget::refusalText(path, clash.role), caption);
        return false;
    }
    // A copy in another folder takes the case's CPR data and sound with it, and never goes
    // beside another recording's.
    const bool sameArchive = isSameFile(path, entry.sourcePath);
    const bool sameFolder = isSameFile(QFileInfo(path).absolutePath(), QFileInfo(entry.sourcePath).absolutePath());
    CompanionPlan companions = PlanCompanions(BoundCompanions(session.store, slot), path);
    if (sameFolder)
        companions.copy = false;
    else if (!companions.refusal.isEmpty()) {
        platform.showError(companions.refusal, caption);
        return false;
    }
    try {
        WriteAedArchive(session.store, slot, path, AedArchiveVariant::Save);
    } catch (const FileError &error) {
        platform.showError(error.message(session.texts()), caption);
        return false;
    }
    session.markSaved(slot);
    // The case stays with the archive it came from. A new archive gets its companions and its
    // review file (the marks, an adjusted start above all), so that it reopens as the case is shown.
    if (!sameArchive && !entry.recordingId.isEmpty()) {
        QStringList notes;
        try {
            CarryCompanions(companions, path);
            WriteReviewFileWithBinding(path, entry.recordingId, companions.binding(),
                                       ReviewFile::marksOf(session.store, slot), false, notes);
        } catch (const FileError &error) {
            platform.showError(error.message(session.texts()), caption);
        }
        if (!notes.isEmpty())
            platform.messageBox(notes.join(QLatin1Char('\n')), caption, Platform::Icon::Information, Platform::Buttons::Ok);
    }
    session.audit(slot, AuditAction::Saved,
                  sameArchive ? QString() : QStringLiteral("a copy: %1").arg(QDir::toNativeSeparators(path)));
    if (session.archiveSaved)
        session.archiveSaved(path);
    return true;
}
