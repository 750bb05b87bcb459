#include "archive/MifImport.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "archive/AedArchiveWriter.h"
#include "base/BinaryReader.h"
#include "base/ContentHash.h"
#include "base/FileError.h"
#include "base/FileStamp.h"
#include "archive/ImportChecks.h"
#include "case/CC8Class.h"
#include "case/CaseSession.h"
#include "case/DeviceFolderFiles.h"
#include "device/MifCase.h"
#include "device/MifHeader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace {

constexpr size_t EcgIndex = 1;
constexpr size_t TempIndex = 4;

MifConversion::Contents contentsOf(QByteArrayView data)
{
    return {uint32_t(data.size()), size_t(ContentHash64(data))};
}

// The five buffers of a file set (sharing their bytes), in the order of the conversion.
std::array<QByteArray, 5> buffersOf(const CC8Class &files)
{
    return {files.ctData, files.ecgData, files.hrData, files.trendData, files.tempData};
}

std::array<MifConversion::Contents, 5> contentsOf(const std::array<QByteArray, 5> &buffers)
{
    std::array<MifConversion::Contents, 5> out;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = contentsOf(buffers[i]);
    return out;
}

// The ECG file on disk: its header and its samples, whose contents are known already.
MifConversion::Contents ecgFileContents(QByteArrayView header, const MifConversion::Contents &samples)
{
    return {uint32_t(header.size()) + samples.size, qHashMulti(0, qHash(header), samples.hash)};
}

// One of the five files as it lies on disk, read again in pieces; the ECG file is cut into
// header and samples as loading it does.
MifConversion::Contents fileContentsOnDisk(size_t index, const QString &path)
{
    const qsizetype headerSize = index == EcgIndex ? CC8Class::EcgHeaderSize : 0;
    QByteArray header;
    ContentHasher rest;
    qint64 restBytes = 0;
    BinaryReader::readInPieces(path, [&](QByteArrayView piece) {
        const qsizetype toHeader = std::min(piece.size(), headerSize - header.size());
        header.append(piece.first(toHeader));
        rest.add(piece.sliced(toHeader));
        restBytes += piece.size() - toHeader;
    });
    const MifConversion::Contents restContents{uint32_t(restBytes), size_t(rest.value())};
    return index == EcgIndex ? ecgFileContents(header, restContents) : restContents;
}

// The five files as they lie on disk, from the contents of the buffers read from them.
std::array<MifConversion::Contents, 5> wholeFilesOf(QByteArrayView ecgHeader,
                                                    const std::array<MifConversion::Contents, 5> &buffers)
{
    std::array<MifConversion::Contents, 5> out = buffers;
    out[EcgIndex] = ecgFileContents(ecgHeader, buffers[EcgIndex]);
    return out;
}

std::array<QString, 5> pathsOf(const CC8Class &files)
{
    return {files.ctPath, files.ecgPath, files.hrPath, files.trendPath, files.tempPath};
}

std::array<FileStamp, TempIndex> stampsOf(const std::array<QString, 5> &paths)
{
    std::array<FileStamp, TempIndex> out;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = FileStamp::of(paths[i]);
    return out;
}

} // namespace

QString ImportArchiveName(int32_t deviceModel, const CC8Class &files)
{
    return QStringLiteral("%1_%2%3(%4-%5-%6)")
        .arg(CC8Class::ModelCode(deviceModel))
        .arg(files.headerHour, 2, 10, QLatin1Char('0'))
        .arg(files.headerMinute, 2, 10, QLatin1Char('0'))
        .arg(2000 + MifHeader::CorrectedYear(files.headerYear), 4, 10, QLatin1Char('0'))
        .arg(files.headerMonth, 2, 10, QLatin1Char('0'))
        .arg(files.headerDay, 2, 10, QLatin1Char('0'));
}

