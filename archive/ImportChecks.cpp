#include "archive/ImportChecks.h"

#include "archive/OutputTarget.h"
#include "case/CC8Class.h"

namespace ImportChecks {

namespace {

constexpr qsizetype SeriesRecordBytes = 8;
constexpr qsizetype EcgHeadBytes = CC8Class::EcgHeaderSize + 4;
constexpr qsizetype EcgSampleBytes = 4;

} // namespace

QString deviceFolderFileAt(const CC8Class &files, const QString &target)
{
    OutputInputs inputs;
    inputs.deviceFolders << files.folder;
    return OutputTarget::clashOf(target, inputs, OutputTarget::Writes::Archive).file;
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
