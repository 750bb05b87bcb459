#pragma once

#include <QByteArray>
#include <QString>

// Whether the desktop has an application for a file. Some desktops' openers report success
// for a file nothing can show, so before opening, the desktop is asked which application it
// would use (xdg-mime query default TYPE).
namespace DesktopHandler {

// What the answer to that question says: false only when the question could be asked and
// named no application; when it could not be asked the opener is trusted.
bool hasHandler(bool asked, int exitCode, const QByteArray &answer);

// Asks the desktop about the file at path (its type from its name and content); true where
// the desktop cannot be asked.
bool desktopHasHandler(const QString &path);

} // namespace DesktopHandler
