#include "ArchiveFixture.h"

#include "archive/AedArchive.h"
#include "device/AudioRecordFile.h"
#include "base/BinaryReader.h"
#include "base/BinaryWriter.h"
#include "device/ZoneShift.h"

#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using DeviceFiles::DeviceFolder;
using Annotation = std::tuple<int32_t, QString, QString>;

// A small case with every field distinct, one annotation, a Temp section and the trailer.
struct SmallCase
{
    CaseRecord record;
    CC8Class files;
    EventItem note = EventItem::make(5000, "A: x", "");
    AedArchiveLayout layout;

    SmallCase()
    {
        record.serialNumber = "S1";
        record.comments = "c";
        record.operatorName = "o";
        record.patientId = "p";
        record.lastName = "L";
        record.firstName = "F";
        record.middleInitial = "m";
        record.nameSuffixIndex = 2;
        record.sexIndex = 3;
        record.raceIndex = 4;
        record.birthDate = CTime(0x0102);
        record.birthDateKnown = true;
        record.heightText = "h";
        record.heightUnitIndex = 5;
        record.weightText = "w";
        record.weightUnitIndex = 6;
        files.ctData = QByteArray::fromHex("0102");
        files.ecgData = QByteArray::fromHex("03");
        files.tempData = QByteArray::fromHex("07");
        layout.startTime = CTime(0x01020304);
        layout.withTemp = true;
        layout.annotations = {&note};
        layout.withTrailer = true;
        layout.tempFilePresent = 1;
        layout.startTimeValid = false;
    }

    QByteArray bytes() const { return EncodeAedArchive(record, files, layout); }
};

const char *const SmallCaseHex =
    "0a000080 0403020100000000"                              // start time
    "fffeff02 53003100"                                      // "S1"
    "fffeff08 3c003c003c00 4300 5400 3e003e003e00"           // "<<<CT>>>"
    "02000000 0102"
    "fffeff09 3c003c003c00 4500 4300 4700 3e003e003e00"      // "<<<ECG>>>"
    "01000000 03"
    "fffeff08 3c003c003c00 4800 5200 3e003e003e00"           // "<<<HR>>>"
    "00000000"
    "fffeff0b 3c003c003c00 5400 5200 4500 4e00 4400 3e003e003e00" // "<<<TREND>>>"
    "00000000"
    "fffeff0a 3c003c003c00 5400 4500 4d00 5000 3e003e003e00" // "<<<TEMP>>>"
    "01000000 07"
    "fffeff01 6300"                                          // comments
    "fffeff01 6f00"                                          // operator
    "fffeff00 fffeff00"                                      // reserved texts
    "fffeff01 7000"                                          // patient ID
    "fffeff01 4c00 fffeff01 4600 fffeff01 4c00"              // last, first, last again
    "fffeff01 6d00"                                          // middle initial
    "02000000 03000000 04000000"                             // suffix, sex, race
    "0a000080 0201000000000000"                              // date of birth
    "01 00"                                                  // entered, unknown
    "fffeff01 6800 05000000"                                 // height and unit
    "fffeff01 7700 06000000"                                 // weight and unit
    "01000000 88130000 fffeff04 41003a0020007800 fffeff00"   // one annotation at 5000 ms
    "01000000 00";                                           // trailer

std::vector<Annotation> annotations(const std::vector<EventItem> &items)
{
    std::vector<Annotation> out;
    for (const EventItem &e : items)
        out.emplace_back(e.timeMs, e.text, e.detail);
    return out;
}

QByteArray utf16(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

// A Q21 folder with every file, a valid header and a trend file with a partial block.
DeviceFolder fullFolder()
{
    DeviceFolder f;
    f.model = DeviceFiles::Model::Q21;
    f.ecgRaw = {10, -20, 30, 400, -500};
    f.heartRate = {{1000, 80}, {3000, 82}};
    f.temperature = {{2000, 36}};
    f.trend.resize(2);
    f.trend[0].events[0] = {6, 1000};
    f.trend[1].powerOffMs = 9000;
    return f;
}

} // namespace

