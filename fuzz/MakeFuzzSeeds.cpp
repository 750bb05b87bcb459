// Writes a small seed corpus for the fuzz targets into OUTDIR/<target>/: archives of both
// writers and of the older forms, whole opens with their review files, device folders, CPR
// feedback and audio records, a language pack.
#include "archive/AedArchiveWriter.h"
#include "archive/RecordingId.h"
#include "base/BinaryWriter.h"
#include "case/CC8Class.h"
#include "case/CaseRecord.h"
#include "case/ReviewFile.h"
#include "device/AudioRecordFile.h"
#include "tools/DeviceFolderWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>
#include <iterator>

namespace {

bool writeSeed(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray records(std::initializer_list<int32_t> values)
{
    BinaryWriter w;
    for (int32_t v : values)
        w.i32(v);
    return w.data();
}

// An archive in the older forms: a 4-byte time and 8-bit texts.
QByteArray olderArchive()
{
    BinaryWriter w;
    const auto text8 = [&w](const QByteArray &b) {
        w.u8(uint8_t(b.size()));
        w.bytes(b);
    };
    w.i32(1615104300);
    text8("SN");
    for (const char *marker : {"<<<CT>>>", "<<<ECG>>>", "<<<HR>>>", "<<<TREND>>>", "<<<TEMP>>>"}) {
        text8(marker);
        w.u32(4);
        w.bytes("data");
    }
    for (const char *t : {"comments", "op", "", "", "id", "last", "first", "last", "m"})
        text8(t);
    for (int i = 0; i < 3; ++i)
        w.i32(i);
    w.i32(0);
    w.u8(1);
    w.u8(0);
    text8("170");
    w.i32(1);
    text8("70");
    w.i32(1);
    w.i32(1);
    w.i32(5000);
    text8("A: note");
    text8("body");
    return w.data();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = true;

    CaseRecord record;
    record.serialNumber = QStringLiteral("SN-0042");
    record.comments = QStringLiteral("comment");
    record.lastName = QStringLiteral("Rossi");
    CC8Class files;
    files.ctData = QByteArray(16, '\x5A');
    files.ecgData = records({0, 400, 410, 420});
    files.hrData = records({1000, 80});
    files.trendData = QByteArray(CC8Class::TrendBlockSize + 10, '\0');
    files.tempData = records({2000, 36});
    const EventItem note = EventItem::make(5000, QStringLiteral("A: note"), QStringLiteral("body"));

    AedArchiveLayout conversion;
    conversion.startTime = CTime(1615104300);
    conversion.withTemp = true;
    conversion.withTrailer = true;
    conversion.tempFilePresent = 1;
    conversion.startTimeValid = true;
    AedArchiveLayout save;
    save.startTime = CTime(1615104300);
    save.annotations = {&note, &note};
    const QString aed = out + QStringLiteral("/aed");
    ok &= writeSeed(aed, QStringLiteral("conversion.aed"), EncodeAedArchive(record, files, conversion));
    ok &= writeSeed(aed, QStringLiteral("save.aed"), EncodeAedArchive(record, files, save));
    ok &= writeSeed(aed, QStringLiteral("older.aed"), olderArchive());

    const QString cpr = out + QStringLiteral("/cpr");
    ok &= writeSeed(cpr, QStringLiteral("two.bin"), records({1000, 50, 1600, 60}));
    ok &= writeSeed(cpr, QStringLiteral("partial.bin"), records({1000, 50, 1600}));

    const QString audio = out + QStringLiteral("/audio");
    ok &= writeSeed(audio, QStringLiteral("start.bin"), records({250}));
    ok &= writeSeed(audio, QStringLiteral("samples.bin"), records({250}) + QByteArray(64, '\x80'));

    // Device folder: model and Temp flags, three 16-bit lengths (ECG file, HR, Temp), then
    // the files, the trend data last.
    DeviceFiles::TrendBlock block;
    block.events[0] = {7, 3000};
    block.events[1] = {11, 3500};
    block.events[2] = {12, 4000};
    block.events[3] = {13, 9000};
    block.events[4] = {14, 12000};
    block.events[5] = {101, 13000};
    block.pads[0] = {6000, 7000, 1};
    block.powerOffMs = 20000;
    block.shockMs = 15000;
    block.impedanceOhm = 80;
    block.energyTenthsJ = 1500;
    const QByteArray hr = DeviceFiles::encodeRecords({{1000, 72}, {2500, 15}});
    const QByteArray temp = DeviceFiles::encodeRecords({{1000, 36}});
    const QByteArray ecg = DeviceFiles::encodeEcg({}, 0, {1000, -3, -1000, 250});
    const QByteArray trend = DeviceFiles::encodeTrendBlock(block);
    for (uint8_t flags : {uint8_t(0), uint8_t(4 | 1), uint8_t(4 | 2)}) {
        BinaryWriter device;
        device.u8(flags);
        for (const QByteArray *part : {&ecg, &hr, &temp})
            device.u16(uint16_t(part->size()));
        device.bytes(ecg + hr + temp + trend);
        ok &= writeSeed(out + QStringLiteral("/device"), QStringLiteral("case%1.bin").arg(flags), device.data());
    }

    // The whole open: zone row, flags (folder, companion files), extras (review file, link,
    // repeats, WAV), three 16-bit lengths (CPR feedback, audio record, review file), the three
    // files, then the archive. The review files: none, the recording's own with its companion
    // files bound and marks set, one of another recording, and the recording's behind a link;
    // and a sound record of a minute.
    const QByteArray feedback = records({1000, 50, 1600, 60});
    const QByteArray sound = records({250}) + QByteArray(64, '\x80');
    const auto sha256 = [](const QByteArray &bytes) {
        return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    };
    ReviewMarks own;
    own.recordingId = RecordingId(files);
    own.companions = std::vector<CompanionFile>{{QStringLiteral("CPR Feedback.bin"), feedback.size(), sha256(feedback)},
                                                {QStringLiteral("Audio Record.bin"), sound.size(), sha256(sound)}};
    own.viewed = false;
    own.cprPeriods = std::vector<ReviewMarks::Span>{{1000, 4000}};
    own.segments = std::vector<ReviewMarks::Span>{{0, 2000}};
    own.adjustedStart = QStringLiteral("2021-03-07 17:05:00");
    CC8Class otherFiles = files;
    otherFiles.ecgData = records({0, 400, 410, 421});
    ReviewMarks other = own;
    other.recordingId = RecordingId(otherFiles);
    struct OpenSeed
    {
        const AedArchiveLayout *layout;
        uint8_t extras;
        QByteArray review;
        QByteArray sound;
    };
    enum : uint8_t { ReviewThere = 1, ReviewIsLink = 2, AudioTimes64 = 0x30, WavThere = 64 };
    // A second of sound that repeats into a minute: a record of 1 MB.
    const QByteArray second = records({250}) + QByteArray(AudioRecordFile::SampleRate, '\x80');
    const OpenSeed openSeeds[] = {
        {&conversion, 0, {}, sound},
        {&save, 0, {}, sound},
        {&conversion, ReviewThere, ReviewFile::encode(own), sound},
        {&save, ReviewThere | WavThere, ReviewFile::encode(other), sound},
        {&conversion, ReviewThere | ReviewIsLink, ReviewFile::encode(own), sound},
        {&conversion, AudioTimes64, {}, second},
    };
    for (int i = 0; i < int(std::size(openSeeds)); ++i) {
        const OpenSeed &seed = openSeeds[i];
        BinaryWriter open;
        open.u8(uint8_t(141 - i % 2)); // Seoul, and the row before it
        open.u8(uint8_t(8 | 16 | (i % 2 == 0 ? 1 : 2)));
        open.u8(seed.extras);
        open.u16(uint16_t(feedback.size()));
        open.u16(uint16_t(seed.sound.size()));
        open.u16(uint16_t(seed.review.size()));
        open.bytes(feedback + seed.sound + seed.review + EncodeAedArchive(record, files, *seed.layout));
        ok &= writeSeed(out + QStringLiteral("/open"), QStringLiteral("case%1.bin").arg(i), open.data());
    }

    BinaryWriter wave;
    wave.bytes("RIFF", 4);
    wave.u32(36 + 16);
    wave.bytes("WAVEfmt ", 8);
    wave.u32(16);
    wave.u16(1);
    wave.u16(1);
    wave.u32(16000);
    wave.u32(16000);
    wave.u16(1);
    wave.u16(8);
    wave.bytes("data", 4);
    wave.u32(16);
    wave.bytes(QByteArray(16, '\x80'));
    ok &= writeSeed(out + QStringLiteral("/wave"), QStringLiteral("short.wav"), wave.data());

    const QString pack = QStringLiteral("0\t1\r\nPower on.\tAccensione.\r\n\t\n\rOnly one column\n");
    ok &= writeSeed(out + QStringLiteral("/language"), QStringLiteral("pack.txt"),
                    QByteArray(reinterpret_cast<const char *>(pack.utf16()), pack.size() * 2));
    return ok ? 0 : 1;
}
