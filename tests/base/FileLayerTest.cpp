#include "base/AtomicFileWriter.h"
#include "base/BinaryReader.h"
#include "base/BinaryWriter.h"
#include "base/LargeBuffer.h"
#include "support/ScratchMount.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

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

// A streamed file gives what the same reads give over the whole file read before: small
// values across the buffer's edges, a long run read straight from the file (starting with
// bytes already buffered), seeks back and forth, and the end of the file.
TEST(BinaryReader, AStreamedFileReadsWhatTheWholeFileReads)
{
    TempDir dir;
    QByteArray bytes(300 * 1024 + 7, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7919) >> 3);
    const QString path = dir.write("long.aed", bytes);

    BinaryReader whole(bytes, path);
    BinaryReader streamed = BinaryReader::streamFile(path);
    EXPECT_EQ(streamed.size(), whole.size());
    const auto same = [&](const char *step, auto read) {
        const auto expected = read(whole);
        EXPECT_EQ(read(streamed), expected) << step;
        EXPECT_EQ(streamed.position(), whole.position()) << step;
    };
    same("u32", [](BinaryReader &r) { return r.u32(); });
    same("short run", [](BinaryReader &r) { return r.bytes(100); });
    same("skip to the buffer's edge", [](BinaryReader &r) { r.skip(64 * 1024 - 105); return r.position(); });
    same("u64 across it", [](BinaryReader &r) { return r.u64(); });
    same("long run", [](BinaryReader &r) { return r.bytes(150 * 1024); });
    same("u16 after it", [](BinaryReader &r) { return r.u16(); });
    same("peek", [](BinaryReader &r) { return r.peek(9); });
    same("seek back", [](BinaryReader &r) { r.seek(3); return r.u32(); });
    same("long run from buffered bytes", [](BinaryReader &r) { return r.bytes(200 * 1024); });
    same("seek to the end", [](BinaryReader &r) { r.seek(r.size() - 5); return r.bytes(5); });
    EXPECT_TRUE(streamed.atEnd());
    EXPECT_EQ(streamed.peek(4), QByteArray());
    EXPECT_THROW(streamed.u8(), FileError);

    // A file cut shorter while it is streamed ends at the read that misses its bytes.
    BinaryReader cut = BinaryReader::streamFile(path);
    cut.u8();
    ASSERT_TRUE(QFile::resize(path, 1000));
    try {
        cut.bytes(200 * 1024);
        FAIL() << "read past the cut";
    } catch (const FileError &e) {
        EXPECT_EQ(e.kind(), FileError::Kind::EndOfFile);
        EXPECT_EQ(e.path(), path);
    }
}

// A long run of a streamed file is handed over piece by piece as it arrives, each time with
// the bytes in so far; a run from bytes in memory comes in one piece.
TEST(BinaryReader, ALongRunArrivesInPieces)
{
    TempDir dir;
    const qsizetype run = 2 * BinaryReader::PieceBytes + 1001;
    QByteArray bytes(run + 10, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7919) >> 3);
    const QString path = dir.write("pieces.aed", bytes);

    for (const bool streamed : {true, false}) {
        BinaryReader in = streamed ? BinaryReader::streamFile(path) : BinaryReader(bytes, path);
        in.u16(); // the run starts from bytes already buffered
        std::vector<qsizetype> arrivals;
        bool inOrder = true;
        const QByteArray out = in.bytes(uint64_t(run), [&](const char *data, qsizetype n) {
            inOrder = inOrder && QByteArrayView(data, n) == QByteArrayView(bytes).sliced(2, n);
            arrivals.push_back(n);
        });
        EXPECT_EQ(out, bytes.mid(2, run)) << streamed;
        EXPECT_TRUE(inOrder) << "each arrival holds the run's first bytes, " << streamed;
        ASSERT_FALSE(arrivals.empty());
        EXPECT_EQ(arrivals.back(), run);
        EXPECT_TRUE(std::is_sorted(arrivals.begin(), arrivals.end()));
        if (streamed)
            EXPECT_GT(arrivals.size(), 1u);
        else
            EXPECT_EQ(arrivals.size(), 1u);
        EXPECT_EQ(in.u16(), uint16_t(uchar(bytes[run + 2]) | uchar(bytes[run + 3]) << 8)) << streamed;
    }
}