class AedArchiveFile : public ::testing::Test, public ArchiveFixture
{
};

TEST_F(AedArchiveFile, WritesTheFieldsInTheirOrderAndReadsThemBack)
{
    const SmallCase small;
    const QByteArray bytes = small.bytes();
    EXPECT_EQ(bytes.toHex(), QByteArray::fromHex(SmallCaseHex).toHex());

    BinaryReader in(bytes, "small.aed");
    const AedArchiveContents a = ParseAedArchive(in);
    const CaseRecord &r = a.record;
    EXPECT_EQ(r.deviceStartTime.GetTime(), 0x01020304);
    EXPECT_EQ(r.serialNumber, "S1");
    EXPECT_EQ(a.files.ctData, small.files.ctData);
    EXPECT_EQ(a.files.ecgData, small.files.ecgData);
    EXPECT_TRUE(a.files.hrData.isEmpty());
    EXPECT_EQ(a.files.tempData, small.files.tempData);
    EXPECT_TRUE(a.tempSection);
    EXPECT_EQ((QStringList{r.comments, r.operatorName, r.extraText1, r.extraText2, r.patientId, r.lastName,
                           r.firstName, r.middleInitial, r.heightText, r.weightText}),
              (QStringList{"c", "o", "", "", "p", "L", "F", "m", "h", "w"}));
    EXPECT_EQ((std::vector<int32_t>{r.nameSuffixIndex, r.sexIndex, r.raceIndex, r.heightUnitIndex, r.weightUnitIndex}),
              (std::vector<int32_t>{2, 3, 4, 5, 6}));
    EXPECT_EQ(r.birthDate.GetTime(), 0x0102);
    EXPECT_TRUE(r.birthDateKnown);
    EXPECT_FALSE(r.birthDateUnknown);
    EXPECT_EQ(annotations(a.annotations), (std::vector<Annotation>{{5000, "A: x", ""}}));
    EXPECT_EQ(r.savedAnnotationCount, 1);
    EXPECT_EQ(r.annotationChangeCount, 1);
    EXPECT_EQ(a.tempFilePresent, 1);
    EXPECT_FALSE(r.startTimeValid);
}

TEST_F(AedArchiveFile, ConversionKeepsTheDeviceFilesAndTheTrailer)
{
    const QString path = importArchive(fullFolder());

    const QByteArray bytes = dir.read("case.aed");
    const int64_t start = importedStart.GetTime();
    QByteArray expectedStart = QByteArray::fromHex("0a000080");
    for (int i = 0; i < 8; ++i)
        expectedStart.append(char((start >> (8 * i)) & 0xFF));
    EXPECT_EQ(bytes.left(16).toHex(), (expectedStart + QByteArray::fromHex("fffeff07")).toHex());

    const int slot = open(path);
    const CC8Class &f = files(slot);
    EXPECT_EQ(f.ctData, imported.ctData);
    EXPECT_EQ(f.ecgData, imported.ecgData);
    EXPECT_EQ(f.hrData, imported.hrData);
    EXPECT_EQ(f.trendData, imported.trendData);
    EXPECT_EQ(f.tempData, imported.tempData);
    EXPECT_FALSE(f.tempData.isEmpty());
    EXPECT_EQ(f.trendBlockCount, 2);
    EXPECT_EQ(f.trendBlocks, imported.trendBlocks);

    const CaseRecord &r = record(slot);
    EXPECT_EQ(r.serialNumber, "SN-0042");
    EXPECT_EQ(r.startTime, importedStart); // UTC+09:00 shows the device's clock
    EXPECT_EQ(r.deviceStartTime, importedStart);
    EXPECT_TRUE(r.startTimeValid);
    EXPECT_EQ(r.timeZoneIndex, zoneRow(540));
    EXPECT_EQ(r.savedAnnotationCount, 0);
    EXPECT_EQ(r.annotationChangeCount, 0);
    EXPECT_EQ(view.store.at(slot).tempLoaded, 1);
    EXPECT_EQ(view.store.tempFilePresentOf(slot), 1);
    EXPECT_TRUE(view.store.pendingAnnotations.empty());
}

