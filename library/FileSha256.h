#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The SHA-256 of a file's bytes, as lower-case hex. The system's crypto library does the
// hashing where it is installed (it uses the processor's SHA instructions); it is loaded the
// first time a file is hashed, not when the program starts, since most runs never hash. Without
// it Qt's own SHA-256 gives the same digest, more slowly.
namespace FileSha256 {

enum class Engine { SystemLibrary, Qt };

// nullopt when the file cannot be read (missing, not a regular file, a read failing).
std::optional<QString> of(const QString &path, Engine engine = Engine::SystemLibrary);
// Whether the system's crypto library could be loaded (it is, at the first call).
bool systemLibraryAvailable();

} // namespace FileSha256
