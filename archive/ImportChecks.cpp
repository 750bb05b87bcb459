#include "archive/ImportChecks.h"

#include "archive/OutputTarget.h"
#include "base/LanguagePack.h"
#include "base/MessageTexts.h"
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

QString cutFilesText(const std::vector<CutFile> &files, const LanguagePack &texts)
{
    QString text = texts.GetText(MessageText::CutFilesIntro);
    for (const CutFile &f : files)
        text += QLatin1Char('\n') + texts.GetText(MessageText::CutFileLine).arg(f.path).arg(f.leftOverBytes);
    return text;
}

QString changedWhileReadText(const QString &path, const LanguagePack &texts)
{
    return texts.GetText(MessageText::ChangedWhileRead).arg(path);
}

QString keptChangedText(const QStringList &paths, const LanguagePack &texts)
{
    return texts.GetText(MessageText::KeptChanged) + QLatin1Char('\n') + paths.join(QLatin1Char('\n'));
}

QString notErasedText(const QStringList &pathsWithReasons, const LanguagePack &texts)
{
    return texts.GetText(MessageText::NotErased) + QLatin1Char('\n') + pathsWithReasons.join(QLatin1Char('\n'));
}

QString eraseOutcomeText(const QStringList &changed, const QStringList &notErased, const LanguagePack &texts)
{
    QStringList parts;
    if (!changed.isEmpty())
        parts << keptChangedText(changed, texts);
    if (!notErased.isEmpty())
        parts << notErasedText(notErased, texts);
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace ImportChecks