TEST_F(AedArchiveFile, ConversionOfAFolderWithAPartialTrendBlockKeepsItsTail)
{
    DeviceFolder folder = fullFolder();
    const QString mif = dir.file("partial");
    folder.write(mif);
    QFile trend(mif + "/Q21 Trend Data.MIF");
    trend.open(QIODevice::Append);
    trend.write(QByteArray(100, '\x33'));
    trend.close();

    view.state.mifFolderPath = mif;
    view.state.deviceModel = ModelQ21;
    view.store.setTempFilePresent(view.store.nextCaseSlot(), 1);
    const int made = MifCase::CreateCaseFromMif(view);
    WriteAedArchive(view.store, made, dir.file("partial.aed"), AedArchiveVariant::Conversion);
    const QByteArray trendData = files(made).trendData;
    view.store.FreeCase(made);

    const int slot = open(dir.file("partial.aed"));
    EXPECT_EQ(files(slot).trendData.size(), 2 * 2668 + 100);
    EXPECT_EQ(files(slot).trendData, trendData);
    EXPECT_EQ(files(slot).trendBlockCount, 2);
}

TEST_F(AedArchiveFile, ConversionWithoutTempAndWithAnInvalidHeader)
{
    DeviceFolder folder = fullFolder();
    folder.hasTemp = false;
    folder.header.month = 13;
    const QString path = importArchive(folder);
    EXPECT_FALSE(dir.read("case.aed").contains(utf16("<<<TEMP>>>")));

    const int slot = open(path, 0);
    EXPECT_EQ(view.store.at(slot).tempLoaded, 0);
    EXPECT_EQ(view.store.tempFilePresentOf(slot), 0);
    EXPECT_TRUE(files(slot).tempData.isEmpty());
    EXPECT_FALSE(record(slot).startTimeValid);
    // A missing start time is not moved to another zone.
    EXPECT_EQ(record(slot).startTime.GetTime(), 0);
}

TEST_F(AedArchiveFile, SaveKeepsFieldsAndAnnotationsInTableOrder)
{
    const int first = open(importArchive(fullFolder()));
    CaseRecord &c = record(first);
    c.comments = "line one\r\nline two";
    c.operatorName = "Op";
    c.extraText1 = "x1";
    c.extraText2 = "x2";
    c.patientId = "MRN-7";
    c.lastName = "Rossi-Ñ";
    c.firstName = "Zoë";
    c.middleInitial = "Q";
    c.nameSuffixIndex = 2;
    c.sexIndex = 1;
    c.raceIndex = 3;
    c.birthDate = CTime(1950, 5, 17, 0, 0, 0);
    c.birthDateKnown = true;
    c.birthDateUnknown = false;
    c.heightText = "180";
    c.heightUnitIndex = 0;
    c.weightText = "75,5";
    c.weightUnitIndex = 2;

    view.store.AddEvent(first, 5000, "A: first", "body one");
    view.store.AddEvent(first, 6000, "Power off.", "");
    view.store.AddEvent(first, 7000, "A: second", "to be deleted");
    view.store.AddEvent(first, 8000, "A: third", "");
    c.events.remove(2);
    view.store.AddEvent(first, 9000, "A: fourth", QString(300, QChar('z'))); // takes the emptied slot
    c.annotationChangeCount = 4;

    const QString saved = dir.file("saved.aed");
    WriteAedArchive(view.store, first, saved, AedArchiveVariant::Save);
    EXPECT_EQ(c.savedAnnotationCount, 3);
    EXPECT_EQ(c.annotationChangeCount, 3);

    const int again = open(saved);
    const CaseRecord &r = record(again);
    EXPECT_EQ((QStringList{r.comments, r.operatorName, r.extraText1, r.extraText2, r.patientId, r.lastName,
                           r.firstName, r.middleInitial, r.heightText, r.weightText}),
              (QStringList{c.comments, c.operatorName, c.extraText1, c.extraText2, c.patientId, c.lastName,
                           c.firstName, c.middleInitial, c.heightText, c.weightText}));
    EXPECT_EQ((std::vector<int32_t>{r.nameSuffixIndex, r.sexIndex, r.raceIndex, r.heightUnitIndex, r.weightUnitIndex}),
              (std::vector<int32_t>{2, 1, 3, 0, 2}));
    EXPECT_EQ(r.birthDate, c.birthDate);
    EXPECT_TRUE(r.birthDateKnown);
    EXPECT_FALSE(r.birthDateUnknown);
    EXPECT_EQ(annotations(view.store.pendingAnnotations),
              (std::vector<Annotation>{{5000, "A: first", "body one"},
                                       {9000, "A: fourth", QString(300, QChar('z'))},
                                       {8000, "A: third", ""}}));
    EXPECT_EQ(r.savedAnnotationCount, 3);
    EXPECT_EQ(r.annotationChangeCount, 3);
    // No trailer: tempFilePresent follows the Temp section and the start is valid.
    EXPECT_EQ(view.store.at(again).tempLoaded, 1);
    EXPECT_EQ(view.store.tempFilePresentOf(again), 1);
    EXPECT_TRUE(r.startTimeValid);
    EXPECT_EQ(files(again).ecgData, files(first).ecgData);
    EXPECT_EQ(files(again).tempData, files(first).tempData);
}

