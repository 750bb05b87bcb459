#include "archive/SaveCommand.h"

#include "archive/AedArchive.h"
#include "archive/AedArchiveWriter.h"
#include "base/FileError.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "case/CaseSession.h"
#include "case/ReviewFile.h"

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
    if (record->buildState == CaseFilesLoaded)
        return false;

    OpenCase &entry = session.store.at(slot);
    const QString path = platform.saveFileDialog(QString(), initialSavePath(entry.sourcePath),
                                                 AedArchive::fileFilter(session.texts().isItalian()),
                                                 AedArchive::defaultSuffix());
    if (path.isEmpty())
        return false;
    try {
        WriteAedArchive(session.store, slot, path, AedArchiveVariant::Save);
    } catch (const FileError &error) {
        platform.showError(error.message(), caption);
        return false;
    }
    session.markSaved(slot);
    // The case stays with the archive it came from. Its marks (an adjusted start above all)
    // also go beside a new archive, so that one reopens as the case is shown.
    const bool hadMarks = QFileInfo::exists(ReviewFile::pathFor(entry.sourcePath)) || entry.timeAdjusted();
    if (hadMarks && QFileInfo(path).absoluteFilePath() != QFileInfo(entry.sourcePath).absoluteFilePath()) {
        try {
            ReviewFile::write(path, ReviewFile::marksOf(session.store, slot));
        } catch (const FileError &error) {
            platform.showError(error.message(), caption);
        }
    }
    if (session.archiveSaved)
        session.archiveSaved(path);
    return true;
}
