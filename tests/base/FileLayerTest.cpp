#include "base/AtomicFileWriter.h"
#include "base/BinaryReader.h"
#include "base/BinaryWriter.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(BinaryReader, ReadsLittleEndianAndStopsAtTheEnd)
{
    BinaryReader r(QByteArray::fromHex("0102030405060708090a0b0c0d0e0f"), "x.bin");
    EXPECT_EQ(r.u8(), 0x01);
    EXPECT_EQ(r.u16(), 0x0302);
    EXPECT_EQ(r.u32(), 0x07060504u);
    EXPECT_EQ(r.u64(), 0x0f0e0d0c0b0a0908ull);
    EXPECT_TRUE(r.atEnd());
    try {
        r.u8();
        FAIL() << "read past the end";
    } catch (const FileError &e) {
        EXPECT_EQ(e.kind(), FileError::Kind::EndOfFile);
        EXPECT_TRUE(e.message().contains("x.bin"));
    }
}

TEST(BinaryReader, RefusesALengthLongerThanWhatIsLeftBeforeAllocating)
{
    BinaryReader r(QByteArray(10, '\0'), "short.aed");
    EXPECT_THROW(r.bytes(0xFFFFFFFFFFull), FileError);
    EXPECT_EQ(r.position(), 0);
    EXPECT_EQ(r.bytes(10).size(), 10);
}

TEST(BinaryReader, MissingFileIsNamed)
{
    TempDir dir;
    try {
        BinaryReader::readWholeFile(dir.file("gone.MIF"));
        FAIL();
    } catch (const FileError &e) {
        EXPECT_EQ(e.kind(), FileError::Kind::NotFound);
        EXPECT_EQ(e.message(), dir.file("gone.MIF") + " was not found.");
    }
}

TEST(AtomicFileWriter, ReplacesWholeAndKeepsTheOldFileOnFailure)
{
    TempDir dir;
    const QString target = dir.write("case.aed", "old contents");
    BinaryWriter w;
    w.u32(0x80000000u | 10);
    w.u16(0xFEFF);
    w.commitTo(target);
    EXPECT_EQ(dir.read("case.aed"), QByteArray::fromHex("0a000080fffe"));
    EXPECT_FALSE(QFile::exists(target + ".tmp~"));

    // A target inside a folder that does not exist cannot be created: nothing appears.
    EXPECT_THROW(AtomicFileWriter::write(dir.file("missing/case.aed"), "x"), FileError);
    EXPECT_EQ(dir.read("case.aed"), QByteArray::fromHex("0a000080fffe"));
}