TEST_F(AedArchiveFile, StartTimeIsShiftedByTheZoneChosenAtEveryOpen)
{
    const CTime t(1615104300);
    EXPECT_EQ(ShiftStartToZone(t, zoneRow(540)), t);
    EXPECT_EQ(ShiftStartToZone(t, zoneRow(0)), t - CTimeSpan(9 * 3600));
    EXPECT_EQ(ShiftStartToZone(t, zoneRow(-270)), t - CTimeSpan(810 * 60));
    EXPECT_EQ(ShiftStartToZone(t, zoneRow(345)), t - CTimeSpan(195 * 60));
    EXPECT_EQ(ShiftStartToZone(t, -1), t - CTimeSpan(540 * 60));

    const QString path = importArchive(fullFolder());
    const int slot = open(path, 0);
    EXPECT_EQ(record(slot).startTime, importedStart - CTimeSpan(9 * 3600));
    EXPECT_EQ(record(slot).deviceStartTime, importedStart);
    EXPECT_EQ(record(slot).timeZoneIndex, zoneRow(0));
}

TEST_F(AedArchiveFile, SavedArchiveReopenedInTheSameZoneShowsTheSameStart)
{
    const int first = open(importArchive(fullFolder()), 0);
    WriteAedArchive(view.store, first, dir.file("saved.aed"), AedArchiveVariant::Save);
    const int second = open(dir.file("saved.aed"), 0);
    EXPECT_EQ(record(second).startTime, record(first).startTime);
    WriteAedArchive(view.store, second, dir.file("saved2.aed"), AedArchiveVariant::Save);
    EXPECT_EQ(record(open(dir.file("saved2.aed"), 0)).startTime, record(first).startTime);
}

TEST_F(AedArchiveFile, SavedCaseWithoutStartTimeStaysWithoutOne)
{
    DeviceFolder folder = fullFolder();
    folder.header.hour = 24;
    const int first = open(importArchive(folder), -270);
    WriteAedArchive(view.store, first, dir.file("saved.aed"), AedArchiveVariant::Save);
    const int second = open(dir.file("saved.aed"), -270);
    EXPECT_FALSE(record(second).startTimeValid);
    EXPECT_EQ(record(second).startTime.GetTime(), 0);
}

