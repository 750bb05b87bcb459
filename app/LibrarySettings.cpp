#include "app/LibrarySettings.h"

#include "library/LibraryService.h"

#include <QSettings>

namespace {
const QString LocationKey = QStringLiteral("CaseLibrary/Location");
const QString AutoIndexKey = QStringLiteral("CaseLibrary/AutoIndex");
} // namespace

void loadLibrarySettings(LibraryService &service)
{
    const QSettings settings;
    service.setLocationText(settings.value(LocationKey).toString());
    service.autoIndex = settings.value(AutoIndexKey, true).toBool();
}

void saveLibrarySettings(const LibraryService &service)
{
    QSettings settings;
    settings.setValue(LocationKey, service.locationText());
    settings.setValue(AutoIndexKey, service.autoIndex);
}