int MifImport::DecodeFolder()
{
    const SharedState &state = m_session.state;
    Platform &platform = m_session.platform();
    CC8Class &scratch = m_session.store.scratchFileSet;
    scratch.SetPaths(state.mifFolderPath, state.deviceModel);
    const auto paths = pathsOf(scratch);
    // The files are read once; one written, replaced or removed from before that read
    // until the case holds it is not converted.
    const auto before = stampsOf(paths);
    // A device file that cannot be read stops the import here, before a case exists: an
    // archive without it would replace the device's data with part of it.
    if (scratch.LoadFiles(false, platform) != 0) {
        scratch.FreeBuffers();
        return -1;
    }
    if (betweenReads)
        betweenReads();

    const int slot = MifCase::CreateCaseFromMif(m_session, &scratch);
    scratch.FreeBuffers();
    const CC8Class &files = *m_session.store.at(slot).fileSet;
    const auto after = stampsOf(paths);
    for (size_t i = 0; i < TempIndex; ++i) {
        if (before[i] != after[i]) {
            platform.showError(ImportChecks::changedWhileReadText(paths[i], m_session.texts()), m_session.GetText(TextId::Caption));
            m_session.store.FreeCase(slot);
            return -1;
        }
    }

    m_conversion = MifConversion();
    m_conversion.mifFolder = state.mifFolderPath;
    m_conversion.deviceModel = state.deviceModel;
    // The bytes are hashed beside the rest of the import (the archive's write waits for
    // the disk); conversion() has the result.
    m_ecgHeader = files.ecgHeader;
    m_contents = std::async(std::launch::async | std::launch::deferred,
                            [buffers = buffersOf(files)] { return contentsOf(buffers); });
    for (size_t i = 0; i < paths.size(); ++i)
        m_conversion.fileNames[i] = QFileInfo(paths[i]).fileName();
    m_conversion.tempRead = m_session.store.tempFilePresentOf(slot) == 1 && QFileInfo::exists(files.tempPath)
        && QFileInfo(files.tempPath).size() == files.tempData.size();

    if (const auto cut = ImportChecks::cutFiles(files, m_conversion.tempRead); !cut.empty())
        platform.messageBox(ImportChecks::cutFilesText(cut, m_session.texts()), m_session.GetText(TextId::Caption), Platform::Icon::Warning,
                            Platform::Buttons::Ok);
    return slot;
}

QString MifImport::archiveName() const
{
    return ImportArchiveName(m_session.state.deviceModel, m_session.store.scratchFileSet);
}

const MifConversion &MifImport::conversion()
{
    if (m_contents.valid()) {
        m_conversion.files = m_contents.get();
        m_conversion.onDisk = wholeFilesOf(m_ecgHeader, m_conversion.files);
    }
    return m_conversion;
}

bool MifImport::WriteArchive(int slot, const QString &path)
{
    m_conversion.archivePath = path;
    bool written = true;
    try {
        WriteAedArchive(m_session.store, slot, path, AedArchiveVariant::Conversion);
    } catch (const FileError &error) {
        m_session.platform().showError(error.message(m_session.texts()), m_session.GetText(TextId::Caption));
        written = false;
    }
    m_session.store.FreeCase(slot);
    return written;
}

bool ArchiveHoldsConversion(const CaseSession &session, int slot, const MifConversion &conversion)
{
    if (!session.store.caseAt(slot) || !session.store.find(slot)->fileSet)
        return false;
    const auto read = contentsOf(buffersOf(*session.store.find(slot)->fileSet));
    const size_t compared = conversion.tempRead ? read.size() : TempIndex;
    return std::equal(read.begin(), read.begin() + compared, conversion.files.begin());
}

MifEraseResult EraseMifFiles(const MifConversion &conversion)
{
    const QDir folder(conversion.mifFolder);
    MifEraseResult result;
    for (size_t i = 0; i < conversion.fileNames.size(); ++i) {
        if ((i == TempIndex && !conversion.tempRead) || conversion.fileNames[i].isEmpty())
            continue;
        const QString path = folder.filePath(conversion.fileNames[i]);
        MifConversion::Contents now;
        try {
            now = fileContentsOnDisk(i, path);
        } catch (const FileError &error) {
            if (error.kind() != FileError::Kind::NotFound)
                result.changed << path;
            continue;
        }
        if (now != conversion.onDisk[i]) {
            result.changed << path;
            continue;
        }
        QFile file(path);
        if (file.remove())
            result.erased << path;
        else
            result.notErased << QStringLiteral("%1: %2").arg(path, file.errorString());
    }
    // rmdir removes only an empty folder: the CPR feedback, the sound or an archive saved
    // beside the device files keep it.
    QDir().rmdir(conversion.mifFolder);
    return result;
}