TEST_F(AedArchiveFile, TrailerOrItsDefaults)
{
    struct Case { bool withTemp; bool withTrailer; int32_t trailerTemp; bool trailerValid;
                  int32_t tempLoaded; int32_t tempFilePresent; bool valid; };
    const Case cases[] = {
        {true, false, 0, false, 1, 1, true},
        {false, false, 0, false, 0, 0, true},
        {false, true, 1, false, 0, 1, false},
        {true, true, 0, true, 1, 0, true},
    };
    for (const Case &c : cases) {
        SmallCase small;
        small.layout.withTemp = c.withTemp;
        small.layout.withTrailer = c.withTrailer;
        small.layout.tempFilePresent = c.trailerTemp;
        small.layout.startTimeValid = c.trailerValid;
        const QString path = dir.write("t.aed", small.bytes());
        const int slot = open(path);
        EXPECT_EQ(view.store.at(slot).tempLoaded, c.tempLoaded);
        EXPECT_EQ(view.store.tempFilePresentOf(slot), c.tempFilePresent);
        EXPECT_EQ(record(slot).startTimeValid, c.valid);
        EXPECT_EQ(record(slot).comments, "c");
        view.store.FreeCase(slot);
    }
}

TEST_F(AedArchiveFile, ReadsOlderTimesAndEightBitTextsAndSkipsUnmarkedSections)
{
    const auto text8 = [](BinaryWriter &w, const QByteArray &b) {
        w.u8(uint8_t(b.size()));
        w.bytes(b);
    };
    BinaryWriter w;
    w.i32(1615104300); // the older 4-byte time
    text8(w, "SN8");
    text8(w, "<<<ct>>>"); // not the marker: no CT section, the text is dropped
    text8(w, "<<<ECG>>>");
    w.u32(2);
    w.bytes("ab");
    text8(w, "<<<HR>>>");
    w.u32(0);
    text8(w, "<<<TREND>>>");
    w.u32(0);
    // Older tools wrote 8-bit texts in Windows-1252, whatever the reading computer's locale.
    for (const char *t : {"caf\xe9 \x80" "5", "op", "", "", "pid", "Last1", "First", "M\xfcller", "M"})
        text8(w, t);
    w.i32(1);
    w.i32(2);
    w.i32(3);
    w.i32(-86400); // date of birth, older form
    w.u8(2);       // any non-zero byte is true
    w.u8(0);
    text8(w, "170");
    w.i32(1);
    text8(w, "60");
    w.i32(1);
    w.i32(1);
    w.i32(1234);
    text8(w, "A: note");
    text8(w, "text");

    const int slot = open(dir.write("old.aed", w.data()));
    const CaseRecord &r = record(slot);
    EXPECT_EQ(r.deviceStartTime.GetTime(), 1615104300);
    EXPECT_EQ(r.serialNumber, "SN8");
    EXPECT_TRUE(files(slot).ctData.isEmpty());
    EXPECT_EQ(files(slot).ecgData, "ab");
    EXPECT_EQ(r.comments, QStringLiteral("café €5"));
    EXPECT_EQ(r.lastName, QStringLiteral("Müller"));
    EXPECT_EQ(r.firstName, "First");
    EXPECT_EQ(r.birthDate.GetTime(), -86400);
    EXPECT_TRUE(r.birthDateKnown);
    EXPECT_EQ(r.weightText, "60");
    EXPECT_EQ(annotations(view.store.pendingAnnotations), (std::vector<Annotation>{{1234, "A: note", "text"}}));
    EXPECT_TRUE(r.startTimeValid);
}

TEST_F(AedArchiveFile, CommentsThatReadAsTheTempMarker)
{
    DeviceFolder folder = fullFolder();
    folder.hasTemp = false;
    const int first = open(importArchive(folder));
    record(first).comments = "<<<TEMP>>>";
    record(first).operatorName = "after";

    // Written plainly, the comments are taken for the marker and the file cannot be read.
    AedArchiveLayout plain;
    plain.startTime = record(first).deviceStartTime;
    const QString broken = dir.write("broken.aed", EncodeAedArchive(record(first), files(first), plain));
    const auto error = openFailure(broken);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), FileError::Kind::EndOfFile);

    // The save writer puts an empty Temp section before them, so they come back.
    WriteAedArchive(view.store, first, dir.file("saved.aed"), AedArchiveVariant::Save);
    const int second = open(dir.file("saved.aed"));
    EXPECT_EQ(record(second).comments, "<<<TEMP>>>");
    EXPECT_EQ(record(second).operatorName, "after");
    EXPECT_TRUE(files(second).tempData.isEmpty());
}

