#include "app/OpenDialogMemory.h"

#include "device/OpenDialogLogic.h"
#include "device/TimeZoneTable.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString SerialKey = QStringLiteral("OpenDialog/serialNumber");
const QString ZoneKey = QStringLiteral("OpenDialog/timeZoneRow");
const QString FolderKey = QStringLiteral("OpenDialog/lastFolder");
} // namespace

OpenDialogMemory::OpenDialogMemory() : m_settings(std::make_unique<QSettings>()) {}

OpenDialogMemory::OpenDialogMemory(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {}

OpenDialogMemory::~OpenDialogMemory() = default;

void OpenDialogMemory::restore(OpenDialogLogic &logic) const
{
    const QString serial = m_settings->value(SerialKey).toString();
    if (!serial.isEmpty())
        logic.setSerialText(serial);
    bool ok = false;
    const int row = m_settings->value(ZoneKey).toInt(&ok);
    if (ok && row >= 0 && row < TimeZoneTable::RowCount)
        logic.setZoneRow(row);
}

void OpenDialogMemory::remember(const OpenDialogLogic &logic)
{
    if (!logic.serialText().isEmpty())
        m_settings->setValue(SerialKey, logic.serialText());
    m_settings->setValue(ZoneKey, logic.zoneRow());
    m_settings->sync();
}

QString OpenDialogMemory::lastFolder() const
{
    return m_settings->value(FolderKey).toString();
}

void OpenDialogMemory::rememberPick(const QString &path, bool isFolder)
{
    if (path.isEmpty())
        return;
    m_settings->setValue(FolderKey, isFolder ? path : QFileInfo(path).absolutePath());
    m_settings->sync();
}
