#include "device/OpenDialogLogic.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "device/MifFolderCheck.h"
#include "device/ScanFileList.h"
#include "case/SharedState.h"
#include "device/TimeZoneTable.h"

#include <algorithm>

namespace {
constexpr int TextNoMifPath = 76;
constexpr int TextNoSerialNumber = 77;
} // namespace

const QString OpenDialogLogic::MifFilter = QStringLiteral("MIF (*.MIF);;All Files(*.*)");

OpenDialogLogic::OpenDialogLogic(SharedState &state, Platform &platform, const LanguagePack &texts)
    : m_state(state), m_platform(platform), m_texts(texts)
{
    m_state.openMode = 0;
    m_state.mifFolderPath.clear();
    m_state.serialNumber.clear();
    m_state.localZoneOffset = TimeZoneTable::localZoneOffset();
    m_zoneRow = TimeZoneTable::preselectedRow(m_state.localZoneOffset);
}

QString OpenDialogLogic::text(int number) const
{
    return m_texts.GetText(number);
}

void OpenDialogLogic::setZoneRow(int row)
{
    m_zoneRow = std::clamp(row, 0, TimeZoneTable::RowCount - 1);
}

QString OpenDialogLogic::mifPathText() const
{
    return m_state.mifFolderPath;
}

bool OpenDialogLogic::browseMifFile()
{
    const QString file = m_platform.openFileDialog(
        QString(), QString(), m_texts.isItalian() ? QStringLiteral("MIF (*.MIF);;Tutti i file (*.*)") : MifFilter);
    if (file.isEmpty())
        return false;
    m_state.mifFolderPath = ScanFileList::folderOf(file);
    m_state.directoryMode = 0;
    return true;
}

bool OpenDialogLogic::loadMifFile()
{
    m_state.serialNumber = m_serialText;
    const MifFolderCheck check = checkMifFolder(m_state.mifFolderPath);
    m_state.deviceModel = check.deviceModel;
    m_state.modelQ26Found = check.modelQ26Found;

    int failure = 0;
    if (m_state.mifFolderPath.isEmpty())
        failure = TextNoMifPath;
    else if (m_state.serialNumber.isEmpty())
        failure = TextNoSerialNumber;
    else
        failure = missingMifFileText(check);
    if (failure != 0) {
        m_platform.showError(text(failure), text(TextId::Caption));
        return false;
    }

    m_tempFilePresent = check.tempFilePresent();
    m_state.openMode = 1;
    m_state.timeZoneChoice = uint16_t(m_zoneRow);
    m_action = Action::LoadMif;
    return true;
}

bool OpenDialogLogic::loadAedFile()
{
    m_state.directoryMode = 0;
    m_state.openMode = 2;
    m_state.timeZoneChoice = uint16_t(m_zoneRow);
    m_action = Action::LoadAed;
    return true;
}

bool OpenDialogLogic::openDirectory()
{
    const QString root = m_platform.browseFolder(QStringLiteral("Select Directory"));
    if (root.isEmpty())
        return false;
    m_state.directoryMode = 1;
    m_state.scanFiles = ScanFileList::collectFiles(root);
    m_state.scanFolders = ScanFileList::distinctFolders(m_state.scanFiles);
    m_state.mifFolderPath = m_state.scanFolders.isEmpty() ? QString() : m_state.scanFolders.constLast();
    m_state.serialNumber = m_serialText;
    m_state.timeZoneChoice = uint16_t(m_zoneRow);
    m_state.foldersPerPage = int32_t(std::min<qsizetype>(m_state.scanFolders.size(), MaxFoldersPerPage));
    m_action = Action::OpenDirectory;
    return true;
}
