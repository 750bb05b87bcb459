#include "archive/CompanionBinding.h"

#include "base/FileSha256.h"
#include "case/DeviceFolderFiles.h"
#include "device/AudioRecordFile.h"
#include "device/CprFeedbackFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

QString folderOf(const QString &archivePath)
{
    return QFileInfo(archivePath).absolutePath();
}

// The size and digest of the companion at path; nullopt when it cannot be read (a pipe or a
// device is never read: it is not a regular file).
std::optional<CompanionFile> factsOf(const QString &name, const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    const std::optional<QString> sha256 = FileSha256::of(path);
    if (!sha256)
        return std::nullopt;
    return CompanionFile{name, info.size(), *sha256};
}

// True when the file at path is the recorded one: its size first, its digest only then.
bool matches(const CompanionFile &recorded, const QString &path, bool sizeOnly)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != recorded.size)
        return false;
    return sizeOnly || FileSha256::of(path) == recorded.sha256;
}

QString leftOutLine(const QString &path, const QString &why)
{
    return QStringLiteral("\"%1\" was left out of this case: %2.").arg(QDir::toNativeSeparators(path), why);
}

} // namespace

QStringList CompanionFileNames()
{
    return {CprFeedbackFile::fileName(), AudioRecordFile::binFileName()};
}

int ArchiveCountIn(const QString &folder)
{
    const QStringList names = DeviceFolderFiles(folder).names();
    return int(std::count_if(names.begin(), names.end(),
                             [](const QString &name) { return name.endsWith(QLatin1String(".aed"), Qt::CaseInsensitive); }));
}

QString CompanionChoice::leftOutText() const
{
    return leftOut.join(QLatin1Char('\n'));
}

CompanionChoice ChooseCompanions(const QString &archivePath, const std::optional<std::vector<CompanionFile>> &recorded,
                                 bool withFacts, bool justRecorded)
{
    CompanionChoice choice;
    const QString folder = folderOf(archivePath);
    const DeviceFolderFiles files(folder);
    std::optional<bool> alone; // the folder holds this archive only; asked once, when needed
    std::vector<CompanionFile> decided;
    for (const QString &name : CompanionFileNames()) {
        const QString path = files.filePath(name);
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            continue;
        QString &use = name == CprFeedbackFile::fileName() ? choice.cprFeedbackPath : choice.audioRecordPath;
        if (recorded) {
            const auto bound = std::find_if(recorded->begin(), recorded->end(), [&](const CompanionFile &f) {
                return f.name.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (bound != recorded->end() && matches(*bound, path, justRecorded))
                use = path;
            else
                choice.leftOut << leftOutLine(path, QStringLiteral("it belongs to another recording"));
            continue;
        }
        if (!alone)
            alone = ArchiveCountIn(folder) == 1;
        if (!*alone) {
            choice.leftOut << leftOutLine(path, QStringLiteral("the folder holds several archives"));
            continue;
        }
        // The loader reports a file that cannot be used; only what can be read is bound.
        use = path;
        if (withFacts)
            if (const std::optional<CompanionFile> facts = factsOf(name, path))
                decided.push_back(*facts);
    }
    if (recorded) {
        choice.binding = recorded;
    } else if (alone.value_or(false) && withFacts) {
        choice.binding = std::move(decided);
        choice.newBinding = true;
    }
    return choice;
}

std::vector<CompanionFile> CompanionFilesIn(const QString &folder, QStringList *unreadable)
{
    std::vector<CompanionFile> bound;
    const DeviceFolderFiles files(folder);
    for (const QString &name : CompanionFileNames()) {
        const QString path = files.filePath(name);
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            continue;
        if (const std::optional<CompanionFile> facts = factsOf(name, path))
            bound.push_back(*facts);
        else if (unreadable)
            *unreadable << path;
    }
    return bound;
}
