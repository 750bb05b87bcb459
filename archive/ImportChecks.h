#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class CC8Class;
class LanguagePack;

// What an import checks so that nothing on the memory card is lost: where its archive may
// go, which device files end in a cut record, and the texts that report both.
namespace ImportChecks {

// The file of the device folder that writing an archive to target would replace: a
// device file of any model in files.folder, or a companion file beside them (compared as
// OutputTarget compares). "" when target is none of them.
QString deviceFolderFileAt(const CC8Class &files, const QString &target);

// The message refusing an archive target that is protected (a file of the device folder).
QString protectedTargetText(const QString &target);

// A device file whose length is not a whole number of records.
struct CutFile
{
    QString path;
    qsizetype leftOverBytes = 0;
};

// The device files of a loaded file set that end in a cut record: HR and Temp are 8-byte
// records, Trend 2668-byte blocks, the ECG a 12-byte head (header and start) and 4-byte
// samples. The Temp file counts only when it was read.
std::vector<CutFile> cutFiles(const CC8Class &files, bool tempRead);
QString cutFilesText(const std::vector<CutFile> &files, const LanguagePack &texts);

// Bytes left over after the whole records of a file of size bytes.
qsizetype leftOverBytes(qsizetype size, qsizetype headBytes, qsizetype recordBytes);

// A device file that changed between the two reads of one import.
QString changedWhileReadText(const QString &path, const LanguagePack &texts);
// Device files kept by the erase because they are no longer what the archive holds.
QString keptChangedText(const QStringList &paths, const LanguagePack &texts);
// Device files the erase could not delete, each "path: reason".
QString notErasedText(const QStringList &pathsWithReasons, const LanguagePack &texts);
// What the erase left on the card and why (the two texts above, as they apply); empty when
// everything converted was erased.
QString eraseOutcomeText(const QStringList &changed, const QStringList &notErased, const LanguagePack &texts);

} // namespace ImportChecks
