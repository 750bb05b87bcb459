#pragma once

#include <QString>

// Names shared by the archive's reader, its writers and the dialogs that pick archives.
namespace AedArchive {

inline QString ctMarker() { return QStringLiteral("<<<CT>>>"); }
inline QString ecgMarker() { return QStringLiteral("<<<ECG>>>"); }
inline QString hrMarker() { return QStringLiteral("<<<HR>>>"); }
inline QString trendMarker() { return QStringLiteral("<<<TREND>>>"); }
inline QString tempMarker() { return QStringLiteral("<<<TEMP>>>"); }

// File-dialog filter (Qt form), in Italian for the Italian pack, and default extension of
// every dialog that opens or saves one.
inline QString fileFilter(bool italian = false)
{
    return italian ? QStringLiteral("File di dati AED Veltris (*.aed);;Tutti i file (*.*)")
                   : QStringLiteral("Veltris AED Data File (*.aed);;All Files (*.*)");
}
inline QString defaultSuffix() { return QStringLiteral("aed"); }

// Text of an event that is an annotation begins with this.
inline QString annotationPrefix() { return QStringLiteral("A: "); }

} // namespace AedArchive
