#include "library/FileSha256.h"

#include "base/BinaryReader.h"

#include <QCryptographicHash>

#include <dlfcn.h>
#include <openssl/evp.h>

#include <array>
#include <memory>

namespace {

// The few functions of the crypto library the digest needs, looked up once.
struct CryptoLibrary
{
    decltype(&EVP_MD_CTX_new) newContext = nullptr;
    decltype(&EVP_MD_CTX_free) freeContext = nullptr;
    decltype(&EVP_sha256) sha256 = nullptr;
    decltype(&EVP_DigestInit_ex) init = nullptr;
    decltype(&EVP_DigestUpdate) update = nullptr;
    decltype(&EVP_DigestFinal_ex) finish = nullptr;

    bool complete() const { return newContext && freeContext && sha256 && init && update && finish; }
};

template <typename Function>
void lookUp(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
}

const CryptoLibrary &cryptoLibrary()
{
    static const CryptoLibrary loaded = [] {
        CryptoLibrary c;
        void *library = nullptr;
        for (const char *name : {"libcrypto.so.3", "libcrypto.so"}) {
            if ((library = ::dlopen(name, RTLD_NOW | RTLD_LOCAL)))
                break;
        }
        if (!library)
            return c;
        lookUp(library, "EVP_MD_CTX_new", c.newContext);
        lookUp(library, "EVP_MD_CTX_free", c.freeContext);
        lookUp(library, "EVP_sha256", c.sha256);
        lookUp(library, "EVP_DigestInit_ex", c.init);
        lookUp(library, "EVP_DigestUpdate", c.update);
        lookUp(library, "EVP_DigestFinal_ex", c.finish);
        return c; // kept loaded for the program's life
    }();
    return loaded;
}

// Hands every piece of the file to add(piece); false when the file cannot be read or add
// refuses a piece.
template <typename Add>
bool readInPieces(const QString &path, Add add)
{
    bool added = true;
    try {
        BinaryReader::readInPieces(path, [&](QByteArrayView piece) { added = added && add(piece); });
    } catch (const FileError &) {
        return false;
    }
    return added;
}

std::optional<QString> withSystemLibrary(const CryptoLibrary &crypto, const QString &path)
{
    const std::unique_ptr<EVP_MD_CTX, decltype(crypto.freeContext)> hash(crypto.newContext(), crypto.freeContext);
    if (!hash || crypto.init(hash.get(), crypto.sha256(), nullptr) != 1)
        return std::nullopt;
    if (!readInPieces(path, [&](QByteArrayView piece) {
            return crypto.update(hash.get(), piece.data(), std::size_t(piece.size())) == 1;
        }))
        return std::nullopt;
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (crypto.finish(hash.get(), digest.data(), &length) != 1)
        return std::nullopt;
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(digest.data()), int(length)).toHex());
}

std::optional<QString> withQt(const QString &path)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!readInPieces(path, [&](QByteArrayView piece) {
            hash.addData(piece);
            return true;
        }))
        return std::nullopt;
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

namespace FileSha256 {

bool systemLibraryAvailable()
{
    return cryptoLibrary().complete();
}

std::optional<QString> of(const QString &path, Engine engine)
{
    if (engine == Engine::SystemLibrary && systemLibraryAvailable())
        return withSystemLibrary(cryptoLibrary(), path);
    return withQt(path);
}

} // namespace FileSha256
