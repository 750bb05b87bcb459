#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>
#include <optional>

// SHA-256 digests as lower-case hex. The system's crypto library does the hashing where it is
// installed (it uses the processor's SHA instructions); it is loaded the first time something is
// hashed, not when the program starts, since most runs never hash. Without it Qt's own SHA-256
// gives the same digest, more slowly.
namespace FileSha256 {

enum class Engine { SystemLibrary, Qt };

// The digest of bytes that arrive in pieces: adding the pieces of a run in order gives the
// digest of the whole run, however it is cut.
class Hasher
{
public:
    explicit Hasher(Engine engine = Engine::SystemLibrary);
    ~Hasher();
    Hasher(const Hasher &) = delete;
    Hasher &operator=(const Hasher &) = delete;

    void add(QByteArrayView bytes);
    // The digest of everything added; the hasher is finished after it.
    QString hex();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// nullopt when the file cannot be read (missing, not a regular file, a read failing).
std::optional<QString> of(const QString &path, Engine engine = Engine::SystemLibrary);
// True when text has the form of a digest: 64 lower-case hex digits.
bool isDigest(const QString &text);
// Whether the system's crypto library could be loaded (it is, at the first call).
bool systemLibraryAvailable();

} // namespace FileSha256
