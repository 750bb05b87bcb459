// "ravelin-cli export" from outside: a simulated rescue exported to EDF+ is read back with
// all its events, the tables as CSV, and nothing is written where it may not be.
#include "CliRescue.h"
#include "CliRun.h"
#include "EdfReaders.h"
#include "support/ScratchMount.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// A simulated rescue imported into dir/demo.aed.
QString simulatedArchive(const TempDir &dir)
{
    const QString device = dir.file(QStringLiteral("device"));
    const QString archive = dir.file(QStringLiteral("demo.aed"));
    EXPECT_EQ(runCli({"simulate", device, "--minutes", "3", "--seed", "11"}).status, 0);
    const CliRun import = runCli({"import", device, "--serial", "SN-77", "--out", archive});
    EXPECT_EQ(import.status, 0) << import.err.toStdString();
    return archive;
}

// The small rescue of the command tests imported into dir/rescue.aed.
QString importedRescue(const TempDir &dir)
{
    const QString folder = dir.file(QStringLiteral("rescue"));
    EXPECT_TRUE(cliRescue().write(folder));
    const QString archive = dir.file(QStringLiteral("rescue.aed"));
    EXPECT_EQ(runCli({"import", folder, "--serial", "SN-1", "--out", archive}).status, 0);
    return archive;
}

TEST(CliExport, ASimulatedRescueComesBackWithEveryEvent)
{
    TempDir dir;
    const QString archive = simulatedArchive(dir);
    const QString edf = dir.file(QStringLiteral("demo.edf"));
    const CliRun run = runCli({"export", archive, "--edf", edf});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());

    const QJsonObject info = QJsonDocument::fromJson(runCli({"info", archive}).out.toUtf8()).object();
    const int samples = (info.value("ecgEndMs").toInt() - info.value("ecgStartMs").toInt()) / 4;
    // Every event, every CPR period, and where the ECG ends inside its last second.
    const qsizetype annotations =
        info.value("eventCount").toInt() + info.value("cprPeriods").toArray().size() + (samples % 250 ? 1 : 0);
    ASSERT_GT(info.value("eventCount").toInt(), 20);

    bool any = false;
    if (biosigAvailable()) {
        QString error;
        EXPECT_EQ(biosigJsonEventCount(edf, error), annotations) << error.toStdString();
        any = true;
    }
    if (edflibAvailable()) {
        const ReadBack r = readWithEdflib(edf);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(qsizetype(r.annotations.size()), annotations);
        EXPECT_EQ(r.sampleCount, (samples + 249) / 250 * 250);
        EXPECT_EQ(r.equipment, QStringLiteral("SN-77"));
        any = true;
    }
    if (!any)
        GTEST_SKIP() << "neither biosig's save2gdf nor EDFlib is installed";

    const QString events = dir.file(QStringLiteral("events.csv"));
    ASSERT_EQ(runCli({"export", archive, "--events-csv", events}).status, 0);
    QFile csv(events);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray table = csv.readAll();
    EXPECT_TRUE(table.startsWith("time_ms,clock_time,text,detail\r\n"));
    EXPECT_EQ(table.count("\r\n"), info.value("eventCount").toInt() + 1);
}

TEST(CliExport, ThePerMinuteTableIsTheOneTheCprCommandPrints)
{
    // Imported into the device folder, beside its CPR feedback.
    TempDir dir;
    const QString device = dir.file(QStringLiteral("device"));
    ASSERT_EQ(runCli({"simulate", device, "--minutes", "4", "--seed", "5"}).status, 0);
    const QString archive = runCli({"import", device, "--serial", "SN-5"}).out.trimmed();
    const CliRun cpr = runCli({"cpr", archive, "--format", "csv"});
    ASSERT_EQ(cpr.status, 0) << cpr.err.toStdString();
    ASSERT_GT(cpr.out.count('\n'), 2) << "a table of several minutes";

    const QString minutes = dir.file(QStringLiteral("minutes.csv"));
    const CliRun run = runCli({"export", archive, "--per-minute-csv", minutes});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("minutes.csv")), cpr.out.toUtf8().replace("\n", "\r\n"));

    // Without the CPR feedback beside the archive there is no table, and no file.
    ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("device/CPR Feedback.bin"))));
    const QString none = dir.file(QStringLiteral("none.csv"));
    const CliRun missing = runCli({"export", archive, "--per-minute-csv", none});
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.err.isEmpty());
    EXPECT_FALSE(QFile::exists(none));
}

