#include "library/ArchiveFacts.h"
#include "support/TempDir.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <gtest/gtest.h>

namespace {

// The hash of an archive is the SHA-256 of all its bytes, also when the file is read in
// several pieces; size and time are the file's.
TEST(ArchiveFactsTest, TheFileFactsAreItsSizeTimeAndTheHashOfAllItsBytes)
{
    TempDir dir;
    QByteArray large(5 * 512 * 1024 + 7, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = char((i * 7919) >> 3);
    const struct {
        const char *name;
        QByteArray bytes;
    } files[] = {{"empty.aed", {}}, {"abc.aed", "abc"}, {"large.aed", large}};
    for (const auto &f : files) {
        const QString path = dir.write(QLatin1String(f.name), f.bytes);
        LibraryCase c;
        ASSERT_TRUE(readFileFacts(path, c)) << f.name;
        EXPECT_EQ(c.sha256, QString::fromLatin1(QCryptographicHash::hash(f.bytes, QCryptographicHash::Sha256).toHex()))
            << f.name;
        EXPECT_EQ(c.sizeBytes, f.bytes.size()) << f.name;
        EXPECT_EQ(c.modifiedMs, QFileInfo(path).lastModified().toMSecsSinceEpoch()) << f.name;
    }
    LibraryCase abc;
    ASSERT_TRUE(readFileFacts(dir.file(QStringLiteral("abc.aed")), abc));
    EXPECT_EQ(abc.sha256, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    LibraryCase missing;
    EXPECT_FALSE(readFileFacts(dir.file(QStringLiteral("missing.aed")), missing));
}

} // namespace
