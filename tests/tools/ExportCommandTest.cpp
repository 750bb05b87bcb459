// "ravelin-cli export" from outside: a simulated rescue exported to EDF+ is read back with
// all its events, the tables as CSV, and nothing is written where it may not be.
#include "CliRescue.h"
#include "CliRun.h"
#include "EdfReaders.h"
#include "support/ScratchMount.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
        {{"export", archive, "--events-csv", dir.file("a.csv"), "--anonymize"}, "--edf only"},
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
    EXPECT_FALSE(QFile::exists(dir.file("a.edf")) || QFile::exists(dir.file("a.csv")) || QFile::exists(dir.file("b.edf")));

    EXPECT_EQ(runCli({"export", archive, "--events-csv", existing, "--overwrite"}).status, 0);
    EXPECT_TRUE(dir.read(QStringLiteral("kept.csv")).startsWith("time_ms,"));
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
