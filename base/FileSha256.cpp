#include "base/FileSha256.h"

#include "base/BinaryReader.h"

#include <QCryptographicHash>

#include <dlfcn.h>
#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <stdexcept>

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

} // namespace

namespace FileSha256 {

// The crypto library's context when it is there and works, else Qt's hash.
struct Hasher::State
{
    EVP_MD_CTX *context = nullptr;
    QCryptographicHash qt{QCryptographicHash::Sha256};
};

Hasher::Hasher(Engine engine) : m_state(std::make_unique<State>())
{
    if (engine != Engine::SystemLibrary || !systemLibraryAvailable())
        return;
    const CryptoLibrary &crypto = cryptoLibrary();
    m_state->context = crypto.newContext();
    if (m_state->context && crypto.init(m_state->context, crypto.sha256(), nullptr) != 1) {
        crypto.freeContext(m_state->context);
        m_state->context = nullptr;
    }
}

Hasher::~Hasher()
{
    if (m_state->context)
        cryptoLibrary().freeContext(m_state->context);
}

void Hasher::add(QByteArrayView bytes)
{
    if (!m_state->context) {
        m_state->qt.addData(bytes);
        return;
    }
    // The library fails an update only on a context it never started, which the constructor
    // rules out.
    if (cryptoLibrary().update(m_state->context, bytes.data(), std::size_t(bytes.size())) != 1)
        throw std::runtime_error("SHA-256 update failed");
}

QString Hasher::hex()
{
    if (!m_state->context)
        return QString::fromLatin1(m_state->qt.result().toHex());
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (cryptoLibrary().finish(m_state->context, digest.data(), &length) != 1)
        throw std::runtime_error("SHA-256 final failed");
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(digest.data()), int(length)).toHex());
}

bool isDigest(const QString &text)
{
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
           });
}

bool systemLibraryAvailable()
{
    return cryptoLibrary().complete();
}

std::optional<QString> of(const QString &path, Engine engine)
{
    Hasher hash(engine);
    try {
        BinaryReader::readInPieces(path, [&](QByteArrayView piece) { hash.add(piece); });
    } catch (const FileError &) {
        return std::nullopt;
    }
    return hash.hex();
}

} // namespace FileSha256
