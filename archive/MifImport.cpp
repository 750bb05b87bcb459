#include "archive/MifImport.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "archive/AedArchiveWriter.h"
#include "base/FileError.h"
#include "case/CC8Class.h"
#include "case/CaseSession.h"
#include "case/DeviceFolderFiles.h"
#include "device/MifCase.h"
#include "device/MifHeader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

constexpr size_t TempIndex = 4;

std::array<MifConversion::Contents, 5> contentsOf(const CC8Class &files)
{
    const QByteArray *const data[] = {&files.ctData, &files.ecgData, &files.hrData, &files.trendData, &files.tempData};
    std::array<MifConversion::Contents, 5> out;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = {uint32_t(data[i]->size()), qHash(*data[i])};
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
    CC8Class &scratch = m_session.store.scratchFileSet;
    scratch.SetPaths(state.mifFolderPath, state.deviceModel);
    // A device file that cannot be read stops the import here, before a case exists: an
    // archive without it would replace the device's data with part of it.
    if (scratch.LoadFiles(false, m_session.platform()) != 0) {
        scratch.FreeBuffers();
        return -1;
    }
    const auto scratchContents = contentsOf(scratch);

    const int slot = MifCase::CreateCaseFromMif(m_session);
    scratch.FreeBuffers();
    const CC8Class &files = *m_session.store.at(slot).fileSet;
    const auto read = contentsOf(files);
    // The case reads the folder once more; a file that changed or went in between is not
    // converted.
    if (!std::equal(read.begin(), read.begin() + TempIndex, scratchContents.begin())) {
        m_session.store.FreeCase(slot);
        return -1;
    }

    m_conversion = MifConversion();
    m_conversion.mifFolder = state.mifFolderPath;
    m_conversion.deviceModel = state.deviceModel;
    m_conversion.files = read;
    m_conversion.tempRead = m_session.store.tempFilePresentOf(slot) == 1 && QFileInfo::exists(files.tempPath)
        && QFileInfo(files.tempPath).size() == files.tempData.size();
    return slot;
}

QString MifImport::archiveName() const
{
    return ImportArchiveName(m_session.state.deviceModel, m_session.store.scratchFileSet);
}

bool MifImport::WriteArchive(int slot, const QString &path)
{
    m_conversion.archivePath = path;
    bool written = true;
    try {
        WriteAedArchive(m_session.store, slot, path, AedArchiveVariant::Conversion);
    } catch (const FileError &error) {
        m_session.platform().showError(error.message(), m_session.GetText(TextId::Caption));
        written = false;
    }
    m_session.store.FreeCase(slot);
    return written;
}

bool ArchiveHoldsConversion(const CaseSession &session, int slot, const MifConversion &conversion)
{
    if (!session.store.caseAt(slot) || !session.store.find(slot)->fileSet)
        return false;
    const auto read = contentsOf(*session.store.find(slot)->fileSet);
    const size_t compared = conversion.tempRead ? read.size() : TempIndex;
    return std::equal(read.begin(), read.begin() + compared, conversion.files.begin());
}

void EraseMifFiles(const MifConversion &conversion)
{
    const CC8Class::Kind kinds[] = {CC8Class::Kind::CT, CC8Class::Kind::ECG, CC8Class::Kind::HR, CC8Class::Kind::Trend,
                                    CC8Class::Kind::Temp};
    const DeviceFolderFiles folder(conversion.mifFolder);
    for (const CC8Class::Kind kind : kinds) {
        if (kind == CC8Class::Kind::Temp && !conversion.tempRead)
            continue;
        QFile::remove(folder.filePath(CC8Class::MifFileName(conversion.deviceModel, kind)));
    }
    // rmdir removes only an empty folder: the CPR feedback, the sound or an archive saved
    // beside the device files keep it.
    QDir().rmdir(conversion.mifFolder);
}
