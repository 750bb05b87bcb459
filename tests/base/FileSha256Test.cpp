// A file's SHA-256 is the same from the system's crypto library (loaded at the first hash)
// and from Qt's own: known digests, a file longer than the read buffer, an empty file; a
// file that cannot be read has none.
#include "base/FileSha256.h"
#include "support/BytePattern.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <iostream>

namespace {

TEST(FileSha256, BothEnginesGiveTheKnownDigests)
{
    TempDir dir;
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *digest;
    } files[] = {
        {"abc.bin", QByteArray("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"empty.bin", QByteArray(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"long.bin", bytePattern(3 * 1048576 + 5), "3e15fcba816eb2091bac2e2bd8a58ff56345daa9d4c8112777c9fbfae3257799"},
    };
    if (!FileSha256::systemLibraryAvailable())
        std::cout << "[   NOTE   ] the system's crypto library is not installed: only Qt's digest is checked\n";
    for (const auto &f : files) {
        const QString path = dir.write(f.name, f.bytes);
        EXPECT_EQ(FileSha256::of(path, FileSha256::Engine::Qt), QString::fromLatin1(f.digest)) << f.name;
        EXPECT_EQ(FileSha256::of(path), QString::fromLatin1(f.digest)) << f.name;
    }
    for (const auto engine : {FileSha256::Engine::SystemLibrary, FileSha256::Engine::Qt}) {
        EXPECT_EQ(FileSha256::of(dir.path() + "/absent.bin", engine), std::nullopt);
        EXPECT_EQ(FileSha256::of(dir.path(), engine), std::nullopt) << "a folder is not a file";
    }
}

} // namespace
