#include "archive/AedText.h"
#include "archive/AedTime.h"
#include "base/BinaryReader.h"
#include "base/BinaryWriter.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QByteArray written(const QString &text)
{
    BinaryWriter out;
    AedText::write(out, text);
    return out.data();
}

QString readBack(const QByteArray &bytes, qsizetype *left = nullptr)
{
    BinaryReader in(bytes, "values.aed");
    const QString text = AedText::read(in);
    if (left)
        *left = in.remaining();
    return text;
}

FileError::Kind failureOf(const QByteArray &bytes)
{
    try {
        readBack(bytes);
    } catch (const FileError &e) {
        EXPECT_TRUE(e.message().contains("values.aed")) << e.message().toStdString();
        return e.kind();
    }
    ADD_FAILURE() << "read succeeded";
    return FileError::Kind::NotFound;
}

} // namespace

TEST(AedText, WritesUtf16WithItsThreeLengthForms)
{
    EXPECT_EQ(written(""), QByteArray::fromHex("fffeff00"));
    EXPECT_EQ(written("abc"), QByteArray::fromHex("fffeff03610062006300"));

    struct Case { qsizetype units; QByteArray prefix; };
    const Case cases[] = {
        {254, QByteArray::fromHex("fffefffe")},
        {255, QByteArray::fromHex("fffeffffff00")},
        {65533, QByteArray::fromHex("fffeffff fdff")},
        {65534, QByteArray::fromHex("fffeffffffff feff0000")},
        {70000, QByteArray::fromHex("fffeffffffff 70110100")},
    };
    for (const Case &c : cases) {
        const QString text(c.units, QChar(0x20AC));
        const QByteArray bytes = written(text);
        EXPECT_EQ(bytes.left(c.prefix.size()), c.prefix) << c.units;
        EXPECT_EQ(bytes.size(), c.prefix.size() + 2 * c.units) << c.units;
        EXPECT_EQ(bytes.mid(c.prefix.size(), 2), QByteArray::fromHex("ac20")) << c.units;
        qsizetype left = -1;
        EXPECT_EQ(readBack(bytes, &left), text) << c.units;
        EXPECT_EQ(left, 0) << c.units;
    }
}

TEST(AedText, KeepsEveryUtf16UnitAsWritten)
{
    // A leading byte-order mark and a surrogate pair are text like any other.
    const QString text = QString(QChar(0xFEFF)) + QString::fromUtf8("Zoë 😀 \xec\x84\x9c\xec\x9a\xb8");
    EXPECT_EQ(readBack(written(text)), text);
}

TEST(AedText, ReadsTheOlderForms)
{
    struct Case { const char *hex; QString text; };
    const Case cases[] = {
        {"00", ""},
        {"03616263", "abc"},                                       // 8-bit, byte length
        {"ff0300616263", "abc"},                                   // 8-bit, uint16 length
        {"ffffff03000000616263", "abc"},                           // 8-bit, uint32 length
        {"ffffffffffffff0300000000000000616263", "abc"},           // 8-bit, uint64 length
        {"0463616 6e9", QStringLiteral("café")},                   // 8-bit texts are Windows-1252
        {"0480 8a9c ff", QStringLiteral("€Šœÿ")},
        {"fffeffff0200 61006200", "ab"},                           // UTF-16, uint16 length
        {"fffeffffffff02000000 61006200", "ab"},                   // UTF-16, uint32 length
        {"fffeffffffffffffffff0100000000000000 6100", "a"},        // UTF-16, uint64 length
    };
    for (const Case &c : cases) {
        qsizetype left = -1;
        EXPECT_EQ(readBack(QByteArray::fromHex(c.hex) + "tail", &left), c.text) << c.hex;
        EXPECT_EQ(left, 4) << c.hex;
    }
}

TEST(AedText, ImpossibleLengthsStopTheRead)
{
    // Longer than what is left: the end-of-file error, before anything is allocated.
    EXPECT_EQ(failureOf(QByteArray::fromHex("0561")), FileError::Kind::EndOfFile);
    EXPECT_EQ(failureOf(QByteArray::fromHex("fffeff0361006200")), FileError::Kind::EndOfFile);
    EXPECT_EQ(failureOf(QByteArray::fromHex("ffffffffffffff7f61")), FileError::Kind::EndOfFile);
    EXPECT_EQ(failureOf(QByteArray::fromHex("fffefffffeff6100")), FileError::Kind::EndOfFile); // 65534 units
    EXPECT_EQ(failureOf(QByteArray::fromHex("fffeffffffffffffff7f")), FileError::Kind::EndOfFile);
    EXPECT_EQ(failureOf(QByteArray::fromHex("fffe")), FileError::Kind::EndOfFile);
    // Not in 31 bits: the archive error.
    EXPECT_EQ(failureOf(QByteArray::fromHex("ffffff00000080")), FileError::Kind::BadFormat);
    EXPECT_EQ(failureOf(QByteArray::fromHex("ffffffffffffff0000000000010000")), FileError::Kind::BadFormat);
    EXPECT_EQ(failureOf(QByteArray::fromHex("fffeffffffffffffffff0000008000000000")), FileError::Kind::BadFormat);
}

TEST(AedTime, WritesTheMarkedFormAndReadsBothForms)
{
    BinaryWriter out;
    AedTime::write(out, CTime(1615104300));
    AedTime::write(out, CTime(-2));
    EXPECT_EQ(out.data(), QByteArray::fromHex("0a000080 2c89446000000000 0a000080 feffffffffffffff"));

    BinaryReader in(out.data() + QByteArray::fromHex("2c894460 feffffff 0a000080"), "times.aed");
    EXPECT_EQ(AedTime::read(in).GetTime(), 1615104300);
    EXPECT_EQ(AedTime::read(in).GetTime(), -2);
    EXPECT_EQ(AedTime::read(in).GetTime(), 1615104300); // the older 4-byte form
    EXPECT_EQ(AedTime::read(in).GetTime(), -2);         // sign-extended
    EXPECT_THROW(AedTime::read(in), FileError);         // marker without its 8 bytes
}
