// A decoded case exported to EDF+ and read back by two independent readers: the same
// samples, rate, start and dimension, and every event, CPR period and segment with its
// whole text at its time.
#include "EdfReaders.h"
#include "case/CaseViewFixture.h"
#include "export/CaseExport.h"
#include "export/ExportText.h"

#include <QFile>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Expected
{
    QString start; // "" when the start is not valid: the placeholder date
    int64_t subsecondMs = 0;
    std::vector<int32_t> raw;
    std::vector<ReadBack::Annotation> annotations; // onsets from the header's whole second
};

class CaseEdf : public ::testing::Test, public CaseViewFixture
{
protected:
    // A rescue whose ECG starts startMs after power-on: a few prompts, a shock and a CPR
    // period from the device, raw samples that swing over the full 16 bits of a real ECG.
    int rescue(int32_t startMs, int seconds, DeviceFiles::EcgHeader header = {})
    {
        DeviceFiles::DeviceFolder f = emptyFolder();
        f.header = header;
        f.ecgFirstSampleMs = startMs;
        for (int k = 0; k < seconds * 250 + 37; ++k)
            f.ecgRaw.push_back(int32_t(std::lround(900 * std::sin(k / 11.0) + (k % 250 == 0 ? 2500 : 0))) - 120);
        DeviceFiles::TrendBlock block;
        block.events[0] = {6, 3000};
        block.events[1] = {7, 9000};
        block.events[2] = {12, 16000};
        block.events[3] = {14, 25000};
        block.shockMs = 12000;
        block.energyTenthsJ = 1500;
        block.impedanceOhm = 80;
        f.trend = {block};
        const int slot = decodeCase(f);
        view.store.at(slot).hasCprFeedback = true;
        view.store.caseAt(slot)->cprFeedback = {{17000, 55}, {17550, 50}};
        view.store.AddSegment(slot, 4000, 6500);
        return slot;
    }

    // What the readers should find; anonymised: the placeholder start with the first sample
    // on its whole second, a reviewer's annotations by their kind only.
    Expected expected(int slot, bool withCompressions = false, bool anonymous = false)
    {
        const CaseRecord &c = *view.store.caseAt(slot);
        Expected e;
        if (c.startTimeValid && !anonymous) {
            const int64_t ms = c.startTime.GetTime() * 1000 + c.ecgStartMs;
            e.start = CTime(ms / 1000).Format("%Y-%m-%d %H:%M:%S");
            e.subsecondMs = ms % 1000;
        }
        const QByteArray &data = view.store.at(slot).fileSet->ecgData;
        for (qsizetype k = 4; k + 4 <= data.size(); k += 4)
            e.raw.push_back(qFromLittleEndian<int32_t>(data.constData() + k));
        const int64_t origin = c.ecgStartMs - e.subsecondMs;
        c.events.forEachUsed([&](int, const EventItem &ev) {
            const QString text = anonymous ? (ev.text.startsWith("A: ") ? QStringLiteral("Annotation") : ev.text)
                                 : ev.detail.isEmpty() ? ev.text
                                                       : ev.text + " - " + ev.detail;
            e.annotations.push_back({ev.timeMs - origin, -1, text});
        });
        c.cprPeriods.forEachUsed([&](int, const CprPeriod &p) {
            e.annotations.push_back({p.startMs - origin, p.endMs - p.startMs, QStringLiteral("CPR period")});
        });
        c.segments.forEachUsed([&](int, const EcgSegment &s) {
            e.annotations.push_back({s.startMs - origin, s.endMs - s.startMs, QStringLiteral("Marked ECG segment")});
        });
        if (withCompressions)
            for (const CprFeedbackRecord &k : c.cprFeedback)
                e.annotations.push_back({k.timeMs - origin, -1, QStringLiteral("Compression %1 in").arg(k.depth / 25.0, 0, 'f', 1)});
        e.annotations.push_back({int64_t(e.raw.size()) * 4 + e.subsecondMs, -1, QStringLiteral("End of the recorded ECG")});
        return e;
    }

    // Patient fields of every kind a header could carry.
    static void identify(CaseRecord &c)
    {
        c.patientId = QStringLiteral("PT 0815");
        c.lastName = QStringLiteral("De Niccolò");
        c.firstName = QStringLiteral("Mario");
        c.sexIndex = 1;
        c.birthDate = CTime(1951, 5, 2, 12, 0, 0);
        c.birthDateKnown = true;
    }

