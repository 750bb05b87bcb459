#include "archive/ImportChecks.h"

#include "base/AtomicFileWriter.h"
#include "device/AudioRecordFile.h"
#include "device/CprFeedbackFile.h"
#include "case/CC8Class.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace ImportChecks {

namespace {

constexpr qsizetype SeriesRecordBytes = 8;
constexpr qsizetype EcgHeadBytes = CC8Class::EcgHeaderSize + 4;
constexpr qsizetype EcgSampleBytes = 4;

struct Identity
{
    dev_t device = 0;
    ino_t inode = 0;
};

bool identityOf(const QString &path, Identity &out)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    out = {info.st_dev, info.st_ino};
    return true;
}

// Where a write of path would land, spelled canonically as far as it exists.
QString landingPath(const QString &path)
{
    const QFileInfo target(AtomicFileWriter::finalPath(QFileInfo(path).absoluteFilePath()));
    const QString folder = target.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QDir::cleanPath(target.absoluteFilePath()) : folder + QLatin1Char('/') + target.fileName();
}

bool sameFile(const QString &a, const QString &b)
{
    Identity x, y;
    if (identityOf(a, x) && identityOf(b, y))
        return x.device == y.device && x.inode == y.inode;
    // A name that does not exist yet: a memory card's file system ignores case.
    return landingPath(a).compare(landingPath(b), Qt::CaseInsensitive) == 0;
}

} // namespace

QString deviceFolderFileAt(const CC8Class &files, const QString &target)
{
    const QDir folder(files.folder);
    const QString protectedFiles[] = {
        files.ctPath,
        files.ecgPath,
        files.hrPath,
        files.trendPath,
        files.tempPath,
        folder.filePath(CprFeedbackFile::fileName()),
        folder.filePath(AudioRecordFile::binFileName()),
        folder.filePath(AudioRecordFile::wavFileName()),
    };
    for (const QString &file : protectedFiles)
        if (!file.isEmpty() && sameFile(target, file))
            return file;
    return QString();
}

QString protectedTargetText(const QString &target)
{
    return QStringLiteral("%1 is a file of the device folder; an archive is never written over it. "
                          "Choose another name.")
        .arg(target);
}

qsizetype leftOverBytes(qsizetype size, qsizetype headBytes, qsizetype recordBytes)
{
    if (size <= 0)
        return 0;
    if (size < headBytes)
        return size;
    return (size - headBytes) % recordBytes;
}

std::vector<CutFile> cutFiles(const CC8Class &files, bool tempRead)
{
    const struct
    {
        const QString &path;
        qsizetype size;
        qsizetype head;
        qsizetype record;
        bool read;
    } kinds[] = {
        {files.ecgPath, files.ecgHeader.size() + files.ecgData.size(), EcgHeadBytes, EcgSampleBytes, true},
        {files.hrPath, files.hrData.size(), 0, SeriesRecordBytes, true},
        {files.trendPath, files.trendData.size(), 0, CC8Class::TrendBlockSize, true},
        {files.tempPath, files.tempData.size(), 0, SeriesRecordBytes, tempRead},
    };
    std::vector<CutFile> out;
    for (const auto &k : kinds)
        if (const qsizetype rest = leftOverBytes(k.size, k.head, k.record); k.read && rest > 0)
            out.push_back({k.path, rest});
    return out;
}

QString cutFilesText(const std::vector<CutFile> &files)
{
    QString text = QStringLiteral("These device files end in a cut record, so the event list may be incomplete; "
                                  "the archive keeps their bytes as they are:");
    for (const CutFile &f : files)
        text += QStringLiteral("\n%1: %2 bytes after the last whole record").arg(f.path).arg(f.leftOverBytes);
    return text;
}

QString changedWhileReadText(const QString &path)
{
    return QStringLiteral("%1 changed while it was being read. Nothing was imported and nothing was erased; "
                          "import the folder again.")
        .arg(path);
}

QString keptChangedText(const QStringList &paths)
{
    return QStringLiteral("These device files changed after they were archived and were not erased; import the "
                          "folder again to keep what they hold now:\n")
        + paths.join(QLatin1Char('\n'));
}

QString notErasedText(const QStringList &pathsWithReasons)
{
    return QStringLiteral("These device files could not be erased and stay on the card; erase them yourself once "
                          "the archive is kept safe:\n")
        + pathsWithReasons.join(QLatin1Char('\n'));
}

QString eraseOutcomeText(const QStringList &changed, const QStringList &notErased)
{
    QStringList parts;
    if (!changed.isEmpty())
        parts << keptChangedText(changed);
    if (!notErased.isEmpty())
        parts << notErasedText(notErased);
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace ImportChecks