// Sections far longer than what is read ahead of small values are written from the file
// set's own buffers and read back straight into their own, byte for byte, the values
// after them included.
TEST_F(AedArchiveFile, LongSectionsAreWrittenFromTheirBuffersAndReadBackWhole)
{
    SmallCase c;
    const auto pattern = [](qsizetype size, int seed) {
        QByteArray b(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            b[i] = char((i * 31 + seed) >> 2);
        return b;
    };
    c.files.ctData = pattern(70 * 1024, 1);
    c.files.ecgData = pattern(1024 * 1024 + 3, 2);
    c.files.hrData = pattern(65 * 1024 - 1, 3);
    c.files.trendData = pattern(3 * CC8Class::TrendBlockSize, 4);
    c.files.tempData = pattern(200 * 1024, 5);

    const QByteArrayList parts = EncodeAedArchiveParts(c.record, c.files, c.layout);
    EXPECT_EQ(parts.join(), c.bytes());
    const auto shared = [&](const QByteArray &data) {
        return std::any_of(parts.begin(), parts.end(), [&](const QByteArray &p) { return p.constData() == data.constData(); });
    };
    for (const QByteArray *data : {&c.files.ctData, &c.files.ecgData, &c.files.hrData, &c.files.tempData})
        EXPECT_TRUE(shared(*data)) << "a section is written from its own buffer";

    const QString path = dir.write("long.aed", c.bytes());
    const int slot = open(path);
    EXPECT_EQ(files(slot).ctData, c.files.ctData);
    EXPECT_EQ(files(slot).ecgData, c.files.ecgData);
    EXPECT_EQ(files(slot).hrData, c.files.hrData);
    EXPECT_EQ(files(slot).trendData, c.files.trendData);
    EXPECT_EQ(files(slot).tempData, c.files.tempData);
    EXPECT_EQ(record(slot).weightText, "w");
    EXPECT_EQ(annotations(view.store.pendingAnnotations), (std::vector<Annotation>{{5000, "A: x", ""}}));
}

TEST_F(AedArchiveFile, ArchiveCutAtAnyOffsetIsRefusedAndLeavesNoCase)
{
    const QByteArray whole = SmallCase().bytes();
    const qsizetype endOfAnnotations = whole.size() - 5;
    const QString path = dir.file("cut.aed");
    for (qsizetype length = 0; length < whole.size(); ++length) {
        dir.write("cut.aed", whole.left(length));
        view.store.pendingAnnotations = {EventItem::make(1, "A: earlier", "")};
        // Up to 3 bytes after the annotations are stray bytes, not a cut trailer.
        if (length >= endOfAnnotations && length < endOfAnnotations + 4) {
            const int slot = open(path);
            EXPECT_EQ(view.store.tempFilePresentOf(slot), 1);
            EXPECT_TRUE(record(slot).startTimeValid);
            EXPECT_EQ(view.store.pendingAnnotations.size(), 1u);
            view.store.FreeCase(slot);
            continue;
        }
        const auto error = openFailure(path);
        ASSERT_TRUE(error) << length;
        EXPECT_EQ(error->kind(), FileError::Kind::EndOfFile) << length;
        EXPECT_EQ(error->message(), "Attempted to access " + path + " past its end.") << length;
        EXPECT_EQ(annotations(view.store.pendingAnnotations), (std::vector<Annotation>{{1, "A: earlier", ""}})) << length;
    }
}

TEST_F(AedArchiveFile, StrayBytesAfterTheAnnotationsAreNoTrailer)
{
    SmallCase small;
    small.layout.withTrailer = false;
    small.layout.withTemp = false;
    const int slot = open(dir.write("tail.aed", small.bytes() + QByteArray::fromHex("0d0a")));
    EXPECT_EQ(view.store.tempFilePresentOf(slot), 0) << "the default of a file without trailer";
    EXPECT_TRUE(record(slot).startTimeValid);
    EXPECT_EQ(record(slot).weightText, "w");
    EXPECT_EQ(annotations(view.store.pendingAnnotations), (std::vector<Annotation>{{5000, "A: x", ""}}));
}

TEST_F(AedArchiveFile, ImpossibleLengthsAreRefusedBeforeAnythingIsAllocated)
{
    SmallCase small;
    small.layout.withTrailer = false;
    small.layout.annotations.clear();
    const QByteArray valid = small.bytes();
    const qsizetype ctLength = 12 + 8 + 20;
    ASSERT_EQ(valid.mid(ctLength, 4), QByteArray::fromHex("02000000"));

    struct Case { const char *what; QByteArray bytes; FileError::Kind kind; };
    const auto patched = [&](qsizetype at, const char *hex) {
        QByteArray b = valid;
        const QByteArray with = QByteArray::fromHex(hex);
        return b.replace(at, with.size(), with);
    };
    const Case cases[] = {
        {"section of 4 GiB", patched(ctLength, "ffffffff"), FileError::Kind::EndOfFile},
        {"2^31 - 1 annotations", patched(valid.size() - 4, "ffffff7f"), FileError::Kind::EndOfFile},
        {"negative annotation count", patched(valid.size() - 4, "ffffffff"), FileError::Kind::EndOfFile},
        {"serial of 2^40 units", valid.left(12) + QByteArray::fromHex("fffeffffffffffffffff0000000000010000"),
         FileError::Kind::BadFormat},
        {"serial of 2^31 - 1 units", valid.left(12) + QByteArray::fromHex("fffeffffffffffffff7f"),
         FileError::Kind::EndOfFile},
    };
    for (const Case &c : cases) {
        const auto error = openFailure(dir.write("absurd.aed", c.bytes));
        ASSERT_TRUE(error) << c.what;
        EXPECT_EQ(error->kind(), c.kind) << c.what;
        EXPECT_TRUE(error->message().contains(dir.file("absurd.aed"))) << c.what;
    }
}

TEST_F(AedArchiveFile, ForeignAndMissingFilesAreRefusedNamingThem)
{
    QByteArray noise(4096, '\0');
    uint32_t x = 12345;
    for (char &b : noise) {
        x = x * 1103515245u + 12345u;
        b = char(x >> 24);
    }
    const QByteArray wav = AudioRecordFile::wavHeader(100) + QByteArray(100, '\x80');
    for (const QByteArray &bytes : {QByteArray(), QByteArray("Hello, world.\nThis is a note.\n"), wav, noise}) {
        const QString path = dir.write("foreign.aed", bytes);
        const auto error = openFailure(path);
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->message().contains(path));
    }
    const auto missing = openFailure(dir.file("nowhere.aed"));
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->kind(), FileError::Kind::NotFound);
}