// Runs of many megabytes go into arrays of large pages where the system has them: the
// bytes are the file's, whole or streamed, from an odd offset and to the file's last byte.
TEST(BinaryReader, RunsOfManyMegabytesReadTheFilesBytes)
{
    TempDir dir;
    QByteArray bytes(LargeBuffer::MinimumBytes * 2 + 4099, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 2654435761u) >> 24);
    const QString path = dir.write("large.aed", bytes);
    EXPECT_EQ(BinaryReader::readWholeFile(path), bytes);
    BinaryReader in = BinaryReader::streamFile(path);
    in.u8();
    EXPECT_EQ(in.bytes(uint64_t(bytes.size() - 1)), bytes.mid(1));
    EXPECT_TRUE(in.atEnd());
    QByteArray filled = LargeBuffer::uninitialized(bytes.size());
    std::copy(bytes.cbegin(), bytes.cend(), filled.begin());
    EXPECT_EQ(filled, bytes);
}

// A file read in pieces gives its bytes in order, in pieces no longer than the buffer; a
// missing file is named as readWholeFile names it.
TEST(BinaryReader, AFileReadInPiecesGivesItsBytesInOrder)
{
    TempDir dir;
    for (const qsizetype size : {qsizetype(0), qsizetype(10), BinaryReader::InPiecesBytes,
                                 3 * BinaryReader::InPiecesBytes + 17}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char(i * 31 + (i >> 11));
        const QString path = dir.write("pieces.bin", bytes);
        QByteArray joined;
        qsizetype longest = 0;
        BinaryReader::readInPieces(path, [&](QByteArrayView piece) {
            joined.append(piece);
            longest = std::max(longest, piece.size());
        });
        EXPECT_EQ(joined, bytes) << size;
        EXPECT_LE(longest, BinaryReader::InPiecesBytes);
    }
    try {
        BinaryReader::readInPieces(dir.path() + "/absent.bin", [](QByteArrayView) {});
        ADD_FAILURE() << "a missing file was read";
    } catch (const FileError &error) {
        EXPECT_EQ(error.kind(), FileError::Kind::NotFound);
        EXPECT_TRUE(error.message().contains("absent.bin"));
    }
}

