#include "tools/CliLibrary.h"

#include "base/ProgramNames.h"
#include "library/CaseLibrary.h"

#include <QTextStream>

std::unique_ptr<CaseLibrary> openCliLibrary(const QString &db, QTextStream &err, const QString &name)
{
    // The default library is the program's own file.
    ProgramNames::apply();
    LibraryLocation location;
    QString why;
    if (!parseLibraryLocation(db, location, why)) {
        err << name << ": --db: " << why << "\n";
        return nullptr;
    }
    auto library = std::make_unique<CaseLibrary>(location);
    if (!library->open()) {
        err << name << ": " << library->errorText() << "\n";
        return nullptr;
    }
    if (!library->privacyWarning().isEmpty())
        err << name << ": " << library->privacyWarning() << "\n";
    return library;
}