TEST_F(AedArchiveFile, MoreThanAThousandAnnotationsAreReadWhole)
{
    const int first = open(importArchive(fullFolder()));
    for (int i = 0; i < 1500; ++i)
        view.store.AddEvent(first, 1000 + i, QString("A: %1").arg(i), QString());
    WriteAedArchive(view.store, first, dir.file("many.aed"), AedArchiveVariant::Save);
    const int second = open(dir.file("many.aed"));
    ASSERT_EQ(view.store.pendingAnnotations.size(), 1500u);
    EXPECT_EQ(view.store.pendingAnnotations.back().text, "A: 1499");
    EXPECT_EQ(record(second).savedAnnotationCount, 1500);
}

TEST_F(AedArchiveFile, FailedWriteChangesNeitherCaseNorFile)
{
    const int slot = open(importArchive(fullFolder()));
    view.store.AddEvent(slot, 5000, "A: unsaved", "");
    record(slot).annotationChangeCount = 1;
    const QString path = dir.file("no such folder/saved.aed");
    try {
        WriteAedArchive(view.store, slot, path, AedArchiveVariant::Save);
        FAIL() << "wrote into a missing folder";
    } catch (const FileError &e) {
        EXPECT_EQ(e.kind(), FileError::Kind::CreateFailed);
        EXPECT_TRUE(e.message().contains(path));
    }
    EXPECT_EQ(record(slot).savedAnnotationCount, 0);
    EXPECT_EQ(record(slot).annotationChangeCount, 1);
}
