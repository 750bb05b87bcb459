#include "archive/SaveCommand.h"

#include "app/LanguagePack.h"
#include "app/Platform.h"
#include "archive/AedArchive.h"
#include "archive/AedArchiveWriter.h"
#include "archive/FileError.h"
#include "case/CRavelinView.h"

namespace {
constexpr int CantSaveCase = 74;

bool anyUnsavedCase(const CRavelinView &view)
{
    for (int slot = 0; slot < view.slotCount; ++slot)
        if (const CaseRecord *c = view.caseAt(slot); c && c->hasUnsavedChanges())
            return true;
    return false;
}
} // namespace

QString initialSaveName(const QString &sourcePath)
{
    const QString name = sourcePath.mid(sourcePath.lastIndexOf(QLatin1Char('/')) + 1);
    return name.left(qMax(0, name.size() - 4));
}

bool SaveSelectedCase(CRavelinView &view)
{
    Platform &platform = view.platform();
    const QString caption = view.GetText(TextId::Caption);

    // After a time adjustment the open cases carry a start that is not the device's own:
    // they are not saved.
    const int openCount = view.state.timeAdjusted == 1 ? 0 : view.slotCount;
    if (openCount < 1) {
        platform.showError(view.GetText(CantSaveCase), caption);
        return false;
    }
    const int slot = view.selSlot;
    CaseRecord *record = view.caseAt(slot);
    if (!record) {
        platform.showError(view.GetText(TextId::SelectCase), caption);
        return false;
    }
    if (record->buildState == CaseFilesLoaded)
        return false;

    const QString path = platform.saveFileDialog(QString(), initialSaveName(view.sourcePaths[size_t(slot)]),
                                                 AedArchive::fileFilter(), AedArchive::defaultSuffix());
    if (path.isEmpty())
        return false;
    try {
        WriteAedArchive(view, slot, path, AedArchiveVariant::Save);
    } catch (const FileError &error) {
        platform.showError(error.message(), caption);
        return false;
    }
    if (!anyUnsavedCase(view))
        view.state.unsavedChanges = 0;
    return true;
}
