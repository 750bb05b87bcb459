#include "archive/OutputTarget.h"

#include "base/AtomicFileWriter.h"
#include "case/CC8Class.h"
#include "case/CaseStore.h"
#include "case/DeviceFolderFiles.h"
#include "case/ReviewFile.h"
#include "case/SharedState.h"
#include "device/AudioRecordFile.h"
#include "device/CprFeedbackFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace OutputTarget {

namespace {

struct Identity
{
    dev_t device = 0;
    ino_t inode = 0;
    bool exists = false;
};

Identity identityOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {info.st_dev, info.st_ino, true};
}

// Where a write of path would land, spelled canonically as far as it exists.
QString landingPath(const QString &path)
{
    const QFileInfo target(AtomicFileWriter::finalPath(QFileInfo(path).absoluteFilePath()));
    const QString folder = target.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QDir::cleanPath(target.absoluteFilePath()) : folder + QLatin1Char('/') + target.fileName();
}

// The target, looked at once for all the comparisons.
class Target
{
public:
    explicit Target(const QString &path) : m_identity(identityOf(path)), m_landing(landingPath(path)) {}

    bool is(const QString &file) const
    {
        if (file.isEmpty())
            return false;
        const Identity other = identityOf(file);
        if (m_identity.exists && other.exists)
            return m_identity.device == other.device && m_identity.inode == other.inode;
        return m_landing.compare(landingPath(file), Qt::CaseInsensitive) == 0;
    }

    bool landsOnName(QLatin1String suffix) const { return m_landing.endsWith(suffix, Qt::CaseInsensitive); }

private:
    Identity m_identity;
    QString m_landing;
};

// The files of a case's folder the target is, found as the loaders find them.
Clash folderClash(const Target &target, const QString &folder)
{
    if (folder.isEmpty())
        return {};
    const DeviceFolderFiles files(folder);
    const struct
    {
        QString name;
        Role role;
    } companions[] = {
        {CprFeedbackFile::fileName(), Role::CprData},
        {AudioRecordFile::binFileName(), Role::AudioRecord},
        {AudioRecordFile::wavFileName(), Role::AudioWave},
    };
    for (const auto &c : companions)
        if (const QString file = files.filePath(c.name); target.is(file))
            return {c.role, file};
    for (const int32_t model : {int32_t(ModelQ21), int32_t(ModelQ25), int32_t(ModelNone)})
        for (const CC8Class::Kind kind : {CC8Class::Kind::CT, CC8Class::Kind::ECG, CC8Class::Kind::HR,
                                          CC8Class::Kind::Trend, CC8Class::Kind::Temp})
            if (const QString file = files.filePath(CC8Class::MifFileName(model, kind)); target.is(file))
                return {Role::DeviceFile, file};
    return {};
}

QString roleText(Role role)
{
    switch (role) {
    case Role::None: break;
    case Role::Archive: return QStringLiteral("the archive being read");
    case Role::ReviewFile: return QStringLiteral("the review file of the archive being read");
    case Role::CprData: return QStringLiteral("the case's CPR data file");
    case Role::AudioRecord: return QStringLiteral("the case's audio record");
    case Role::AudioWave: return QStringLiteral("the case's audio record as WAV");
    case Role::DeviceFile: return QStringLiteral("a device file of the case's folder");
    case Role::AnyArchive: return QStringLiteral("an archive");
    case Role::AnyReviewFile: return QStringLiteral("the review file of an archive");
    }
    return QString();
}

} // namespace

Clash clashOf(const QString &target, const OutputInputs &inputs, Writes writes)
{
    const Target t(target);
    for (const QString &archive : inputs.archives) {
        if (t.is(archive))
            return {Role::Archive, archive};
        if (const QString review = ReviewFile::pathFor(archive); t.is(review))
            return {Role::ReviewFile, review};
        if (const Clash c = folderClash(t, QFileInfo(archive).absolutePath()); c.role != Role::None)
            return c;
    }
    for (const QString &folder : inputs.deviceFolders)
        if (const Clash c = folderClash(t, folder); c.role != Role::None)
            return c;
    if (writes == Writes::Output && t.landsOnName(QLatin1String(".aed")))
        return {Role::AnyArchive, AtomicFileWriter::finalPath(target)};
    if (t.landsOnName(QLatin1String(".aed.review.json")))
        return {Role::AnyReviewFile, AtomicFileWriter::finalPath(target)};
    return {};
}

QString refusalText(const QString &target, Role role)
{
    return QStringLiteral("\"%1\" is %2; nothing was written over it. Choose another file.")
        .arg(QDir::toNativeSeparators(target), roleText(role));
}

QString refusal(const QString &target, const OutputInputs &inputs, Writes writes)
{
    const Clash c = clashOf(target, inputs, writes);
    return c.role == Role::None ? QString() : refusalText(target, c.role);
}

OutputInputs openCaseInputs(const CaseStore &store)
{
    OutputInputs inputs;
    for (int slot = 0; slot < store.slotCount(); ++slot) {
        const OpenCase *open = store.find(slot);
        if (!open || !open->used)
            continue;
        if (!open->sourcePath.isEmpty())
            inputs.archives << open->sourcePath;
        if (open->fileSet && !open->fileSet->folder.isEmpty())
            inputs.deviceFolders << open->fileSet->folder;
    }
    return inputs;
}

} // namespace OutputTarget