// The start of a file with its size; too few bytes are what the file has.
TEST(BinaryReader, ReadsTheStartOfAFileAndItsSize)
{
    TempDir dir;
    const QString path = dir.write("Audio Record.bin", QByteArray::fromHex("0102030405"));
    const BinaryReader::FileStart start = BinaryReader::readFileStart(path, 4);
    EXPECT_EQ(start.bytes, QByteArray::fromHex("01020304"));
    EXPECT_EQ(start.size, 5);
    EXPECT_EQ(BinaryReader::readFileStart(path, 8).bytes, QByteArray::fromHex("0102030405"));
    try {
        BinaryReader::readFileStart(dir.file("gone.bin"), 4);
        FAIL();
    } catch (const FileError &e) {
        EXPECT_EQ(e.kind(), FileError::Kind::NotFound);
    }
    EXPECT_THROW(BinaryReader::readFileStart(dir.path(), 4), FileError) << "a folder";
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

namespace {

mode_t modeOf(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(AtomicFileWriter, KeepsTheModeOfAReplacedFileAndGivesANewOneTheUsersNormalMode)
{
    TempDir dir;
    const QString shared = dir.write("shared.aed", "old");
    ::chmod(QFile::encodeName(shared).constData(), 0640);
    AtomicFileWriter::write(shared, "new");
    EXPECT_EQ(modeOf(shared), mode_t(0640));

    const mode_t mask = ::umask(027);
    AtomicFileWriter::write(dir.file("fresh.aed"), "new");
    ::umask(mask);
    EXPECT_EQ(modeOf(dir.file("fresh.aed")), mode_t(0640)) << "0666 less the umask";
    EXPECT_EQ(dir.read("fresh.aed"), "new");
}

TEST(AtomicFileWriter, WritesThroughASymbolicLinkWhichStaysALink)
{
    TempDir dir;
    const QString real = dir.write("archives/case.aed", "old");
    ::chmod(QFile::encodeName(real).constData(), 0600);
    const QString link = dir.file("link.aed");
    ASSERT_TRUE(QFile::link("archives/case.aed", link));
    const QString chained = dir.file("chained.aed");
    ASSERT_TRUE(QFile::link(link, chained));

    AtomicFileWriter::write(chained, "new");

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(chained).isSymLink());
    EXPECT_EQ(dir.read("archives/case.aed"), "new");
    EXPECT_EQ(modeOf(real), mode_t(0600));
    EXPECT_EQ(entriesOf(dir.file("archives")), QStringList{"case.aed"}) << "the temporary file was beside the target";
}

// Links planted at every name the writer tries, and files a killed run left, never take
// the bytes: the writer passes over them, and the leftovers of the target go.
TEST(AtomicFileWriter, PlantedLinksAndLeftoversAreNeverWrittenThrough)
{
    TempDir dir;
    const QString victim = dir.write("elsewhere/victim.txt", "precious");
    const QString target = dir.write("case.aed", "old");
    const QStringList tokens{"aaaaaaaa", "bbbbbbbb", "cccccccc"};
    const struct { const char *what; QString name; bool link; } planted[] = {
        {"link at the first name tried", AtomicFileWriter::temporaryPath(target, tokens[0]), true},
        {"link at the second name tried", AtomicFileWriter::temporaryPath(target, tokens[1]), true},
        {"link at the name older versions used", target + ".tmp~", true},
        {"a killed run's temporary file", AtomicFileWriter::temporaryPath(target, "ZZ99zz99"), false},
    };
    for (const auto &p : planted) {
        if (p.link)
            ASSERT_TRUE(QFile::link(victim, p.name)) << p.what;
        else
            dir.write(QFileInfo(p.name).fileName(), "half written");
    }
    const QString unrelated = dir.write(".case.aed.notes.tmp~", "not ours");

    qsizetype next = 0;
    AtomicFileWriter::write(target, "new", [&] { return tokens.value(next++); });

    EXPECT_EQ(dir.read("case.aed"), "new");
    EXPECT_FALSE(QFileInfo(target).isSymLink());
    EXPECT_EQ(dir.read("elsewhere/victim.txt"), "precious");
    EXPECT_EQ(next, 3) << "two names were taken";
    for (const auto &p : planted)
        EXPECT_FALSE(QFileInfo(p.name).exists() || QFileInfo(p.name).isSymLink()) << p.what << " is removed";
    EXPECT_TRUE(QFileInfo::exists(unrelated));
    EXPECT_EQ(entriesOf(dir.path()), (QStringList{".case.aed.notes.tmp~", "case.aed", "elsewhere"}));
}

// What the system says reaches the user, and the file that was there stays whole.
TEST(AtomicFileWriter, FailuresNameTheFileAndTheSystemsReason)
{
    ScratchMount full(64 * 1024);
    if (!full.isMounted())
        GTEST_SKIP() << ScratchMount::skipReason().toStdString() << "; the full and read-only file systems are not tried";

    const QString target = full.file("case.aed");
    AtomicFileWriter::write(target, QByteArray(1000, 'o'));
    try {
        AtomicFileWriter::write(target, QByteArray(1 << 20, 'n'));
        FAIL() << "a megabyte fitted into 64 KiB";
    } catch (const FileError &e) {
        EXPECT_EQ(e.kind(), FileError::Kind::WriteFailed);
        EXPECT_EQ(e.message(), "An error occurred while writing " + target + ".\nNo space left on device");
    }
    EXPECT_EQ(readAll(target), QByteArray(1000, 'o'));
    EXPECT_EQ(entriesOf(full.path()), QStringList{"case.aed"}) << "no temporary file is left";

    ASSERT_TRUE(full.makeReadOnly());
    try {
        AtomicFileWriter::write(target, "n");
        FAIL() << "wrote into a read-only file system";
    } catch (const FileError &e) {
        EXPECT_EQ(e.kind(), FileError::Kind::CreateFailed);
        EXPECT_EQ(e.message(), target + " cannot be created.\nRead-only file system");
    }
    EXPECT_EQ(readAll(target), QByteArray(1000, 'o'));
}