TEST(CliExport, ArgumentsAndTargetsThatAreRefused)
{
    TempDir dir;
    const QString archive = importedRescue(dir);
    const QString existing = dir.write(QStringLiteral("kept.csv"), "keep me");
    QFile original(archive);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray archiveBytes = original.readAll();

    const struct {
        QStringList arguments;
        const char *says;
    } refused[] = {
        {{"export", archive}, "exactly one of"},
        {{"export", archive, "--edf", dir.file("a.edf"), "--events-csv", dir.file("a.csv")}, "exactly one of"},
        {{"export", archive, "--events-csv", dir.file("a.csv"), "--with-compressions"}, "--edf only"},
        {{"export", archive, "--wav", dir.file("a.wav"), "--anonymize"}, "--wav"},
        {{"export", archive, "--events-csv", existing}, "exists already"},
        {{"export", archive, "--edf", archive, "--overwrite"}, "is the archive being read"},
        {{"export", dir.file("missing.aed"), "--edf", dir.file("b.edf")}, "missing.aed"},
    };
    for (const auto &r : refused) {
        const CliRun run = runCli(r.arguments);
        EXPECT_EQ(run.status, 1) << r.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(r.says))) << run.err.toStdString();
    }
    EXPECT_EQ(dir.read(QStringLiteral("kept.csv")), QByteArray("keep me"));
    EXPECT_EQ(dir.read(QStringLiteral("rescue.aed")), archiveBytes);
    EXPECT_FALSE(QFile::exists(dir.file("a.edf")) || QFile::exists(dir.file("a.csv")) || QFile::exists(dir.file("b.edf"))
                 || QFile::exists(dir.file("a.wav")));

    EXPECT_EQ(runCli({"export", archive, "--events-csv", existing, "--overwrite"}).status, 0);
    EXPECT_TRUE(dir.read(QStringLiteral("kept.csv")).startsWith("time_ms,"));
}

// The rescue started 2021-03-07 09:05 on device SN-1 (on the device's own clock, zone row
// 141): with --anonymize no output names the device or the day, in any of the forms the
// outputs write them; without it they do.
TEST(CliExport, AnonymisedOutputsNameNeitherTheDeviceNorTheDay)
{
    TempDir dir;
    const QString archive = importedRescue(dir);
    const QStringList leaks = {"SN-1", "2021", "07-MAR", "07.03.21", "09:05", "09.05"};
    const struct {
        QStringList arguments; // the output file goes after the first
        const char *plainHolds;
    } outputs[] = {
        {{"--edf", "--with-compressions"}, "SN-1"},
        {{"--events-csv"}, "2021-03-07 09:05"},
        {{"--compressions-csv"}, nullptr},
        {{"--pauses-csv"}, nullptr},
        {{"--per-minute-csv"}, nullptr},
    };
    for (const auto &o : outputs) {
        const QString plain = dir.file(o.arguments[0].mid(2) + QStringLiteral(".plain"));
        const QString anonymous = dir.file(o.arguments[0].mid(2) + QStringLiteral(".anonymous"));
        QStringList arguments = o.arguments;
        arguments.insert(1, anonymous);
        const CliRun run = runCli(QStringList{"export", archive, "--zone", "141", "--anonymize"} + arguments);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QByteArray written = dir.read(QFileInfo(anonymous).fileName());
        ASSERT_FALSE(written.isEmpty());
        for (const QString &leak : leaks)
            EXPECT_FALSE(written.contains(leak.toLatin1())) << o.arguments[0].toStdString() << ": " << leak.toStdString();
        if (o.plainHolds) {
            arguments[1] = plain;
            ASSERT_EQ(runCli(QStringList{"export", archive, "--zone", "141"} + arguments).status, 0);
            EXPECT_TRUE(dir.read(QFileInfo(plain).fileName()).contains(o.plainHolds)) << o.arguments[0].toStdString();
        }
    }

    // The printed CPR quality report, as pdftotext reads it.
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const auto pdfText = [&](const QString &name, const QStringList &extra) {
        const QString pdf = dir.file(name);
        const CliRun run = runCli(QStringList{"cpr", archive, "--zone", "141", "--pdf", pdf} + extra);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        text.waitForFinished(60000);
        return QString::fromUtf8(text.readAllStandardOutput());
    };
    const QString plainReport = pdfText(QStringLiteral("plain.pdf"), {});
    EXPECT_TRUE(plainReport.contains("SN-1") && plainReport.contains("2021-03-07")) << plainReport.toStdString();
    const QString anonymousReport = pdfText(QStringLiteral("anonymous.pdf"), {QStringLiteral("--anonymize")});
    EXPECT_TRUE(anonymousReport.contains("CPR quality report")) << anonymousReport.toStdString();
    for (const QString &leak : leaks)
        EXPECT_FALSE(anonymousReport.contains(leak)) << leak.toStdString();
}

