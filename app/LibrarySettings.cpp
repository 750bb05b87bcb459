#include "app/LibrarySettings.h"

#include "device/TimeZoneTable.h"
#include "library/LibraryService.h"

#include <QSettings>

namespace {
const QString LocationKey = QStringLiteral("CaseLibrary/Location");
const QString AutoIndexKey = QStringLiteral("CaseLibrary/AutoIndex");
const QString ZoneRowKey = QStringLiteral("CaseLibrary/ZoneRow");
// Only whether to remember: the password itself is in the keyring.
const QString RememberPasswordKey = QStringLiteral("CaseLibrary/RememberPassword");
} // namespace

void loadLibrarySettings(LibraryService &service)
{
    QSettings settings;
    QString location = settings.value(LocationKey).toString();
    // A password kept by an earlier version leaves the settings now; libpq finds it in its own sources.
    if (locationCarriesPassword(location)) {
        location = locationWithoutPassword(location);
        settings.setValue(LocationKey, location);
    }
    service.setLocationText(location);
    service.autoIndex = settings.value(AutoIndexKey, true).toBool();
    service.rememberPassword = settings.value(RememberPasswordKey, false).toBool();
    bool ok = false;
    const int row = settings.value(ZoneRowKey, -1).toInt(&ok);
    service.zoneRow = ok && row >= 0 && row < TimeZoneTable::RowCount ? row : -1;
}

void saveLibrarySettings(const LibraryService &service)
{
    QSettings settings;
    settings.setValue(LocationKey, service.locationText());
    settings.setValue(AutoIndexKey, service.autoIndex);
    settings.setValue(RememberPasswordKey, service.rememberPassword);
    settings.setValue(ZoneRowKey, service.zoneRow);
}