    QString exportCase(int slot, const ExportOptions &options = {})
    {
        const CaseExport::Built built = CaseExport::build(view.store.at(slot), texts, ExportKind::Edf, options);
        return dir.write(QStringLiteral("case%1.edf").arg(++m_files), built.bytes);
    }

    // Checks what one reader found against the case.
    static void check(const ReadBack &r, const Expected &e, int64_t onsetToleranceMs)
    {
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.start, e.start.isEmpty() ? QStringLiteral("1985-01-01 00:00:00") : e.start);
        EXPECT_EQ(r.subsecondMs, e.subsecondMs);
        EXPECT_EQ(r.samplingRate, 250.0);
        EXPECT_EQ(r.physicalDimension, QStringLiteral("uV"));
        // The last second is filled up to a whole data record.
        EXPECT_EQ(r.sampleCount, int64_t((e.raw.size() + 249) / 250 * 250));
        ASSERT_GE(r.physical.size(), e.raw.size());
        int wrong = 0;
        for (size_t k = 0; k < e.raw.size(); ++k)
            if (std::abs(r.physical[k] - e.raw[k] * 1000.0 / 190.0) > r.physicalStep && ++wrong < 5) {
                ADD_FAILURE() << "sample " << k << ": " << r.physical[k] << " for raw " << e.raw[k];
            }
        EXPECT_EQ(wrong, 0);

        auto byTime = [](const ReadBack::Annotation &a, const ReadBack::Annotation &b) {
            return std::tie(a.onsetMs, a.text) < std::tie(b.onsetMs, b.text);
        };
        std::vector<ReadBack::Annotation> want = e.annotations, got = r.annotations;
        std::sort(want.begin(), want.end(), byTime);
        std::sort(got.begin(), got.end(), byTime);
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].text, want[i].text);
            EXPECT_NEAR(double(got[i].onsetMs), double(want[i].onsetMs), double(onsetToleranceMs)) << want[i].text.toStdString();
            if (want[i].durationMs > 0) {
                EXPECT_EQ(got[i].durationMs, want[i].durationMs) << want[i].text.toStdString();
            }
        }
    }

    // Both readers, each skipped with a message when it is not installed.
    void checkWithBothReaders(const QString &path, const Expected &e)
    {
        bool any = false;
        if (edflibAvailable()) {
            SCOPED_TRACE("EDFlib");
            check(readWithEdflib(path), e, 0);
            any = true;
        } else {
            std::cout << "[ SKIPPED  ] EDFlib (libedf-dev) is not installed\n";
        }
        if (biosigAvailable()) {
            SCOPED_TRACE("biosig");
            // biosig keeps positions in samples (4 ms).
            check(readWithBiosig(path), e, 4);
            any = true;
        } else {
            std::cout << "[ SKIPPED  ] biosig's save2gdf (biosig-tools) is not installed\n";
        }
        if (!any)
            GTEST_SKIP() << "neither EDFlib nor biosig is installed";
    }

private:
    int m_files = 0;
};

TEST_F(CaseEdf, EcgStartingAfterPowerOnPutsTheEarlierEventsBeforeTheFirstSample)
{
    const int slot = rescue(2500, 30);
    ASSERT_EQ(view.store.caseAt(slot)->ecgStartMs, 2500);
    checkWithBothReaders(exportCase(slot), expected(slot));
}

TEST_F(CaseEdf, EightyEventsInFortySecondsAllComeBackWhole)
{
    const int slot = rescue(0, 40);
    for (int i = 0; i < 80; ++i)
        view.store.AddEvent(slot, 500 * i + 7, QStringLiteral("A: Note %1, \"quoted\" è").arg(i),
                            i % 2 ? QStringLiteral("Body of note %1 with several words in it").arg(i) : QString());
    checkWithBothReaders(exportCase(slot), expected(slot));
}

TEST_F(CaseEdf, CaseWithoutAValidStartGetsThePlaceholderDate)
{
    DeviceFiles::EcgHeader bad;
    bad.month = 13;
    const int slot = rescue(1234, 12, bad);
    ASSERT_FALSE(view.store.caseAt(slot)->startTimeValid);
    const QString path = exportCase(slot);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(256).mid(88, 12) == "Startdate X ");
    checkWithBothReaders(path, expected(slot));
}

TEST_F(CaseEdf, CompressionsBecomeAnnotationsWhenAsked)
{
    const int slot = rescue(0, 20);
    ExportOptions options;
    options.withCompressions = true;
    checkWithBothReaders(exportCase(slot, options), expected(slot, true));
}