TEST(CliExport, AWriteIntoAReadOnlyFolderIsNamedAndLeavesNoFile)
{
    TempDir dir;
    const QString archive = importedRescue(dir);
    ReadOnlyFolder locked([](const QString &) {});
    if (!locked.isLocked())
        GTEST_SKIP() << ReadOnlyFolder::skipReason().toStdString();

    const QString target = locked.path() + QStringLiteral("/out.edf");
    const CliRun run = runCli({"export", archive, "--edf", target});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QDir::toNativeSeparators(target))) << run.err.toStdString();
    EXPECT_EQ(QDir(locked.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

} // namespace

namespace {

QByteArray le32(int32_t v)
{
    QByteArray b;
    for (int shift = 0; shift < 32; shift += 8)
        b.append(char(uint32_t(v) >> shift));
    return b;
}

// The WAV the program makes of an audio record: the 44-byte header, then the samples.
QByteArray wavOf(const QByteArray &bin)
{
    const int32_t samples = int32_t(bin.size() - 4);
    return "RIFF" + le32(samples + 36) + "WAVEfmt " + le32(16) + QByteArray::fromHex("01000100") + le32(16000)
           + le32(16000) + QByteArray::fromHex("01000800") + "data" + le32(samples) + bin.mid(4);
}

} // namespace

TEST(CliExport, TheWavIsTheProgramsWavOfTheCasesRecord)
{
    TempDir dir;
    const QString device = dir.file(QStringLiteral("device"));
    ASSERT_EQ(runCli({"simulate", device, "--minutes", "2", "--seed", "3"}).status, 0);
    const QString archive = runCli({"import", device, "--serial", "SN-3"}).out.trimmed();
    const QByteArray expected = wavOf(dir.read(QStringLiteral("device/Audio Record.bin")));
    ASSERT_GT(expected.size(), 16044);

    const QString wav = dir.file(QStringLiteral("sound.wav"));
    CliRun run = runCli({"export", archive, "--wav", wav});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("sound.wav")), expected);

    // A file there is replaced only when asked; a link the user names is written through.
    dir.write(QStringLiteral("sound.wav"), "older");
    run = runCli({"export", archive, "--wav", wav});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(dir.read(QStringLiteral("sound.wav")), "older");
    ASSERT_TRUE(QFile::link(wav, dir.file(QStringLiteral("link.wav"))));
    run = runCli({"export", archive, "--wav", dir.file(QStringLiteral("link.wav")), "--overwrite"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("sound.wav")), expected);
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("link.wav"))).isSymLink());

    // Never over the record it is made from.
    const QString bin = dir.file(QStringLiteral("device/Audio Record.bin"));
    const QByteArray binBytes = dir.read(QStringLiteral("device/Audio Record.bin"));
    run = runCli({"export", archive, "--wav", bin, "--overwrite"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(dir.read(QStringLiteral("device/Audio Record.bin")), binBytes);
}

// Compressions outside the ECG stay out of the EDF+ file and are counted; 240 KB of crafted
// ones, plausible for the recording, cost no more than the ones inside take.
TEST(CliExport, CompressionsOutsideTheEcgAreLeftOutAndCounted)
{
    TempDir dir;
    const QString device = dir.file(QStringLiteral("device"));
    ASSERT_EQ(runCli({"simulate", device, "--minutes", "120", "--seed", "9", "--no-audio"}).status, 0);
    const QString archive = runCli({"import", device, "--serial", "SN-9"}).out.trimmed();
    const QJsonObject info = QJsonDocument::fromJson(runCli({"info", archive}).out.toUtf8()).object();
    const int32_t ecgStart = info.value("ecgStartMs").toInt();
    const int32_t ecgEnd = info.value("ecgEndMs").toInt();
    ASSERT_GT(ecgEnd, 7000 * 1000);

    const QString plain = dir.file(QStringLiteral("plain.edf"));
    ASSERT_EQ(runCli({"export", archive, "--edf", plain}).status, 0);

    // 30720 records of 8 bytes, evenly from power-on to 590 s past the ECG's end: some
    // before the ECG, most inside it, the last ones after it.
    QByteArray crafted;
    const int count = 30720;
    int before = 0, inside = 0, after = 0;
    for (int i = 0; i < count; ++i) {
        const auto t = int32_t(int64_t(i) * (int64_t(ecgEnd) + 590000) / count);
        crafted += le32(t) + le32(55);
        (t < ecgStart ? before : t < ecgEnd ? inside : after) += 1;
    }
    ASSERT_GT(after, 2000);
    dir.write(QStringLiteral("device/CPR Feedback.bin"), crafted);
    ASSERT_EQ(runCli({"bind", archive}).status, 0) << "the crafted file is taken for the case's own";
    const QString edf = dir.file(QStringLiteral("with.edf"));
    const CliRun run = runCli({"export", archive, "--edf", edf, "--with-compressions"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QStringLiteral("ravelin-cli export: %1 compressions outside the ECG were left out\n")
                           .arg(before + after));
    // Each compression's annotation is under 40 bytes, and no one-second record holds more
    // than a plausible second's worth: the file grows by what the compressions inside take.
    const qint64 records = (ecgEnd - ecgStart) / 1000 + 1;
    EXPECT_LT(QFileInfo(edf).size(), QFileInfo(plain).size() + records * 8 * 40);
    if (edflibAvailable()) {
        const ReadBack r = readWithEdflib(edf);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        const ReadBack p = readWithEdflib(plain);
        EXPECT_EQ(r.annotations.size(), p.annotations.size() + inside);
    }
}
