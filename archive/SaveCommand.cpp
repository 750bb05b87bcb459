#include "archive/SaveCommand.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "archive/AedArchive.h"
#include "archive/AedArchiveWriter.h"
#include "base/FileError.h"
#include "case/CaseSession.h"

namespace {
constexpr int CantSaveCase = 74;

bool anyUnsavedCase(const CaseSession &session)
{
    for (int slot = 0; slot < session.store.slotCount(); ++slot)
        if (const CaseRecord *c = session.store.caseAt(slot); c && c->hasUnsavedChanges())
            return true;
    return false;
}
} // namespace

QString initialSaveName(const QString &sourcePath)
{
    const QString name = sourcePath.mid(sourcePath.lastIndexOf(QLatin1Char('/')) + 1);
    return name.left(qMax(0, name.size() - 4));
}

bool SaveSelectedCase(CaseSession &session)
{
    Platform &platform = session.platform();
    const QString caption = session.GetText(TextId::Caption);

    // After a time adjustment the open cases carry a start that is not the device's own:
    // they are not saved.
    const int openCount = session.state.timeAdjusted == 1 ? 0 : session.store.slotCount();
    if (openCount < 1) {
        platform.showError(session.GetText(CantSaveCase), caption);
        return false;
    }
    const int slot = session.selSlot;
    CaseRecord *record = session.store.caseAt(slot);
    if (!record) {
        platform.showError(session.GetText(TextId::SelectCase), caption);
        return false;
    }
    if (record->buildState == CaseFilesLoaded)
        return false;

    const QString path = platform.saveFileDialog(QString(), initialSaveName(session.store.at(slot).sourcePath),
                                                 AedArchive::fileFilter(), AedArchive::defaultSuffix());
    if (path.isEmpty())
        return false;
    try {
        WriteAedArchive(session.store, slot, path, AedArchiveVariant::Save);
    } catch (const FileError &error) {
        platform.showError(error.message(), caption);
        return false;
    }
    if (!anyUnsavedCase(session))
        session.state.unsavedChanges = 0;
    if (session.archiveSaved)
        session.archiveSaved(path);
    return true;
}
