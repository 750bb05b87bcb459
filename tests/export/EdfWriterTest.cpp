// The file layout of the EDF+ / BDF+ writer against literal bytes, and the room it makes
// for annotations.
#include "EdfReaders.h"
#include "export/EdfWriter.h"
#include "support/TempDir.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray padded(const QByteArray &text, int width)
{
    return text + QByteArray(width - text.size(), ' ');
}

EdfContent smallContent()
{
    EdfContent c;
    c.patientField = QStringLiteral("MCH-07 M 02-MAY-1951 Rossi_Mario");
    c.recordingField = QStringLiteral("X X SN-0042");
    c.start = {true, 2021, 3, 7, 9, 5, 2, 500};
    c.physicalPerUnit = 1000.0 / 190.0;
    c.samples = {-100, 0, 250};
    c.annotations = {{0, -1, QStringLiteral("Power on.")}};
    return c;
}

TEST(EdfWriter, HeaderAndRecordOfASmallFileAreTheLiteralBytes)
{
    const QByteArray file = EdfWriter::write(smallContent());

    QByteArray header;
    header += padded("0", 8);
    header += padded("MCH-07 M 02-MAY-1951 Rossi_Mario", 80);
    header += padded("Startdate 07-MAR-2021 X X SN-0042", 80);
    header += "07.03.21" "09.05.02";
    header += padded("768", 8);
    header += padded("EDF+C", 44);
    header += padded("1", 8) + padded("1", 8) + padded("2", 4);
    header += padded("ECG", 16) + padded("EDF Annotations", 16);
    header += QByteArray(160, ' ');
    header += padded("uV", 8) + padded("", 8);
    // -100 and 250 units of 1000/190 uV: -526.3158 and 1315.7895, as many decimals as fit.
    header += padded("-526.316", 8) + padded("-1", 8);
    header += padded("1315.789", 8) + padded("1", 8);
    header += padded("-100", 8) + padded("-32768", 8);
    header += padded("250", 8) + padded("32767", 8);
    header += QByteArray(160, ' ');
    // The time-keeping list (7 bytes) and "Power on." (16 bytes) in 12 two-byte samples.
    header += padded("250", 8) + padded("12", 8);
    header += QByteArray(64, ' ');
    ASSERT_EQ(file.left(768), header);

    QByteArray record("\x9c\xff\x00\x00\xfa\x00", 6);
    for (int k = 3; k < 250; ++k)
        record += QByteArray("\xfa\x00", 2); // the last second filled up with the last sample
    record += QByteArray("+0.5\x14\x14\x00" "+0.5\x14Power on.\x14\x00\x00", 24);
    EXPECT_EQ(file.mid(768), record);
}

TEST(EdfWriter, RawValuesBeyondSixteenBitsMakeABdfPlusFile)
{
    EdfContent c = smallContent();
    c.samples = {70000, -70000, 5};
    c.start.valid = false;
    const QByteArray file = EdfWriter::write(c);

    EXPECT_EQ(file.left(8), QByteArray("\xff" "BIOSEMI"));
    EXPECT_EQ(file.mid(168, 16), QByteArray("01.01.85" "00.00.00")) << "the placeholder date of an unknown start";
    EXPECT_EQ(file.mid(88, 80), padded("Startdate X X X SN-0042", 80));
    EXPECT_EQ(file.mid(192, 44), padded("BDF+C", 44));
    EXPECT_EQ(file.mid(256, 32), padded("ECG", 16) + padded("BDF Annotations", 16));
    EXPECT_EQ(file.mid(256 + 32 + 160 + 16 + 32, 32), padded("-70000", 8) + padded("-8388608", 8)
                                                            + padded("70000", 8) + padded("8388607", 8));
    EXPECT_EQ(file.mid(768, 9), QByteArray("\x70\x11\x01\x90\xee\xfe\x05\x00\x00", 9)) << "three bytes a sample";
}

TEST(EdfWriter, OnsetsAndHeaderNumbersAreWrittenAsTheListsAndFieldsWantThem)
{
    const std::pair<int64_t, const char *> onsets[] = {
        {0, "+0"}, {12500, "+12.5"}, {-2500, "-2.5"}, {4, "+0.004"}, {-999, "-0.999"}, {61000, "+61"}, {36000120, "+36000.12"},
    };
    for (const auto &[ms, text] : onsets)
        EXPECT_EQ(EdfWriter::onsetText(ms), QByteArray(text)) << ms;

    const std::pair<double, const char *> numbers[] = {
        {-526.315789, "-526.316"}, {0.0, "0"}, {-0.0001, "-0.0001"}, {44150563.0, "44150563"}, {2.5, "2.5"}, {-9999994.7, "-9999995"},
    };
    for (const auto &[value, text] : numbers)
        EXPECT_EQ(EdfWriter::headerNumber(value), QByteArray(text)) << value;
}