TEST_F(CaseEdf, RawValuesBeyondSixteenBitsComeOutAsBdfPlus)
{
    DeviceFiles::DeviceFolder f = emptyFolder();
    for (int k = 0; k < 600; ++k)
        f.ecgRaw.push_back(k % 2 ? 40000 + k : -40000 - 3 * k);
    const int slot = decodeCase(f);
    const CaseExport::Built built = CaseExport::build(view.store.at(slot), texts, ExportKind::Edf, {});
    ASSERT_TRUE(built.bdf);
    EXPECT_EQ(built.bytes.left(8), QByteArray("\xff" "BIOSEMI"));
    const QString path = dir.write(QStringLiteral("wide.bdf"), built.bytes);
    for (const auto &[available, read] : {std::pair{edflibAvailable(), &readWithEdflib}, std::pair{biosigAvailable(), &readWithBiosig}}) {
        if (!available)
            continue;
        const ReadBack r = read(path);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_TRUE(r.bdf);
        ASSERT_GE(r.physical.size(), 600u);
        EXPECT_NEAR(r.physical[1], 40001 * 1000.0 / 190.0, r.physicalStep);
        EXPECT_NEAR(r.physical[598], -41794 * 1000.0 / 190.0, r.physicalStep);
    }
}

TEST_F(CaseEdf, PatientFieldsFollowTheRules)
{
    const int slot = rescue(0, 5);
    identify(*view.store.caseAt(slot));

    QFile plain(exportCase(slot));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    EXPECT_EQ(plain.read(88).mid(8), QByteArray("PT_0815 M 02-MAY-1951 De_Niccolo_Mario").leftJustified(80, ' '));
}

// Everything that could name the patient, the rescue or the device, and a reviewer's
// annotation with a title and a body: an anonymised file keeps the device's texts at their
// onsets and none of the rest, in its header or its annotations.
TEST_F(CaseEdf, AnAnonymisedFileKeepsNoNameDateSerialOrTypedText)
{
    const int slot = rescue(2500, 12);
    CaseRecord &c = *view.store.caseAt(slot);
    ASSERT_TRUE(c.startTimeValid);
    ASSERT_EQ(c.serialNumber, QStringLiteral("SN-0042"));
    identify(c);
    c.middleInitial = QStringLiteral("Q");
    c.comments = QStringLiteral("Found by neighbour Rossi");
    c.operatorName = QStringLiteral("Bianchi");
    c.extraText1 = QStringLiteral("Via Garibaldi");
    c.extraText2 = QStringLiteral("Ospedale Galliera");
    view.store.AddEvent(slot, 7300, QStringLiteral("A: Intubation by Verdi"), QStringLiteral("Tube 7.5, Mario awake"));

    ExportOptions options;
    options.anonymize = true;
    const QString path = exportCase(slot, options);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray file = f.readAll();

    const struct {
        int offset, width;
        const char *holds;
    } header[] = {
        {8, 80, "X X X X"},             // patient: code, sex, birthdate, name
        {88, 80, "Startdate X X X X"},  // recording: start date, admin code, technician, equipment
        {168, 8, "01.01.85"},
        {176, 8, "00.00.00"},
        {192, 44, "EDF+C"},
    };
    for (const auto &field : header)
        EXPECT_EQ(file.mid(field.offset, field.width), QByteArray(field.holds).leftJustified(field.width, ' '))
            << field.holds;
    // ECG samples of this case never make two printable bytes in a row, so whatever reads as
    // text came from the header or the annotations.
    const QString start = c.startTime.Format("%Y-%m-%d %H:%M");
    const QByteArray leaks[] = {"Niccol", "Mario", "0815", "1951", "MAY", "SN-0042", "0042", "Rossi",  "Bianchi",
                                "Garibaldi", "Galliera", "Verdi", "Tube", "Intubation", "2021", "MAR",
                                start.toLatin1(), "07.03.21", "09.05"};
    for (const QByteArray &leak : leaks)
        EXPECT_FALSE(file.contains(leak)) << leak.constData();
    EXPECT_EQ(file.count("\x14" "Annotation\x14"), 1) << "the reviewer's annotation is there by its kind";

    // Device texts, CPR period and segment at the onsets they have from the first sample.
    checkWithBothReaders(path, expected(slot, false, true));
    if (edflibAvailable()) {
        const ReadBack r = readWithEdflib(path);
        for (const QString &subfield : {r.patientCode, r.sex, r.birthdate, r.patientName, r.equipment})
            EXPECT_TRUE(subfield.isEmpty() || subfield == "X") << subfield.toStdString();
    }
}

} // namespace