// Samples read in place (little-endian words clamped to their store's limits) give the
// same file as the same values held, wherever a wide value falls: one beyond 16 bits late
// in the recording makes the whole file BDF+, and the progress still only moves forward.
TEST(EdfWriter, SamplesReadInPlaceGiveTheFileOfTheSameValuesHeld)
{
    const struct {
        const char *where;
        int at;        // sample given a value beyond 16 bits; -1: none
        int32_t limit; // of the store
    } cases[] = {
        {"none", -1, 1899999},          {"first sample", 0, 1899999},         {"inside a record", 250 * 5 + 3, 1899999},
        {"end of a record", 250 * 5 + 249, 1899999}, {"last sample", 250 * 7 + 12, 1899999}, {"a store of 1000 at most", 40, 1000},
    };
    for (const auto &c : cases) {
        std::vector<int32_t> raw;
        for (int k = 0; k < 250 * 7 + 13; ++k)
            raw.push_back((k * 7919) % 65536 - 32768);
        if (c.at >= 0)
            raw[size_t(c.at)] = c.at % 2 ? -40000000 : 40000000;

        EdfContent stored = smallContent();
        stored.samples.clear();
        stored.stored.bytes = QByteArray("head");
        for (int32_t v : raw) {
            char word[4];
            qToLittleEndian(v, word);
            stored.stored.bytes.append(word, 4);
        }
        stored.stored.offset = 4;
        stored.stored.count = qsizetype(raw.size());
        stored.stored.lowest = -c.limit;
        stored.stored.highest = c.limit;
        EdfContent held = smallContent();
        held.samples.clear();
        for (int32_t v : raw)
            held.samples.push_back(std::clamp(v, -c.limit, c.limit));

        std::vector<int> progress;
        const QByteArray file = EdfWriter::write(stored, [&](int p) { progress.push_back(p); });
        EXPECT_EQ(file, EdfWriter::write(held)) << c.where;
        const EdfWriter::Format format = c.at >= 0 && c.limit > 32767 ? EdfWriter::Format::Bdf : EdfWriter::Format::Edf;
        EXPECT_EQ(EdfWriter::formatOf(file), format) << c.where;
        EXPECT_EQ(EdfWriter::formatFor(stored), format) << c.where;
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end(), std::less_equal<>())) << c.where;
        EXPECT_EQ(progress.back(), 10000) << c.where;
    }
}

// Many long annotations crowded into a few seconds, some before the first sample and some
// after the last: every one comes back whole, none is dropped, and no data record grows
// to hold the crowd alone.
TEST(EdfWriter, CrowdedLongAnnotationsAreAllKept)
{
    if (!edflibAvailable())
        GTEST_SKIP() << "EDFlib (libedf-dev) is not installed; the file cannot be read back";
    EdfContent c = smallContent();
    c.samples.assign(250 * 60, 10); // one minute
    c.annotations.clear();
    for (int i = 0; i < 1500; ++i) {
        // About 500 bytes of UTF-8 (EDFlib's reader keeps up to 512), each text different.
        QString text = QStringLiteral("Event %1 ").arg(i, 4, 10, QLatin1Char('0'));
        while (text.toUtf8().size() < 490)
            text += QStringLiteral("è-%1 ").arg(i % 97);
        const int64_t onset = i < 100 ? -3000 - i : i < 1400 ? 20000 + i % 7 : 60000 + i;
        c.annotations.push_back({onset, i % 3 == 0 ? int64_t(i) : -1, text});
    }
    TempDir dir;
    const QString path = dir.write(QStringLiteral("crowd.edf"), EdfWriter::write(c));

    const ReadBack r = readWithEdflib(path);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_EQ(r.annotations.size(), c.annotations.size());
    std::vector<std::tuple<int64_t, int64_t, QString>> expected, found;
    for (const EdfAnnotation &a : c.annotations)
        expected.emplace_back(a.onsetMs + 500, a.durationMs, a.text);
    for (const ReadBack::Annotation &a : r.annotations)
        found.emplace_back(a.onsetMs, a.durationMs, a.text);
    std::sort(expected.begin(), expected.end());
    std::sort(found.begin(), found.end());
    int wrong = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (found[i] != expected[i] && ++wrong <= 3) {
            ADD_FAILURE() << "expected " << std::get<0>(expected[i]) << " " << std::get<2>(expected[i]).toStdString()
                          << "\nfound " << std::get<0>(found[i]) << " " << std::get<2>(found[i]).toStdString();
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(r.sampleCount, 250 * 60) << "the annotations take no room from the signal";

    // 1500 lists of about 520 bytes spread over 60 records: no record needs them all.
    const qsizetype recordBytes = (QFileInfo(path).size() - 768) / 60;
    EXPECT_LT(recordBytes, 500 + 1500 * 520 / 10);
}

} // namespace
