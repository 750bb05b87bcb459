// "ravelin-cli import", "events", "info" and "cpr", run as their users run them: the built
// program, its exit status, and what it writes to stdout and stderr.
#include "archive/AedArchiveWriter.h"
#include "app/CRavelinView.h"
#include "device/MifCase.h"
#include "device/EventText.h"
#include "case/MemoryTreeControl.h"
#include "device/TimeZoneTable.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/TempDir.h"
#include "tools/DeviceFolderWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

#include "CliRescue.h"
#include "CliRun.h"

namespace {

using DeviceFiles::Model;

const int SeoulRow = 141;

class CliCommands : public ::testing::Test
{
protected:
    TempDir dir;
    LanguagePack texts = Packs::builtInEnglish();

    static DeviceFiles::DeviceFolder rescue(Model model = Model::Q25) { return cliRescue(model); }

    // The compressions of a rescue around its shock (delivered at 8520 ms) after an analysis at
    // 2000 ms: two in-run gaps of 500 ms, then a 4-second pause that holds the shock.
    static DeviceFiles::DeviceFolder cprRescue()
    {
        DeviceFiles::DeviceFolder f = rescue();
        f.trend[0].events[1] = {6, 2000};
        f.cprFeedback = {{4000, 50}, {4500, 55}, {5000, 60}, {9000, 45}};
        return f;
    }

    // The object a command printed, after checking that its members are exactly order, one
    // a line in that order.
    static QJsonObject objectWithMembersInOrder(const QString &out, const QStringList &order)
    {
        qsizetype at = 0;
        for (const QString &key : order) {
            const qsizetype found = out.indexOf("\n  \"" + key + "\": ");
            EXPECT_GT(found, at) << key.toStdString();
            at = found;
        }
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(out.toUtf8(), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
        EXPECT_EQ(o.size(), order.size());
        return o;
    }

    QString writeFolder(const QString &name, const DeviceFiles::DeviceFolder &f = rescue())
    {
        f.write(dir.file(name));
        return dir.file(name);
    }

    static QStringList mifFilesIn(const QString &folder)
    {
        return QDir(folder).entryList({"*.MIF"}, QDir::Files, QDir::Name);
    }

    // The tree branch of an archive opened in this process the way "Load AED File" does.
    QStringList treeOf(const QString &archive, int zoneRow)
    {
        FakePlatform platform;
        MemoryTreeControl tree;
        CRavelinView view(texts, platform);
        view.setTree(&tree);
        view.state.timeZoneChoice = uint16_t(zoneRow);
        EXPECT_TRUE(view.OpenArchiveFile(archive));
        return tree.lines();
    }
};

TEST_F(CliCommands, ImportWritesTheArchiveUnderItsAutomaticNameAndKeepsTheDeviceFiles)
{
    const QString folder = writeFolder("card");
    const CliRun run = runCli({"import", folder + "/", "--serial", "SN-7"});

    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, folder + "/Q25_0905(2021-03-07).aed\n");
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(QFileInfo::exists(folder + "/Q25_0905(2021-03-07).aed"));
    EXPECT_EQ(mifFilesIn(folder).size(), 5) << "nothing is erased without --erase";
}

TEST_F(CliCommands, ImportWithEraseErasesTheConvertedFilesOnly)
{
    const QString folder = writeFolder("card");
    const QString out = dir.file("archives.aed");
    const CliRun run = runCli({"import", folder, "--serial", "SN-7", "--out", out, "--erase"});

    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, out + "\n");
    EXPECT_TRUE(QFileInfo::exists(out));
    EXPECT_EQ(mifFilesIn(folder), QStringList());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), (QStringList{"Audio Record.bin", "CPR Feedback.bin"}));
}

TEST_F(CliCommands, ImportRefusesWhatLoadMifFileRefuses)
{
    DeviceFiles::DeviceFolder noHr = rescue(Model::Q21);
    const QString missingHr = writeFolder("nohr", noHr);
    QFile::remove(missingHr + "/Q21 HR Data.MIF");
    const QString empty = dir.mkdir("empty");
    const QString good = writeFolder("good");
    const struct { QStringList arguments; QString error; } cases[] = {
        {{missingHr, "--serial", "1"}, texts.GetText(86)},
        {{empty, "--serial", "1"}, texts.GetText(81)},
        {{good, "--serial", ""}, texts.GetText(77)},
        {{dir.file("gone"), "--serial", "1"}, "no folder \"" + dir.file("gone") + "\""},
        {{good}, "no --serial given"},
        {{""}, texts.GetText(76)},
        {{"", "--serial", "1"}, texts.GetText(76)},
        {{good, "--serial", "1", "--lang-pack", dir.file("none.txt")}, dir.file("none.txt")},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(QStringList{"import"} + c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("ravelin-cli import: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.error)) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(QDir(dir.path()).entryList({"*.aed"}, QDir::Files), QStringList());
    EXPECT_EQ(QDir(good).entryList({"*.aed"}, QDir::Files), QStringList());
}

TEST_F(CliCommands, ImportStopsWhenADeviceFileCannotBeReadAndWhenTheArchiveCannotBeWritten)
{
    // Every kind is found, the model is Q25, and the Q25 CT file is missing.
    const QString mixed = writeFolder("mixed");
    QFile::rename(mixed + "/Q25 CT Data.MIF", mixed + "/Q21 CT Data.MIF");
    CliRun run = runCli({"import", mixed, "--serial", "1", "--erase"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(mixed + "/Q25 CT Data.MIF")) << run.err.toStdString();
    EXPECT_EQ(QDir(mixed).entryList({"*.aed"}, QDir::Files), QStringList());
    EXPECT_EQ(mifFilesIn(mixed).size(), 5);

    const QString folder = writeFolder("card");
    const QString target = dir.write("plain.txt", "x") + "/case.aed";
    run = runCli({"import", folder, "--serial", "1", "--out", target, "--erase"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(target)) << run.err.toStdString();
    EXPECT_EQ(mifFilesIn(folder).size(), 5);
}

TEST_F(CliCommands, ImportTakesItsTextsFromTheLanguagePackGiven)
{
    // The deployed pack with its second (Italian) column chosen in the header.
    QFile deployed(Packs::deployedPath());
    ASSERT_TRUE(deployed.open(QIODevice::ReadOnly));
    const QByteArray original = deployed.readAll();
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(original.constData() + 2),
                                      (original.size() - 2) / 2);
    text.replace(0, text.indexOf('\r'), "language\t2");
    QByteArray bytes("\xff\xfe", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    const QString packPath = dir.write("string.txt", bytes);
    LanguagePack italian;
    italian.parseUtf16(bytes);
    ASSERT_EQ(italian.language(), 2);

    const CliRun run = runCli({"import", dir.mkdir("empty"), "--serial", "1", "--lang-pack", packPath});

    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ravelin-cli import: " + italian.GetText(81) + "\n");
    EXPECT_NE(italian.GetText(81), texts.GetText(81));
}

TEST_F(CliCommands, EventsPrintTheCaseBranchAsTheTreeShowsIt)
{
    const QString archive = runCli({"import", writeFolder("card"), "--serial", "SN-7"}).out.trimmed();
    ASSERT_TRUE(QFileInfo::exists(archive));

    const CliRun run = runCli({"events", archive, "--zone", QString::number(SeoulRow), "--device-model", "Q25"});

    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "2021-03-07");
    EXPECT_EQ(lines[1], "  SN-7");
    EXPECT_TRUE(lines[2].startsWith("    2021-03-07 ")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("(UTC+09:00)")) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith("      ")) << lines[3].toStdString();
    EXPECT_FALSE(lines[3].startsWith("       "));
    EXPECT_EQ(lines.last(), "") << "every line ends with a line feed";
    EXPECT_EQ(lines.mid(0, lines.size() - 1), treeOf(archive, SeoulRow));
    EXPECT_TRUE(lines.filter(texts.GetText(EventTextNumber(101, ModelQ25))).size() == 1)
        << "code 101 worded for the model given";
}

TEST_F(CliCommands, InfoPrintsOneObjectWithItsMembersInOrder)
{
    const QString archive = runCli({"import", writeFolder("card"), "--serial", "SN-7"}).out.trimmed();
    const CliRun run = runCli({"info", archive, "--zone", QString::number(SeoulRow)});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    const QStringList order = {
        "startTime", "startTimeValid", "timeZoneIndex", "serialNumber", "comments", "operatorName", "extraText1",
        "extraText2", "patientId", "lastName", "firstName", "middleInitial", "nameSuffixIndex", "sexIndex", "raceIndex",
        "birthDate", "birthDateKnown", "birthDateUnknown", "heightText", "heightUnitIndex", "weightText",
        "weightUnitIndex", "savedAnnotationCount", "annotations", "ctSize", "ecgSize", "hrSize", "trendSize",
        "tempSize", "tempLoaded", "tempFilePresent", "trendBlockCount", "ecgStartMs", "ecgEndMs", "hrCount",
        "tempCount", "shockCount", "cprPeriods", "eventCount", "hasCprFeedback", "cprFeedbackCount", "hasAudio",
        "audioStartMs", "audioDurationSec", "recordingId"};
    const QJsonObject o = objectWithMembersInOrder(run.out, order);
    EXPECT_TRUE(o["startTimeValid"].toBool());
    EXPECT_EQ(o["timeZoneIndex"].toInt(), SeoulRow);
    EXPECT_EQ(o["serialNumber"].toString(), "SN-7");
    EXPECT_EQ(o["ctSize"].toInt(), 16);
    EXPECT_EQ(o["ecgSize"].toInt(), 4 + 2500 * 4) << "first-sample time and samples after the header";
    EXPECT_EQ(o["trendSize"].toInt(), DeviceFiles::TrendBlockSize);
    EXPECT_EQ(o["trendBlockCount"].toInt(), 1);
    EXPECT_EQ(o["tempLoaded"].toInt(), 1);
    EXPECT_EQ(o["tempFilePresent"].toInt(), 1);
    EXPECT_EQ(o["hrCount"].toInt(), 1);
    EXPECT_EQ(o["tempCount"].toInt(), 1);
    EXPECT_EQ(o["shockCount"].toInt(), 1);
    EXPECT_TRUE(o["hasCprFeedback"].toBool());
    EXPECT_EQ(o["cprFeedbackCount"].toInt(), 2);
    EXPECT_TRUE(o["hasAudio"].toBool());
    EXPECT_EQ(o["audioStartMs"].toInt(), 250);
    EXPECT_EQ(o["audioDurationSec"].toInt(), 2) << "the sound file was made by this open";
    EXPECT_EQ(o["annotations"].toArray().size(), 0);
    EXPECT_EQ(o["heightUnitIndex"].toInt(), 1);
    EXPECT_TRUE(o["birthDateKnown"].isBool());
    EXPECT_TRUE(run.out.endsWith("}\n"));
}

TEST_F(CliCommands, InfoListsAnnotationsAndTextsEscaped)
{
    // A saved case with two annotations and fields that need escaping.
    FakePlatform platform;
    CRavelinView view(texts, platform);
    const QString folder = writeFolder("card");
    view.state.mifFolderPath = folder;
    view.state.deviceModel = ModelQ25;
    view.state.serialNumber = "SN \"7\"";
    const int slot = MifCase::CreateCaseFromMif(view.session);
    CaseRecord &c = *view.store.caseAt(slot);
    c.buildState = CaseListBuilt;
    c.lastName = "Ünal\\Smith";
    c.comments = "line one\nline two\ttab";
    view.store.AddEvent(slot, 2500, "A: second", "body \"quoted\"");
    view.store.AddEvent(slot, 1200, "A: first", "");
    view.store.AddEvent(slot, 1300, "not an annotation", "");
    const QString archive = dir.file("saved.aed");
    WriteAedArchive(view.store, slot, archive, AedArchiveVariant::Save);

    const CliRun run = runCli({"info", archive, "--zone", "0"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(o["serialNumber"].toString(), "SN \"7\"");
    EXPECT_EQ(o["lastName"].toString(), "Ünal\\Smith");
    EXPECT_EQ(o["comments"].toString(), "line one\nline two\ttab");
    EXPECT_EQ(o["savedAnnotationCount"].toInt(), 2);
    const QJsonArray annotations = o["annotations"].toArray();
    ASSERT_EQ(annotations.size(), 2);
    EXPECT_EQ(annotations[0].toObject()["title"].toString(), "A: second") << "event-table order";
    EXPECT_EQ(annotations[0].toObject()["timeMs"].toInt(), 2500);
    EXPECT_EQ(annotations[0].toObject()["body"].toString(), "body \"quoted\"");
    EXPECT_EQ(annotations[1].toObject()["title"].toString(), "A: first");
}

TEST_F(CliCommands, ImportEventsAndInfoAreTheSameOnComputersInEveryZone)
{
    // The same device folder imported on three computers, and the first archive listed on
    // each of them for two chosen zones: Seoul's (the device's own clock) and Zagreb's.
    const QString folder = writeFolder("card");
    const char *const computers[] = {"Asia/Seoul", "America/New_York", "Europe/Rome"};
    const QString firstArchive = dir.file("Asia/Seoul.aed");
    struct Result { QByteArray archive; QString events[2]; QString info[2]; };
    std::vector<Result> results;
    for (const char *zone : computers) {
        const QString out = dir.file(QString::fromLatin1(zone) + ".aed");
        QDir().mkpath(QFileInfo(out).path());
        const CliRun import = runCli({"import", folder, "--serial", "SN-7", "--out", out}, zone);
        ASSERT_EQ(import.status, 0) << zone << ": " << import.err.toStdString();
        Result r;
        r.archive = dir.read(QString::fromLatin1(zone) + ".aed");
        for (int i = 0; i < 2; ++i) {
            const QString row = QString::number(i == 0 ? SeoulRow : 178);
            r.events[i] = runCli({"events", firstArchive, "--zone", row, "--device-model", "Q25"}, zone).out;
            r.info[i] = runCli({"info", firstArchive, "--zone", row}, zone).out;
        }
        results.push_back(r);
    }

    for (size_t c = 1; c < results.size(); ++c) {
        EXPECT_EQ(results[c].archive, results[0].archive) << computers[c];
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(results[c].events[i].toStdString(), results[0].events[i].toStdString()) << computers[c];
            EXPECT_EQ(results[c].info[i].toStdString(), results[0].info[i].toStdString()) << computers[c];
        }
    }
    // What a computer set to UTC+09:00 shows: the header's 09:05:00 in Seoul's zone, eight
    // hours earlier in Zagreb's.
    EXPECT_TRUE(results[0].events[0].contains("\n    2021-03-07 09:05:00(UTC+09:00)\n")) << results[0].events[0].toStdString();
    EXPECT_TRUE(results[0].events[1].contains("\n    2021-03-07 01:05:00(UTC+01:00)\n")) << results[0].events[1].toStdString();
    EXPECT_TRUE(results[0].events[0].contains("\n      09:05:03 ")) << "code 101 at 3 s";
    const QJsonObject seoul = QJsonDocument::fromJson(results[0].info[0].toUtf8()).object();
    EXPECT_EQ(seoul["startTime"].toInteger(), 1615075500) << "2021-03-07 00:05:00 UTC";
    const QJsonObject zagreb = QJsonDocument::fromJson(results[0].info[1].toUtf8()).object();
    EXPECT_EQ(zagreb["startTime"].toInteger(), 1615075500 - 8 * 3600);
}

TEST_F(CliCommands, BadArchivesEndEventsAndInfoNamingTheFile)
{
    const QString truncated = dir.write("cut.aed", QByteArray(7, '\1'));
    for (const char *command : {"events", "info"}) {
        for (const QString &path : {truncated, dir.file("missing.aed")}) {
            const CliRun run = runCli({command, path});
            EXPECT_EQ(run.status, 1) << command;
            EXPECT_EQ(run.out, "") << command;
            EXPECT_TRUE(run.err.startsWith(QString("ravelin-cli ") + command + ": ")) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(path)) << run.err.toStdString();
        }
        const CliRun bad = runCli({command, truncated, "--zone", "179"});
        EXPECT_EQ(bad.status, 1);
        EXPECT_TRUE(bad.err.contains("--zone must be a row from 0 to 178")) << bad.err.toStdString();
        const CliRun model = runCli({command, truncated, "--device-model", "Q99"});
        EXPECT_EQ(model.status, 1);
        EXPECT_TRUE(model.err.contains("--device-model must be Q21, Q25 or Q26")) << model.err.toStdString();
    }
}

TEST_F(CliCommands, CprPrintsEveryMeasureAsOneObjectWithItsMembersInOrder)
{
    const QString archive = runCli({"import", writeFolder("card", cprRescue()), "--serial", "SN-7"}).out.trimmed();
    const CliRun run = runCli({"cpr", archive});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    const QStringList order = {"compressionCount", "pauseThresholdMs", "firstCompressionMs", "lastCompressionMs",
                               "compressionTimeMs", "ccf", "meanRatePerMin", "rateInTarget", "meanDepthIn",
                               "meanDepthCm", "depthInTarget", "depthShallow", "depthDeep",
                               "timeToFirstCompressionMs", "timeToFirstAnalysisMs", "timeToFirstShockMs",
                               "longestPauseMs", "pausesOver10s", "beforeCpr", "handsOff", "shocks", "pauses",
                               "perMinute"};
    const QJsonObject o = objectWithMembersInOrder(run.out, order);
    EXPECT_EQ(o["compressionCount"].toInt(), 4);
    EXPECT_EQ(o["pauseThresholdMs"].toInt(), 2000);
    EXPECT_EQ(o["compressionTimeMs"].toInt(), 1000);
    EXPECT_DOUBLE_EQ(o["ccf"].toDouble(), 0.2);
    EXPECT_DOUBLE_EQ(o["meanRatePerMin"].toDouble(), 120.0);
    EXPECT_DOUBLE_EQ(o["meanDepthIn"].toDouble(), 2.1);
    EXPECT_DOUBLE_EQ(o["depthInTarget"].toDouble(), 0.75);
    EXPECT_DOUBLE_EQ(o["depthShallow"].toDouble(), 0.25);
    EXPECT_EQ(o["timeToFirstAnalysisMs"].toInt(), 2000);
    EXPECT_EQ(o["timeToFirstShockMs"].toInt(), 8520);
    EXPECT_EQ(o["longestPauseMs"].toInt(), 4000);
    const QJsonArray shocks = o["shocks"].toArray();
    ASSERT_EQ(shocks.size(), 1);
    EXPECT_EQ(shocks[0].toObject().keys(), (QStringList{"analysisMs", "chargeMs", "periShockPauseMs",
                                                        "postShockPauseMs", "preShockPauseMs", "timeMs", "toShockMs"}));
    EXPECT_EQ(shocks[0].toObject()["preShockPauseMs"].toInt(), 3520);
    EXPECT_EQ(shocks[0].toObject()["postShockPauseMs"].toInt(), 480);
    const QJsonArray pauses = o["pauses"].toArray();
    ASSERT_EQ(pauses.size(), 1);
    EXPECT_EQ(pauses[0].toObject()["startMs"].toInt(), 5000);
    EXPECT_EQ(pauses[0].toObject()["lengthMs"].toInt(), 4000);
    EXPECT_EQ(pauses[0].toObject()["kind"].toString(), "peri-shock");
    const QJsonArray minutes = o["perMinute"].toArray();
    ASSERT_EQ(minutes.size(), 1);
    EXPECT_EQ(minutes[0].toObject().keys(),
              (QStringList{"ccf", "compressions", "meanDepthIn", "meanRatePerMin", "minute"}));
    EXPECT_TRUE(run.out.endsWith("}\n"));

    // A longer threshold takes the pause into the run; none is null, not left out.
    const QJsonObject wide =
        QJsonDocument::fromJson(runCli({"cpr", archive, "--pause-threshold", "5000"}).out.toUtf8()).object();
    EXPECT_DOUBLE_EQ(wide["ccf"].toDouble(), 1.0);
    EXPECT_TRUE(wide["longestPauseMs"].isNull());
    EXPECT_EQ(wide["pauses"].toArray().size(), 0);
}

// The same rescue with the pads put on at 1000 ms, the analysis result at 5500 ms and the
// press-the-button prompt at 7000 ms: the pause from 5000 to 9000 ms is split at them.
TEST_F(CliCommands, CprExplainsTheHandsOffTimeByCause)
{
    DeviceFiles::DeviceFolder f = cprRescue();
    f.trend[0].events[2] = {7, 5500};
    f.trend[0].events[3] = {9, 7000};
    f.trend[0].pads[0] = {0, 1000, 1};
    const QString archive = runCli({"import", writeFolder("card", f), "--serial", "SN-7"}).out.trimmed();

    const CliRun run = runCli({"cpr", archive});

    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(o["beforeCpr"].toObject(),
              (QJsonObject{{"firstPadsOnMs", 1000}, {"firstAnalysisMs", 2000}, {"firstShockMs", 8520},
                           {"firstCompressionMs", 4000}}));
    EXPECT_TRUE(run.out.contains("\n  \"beforeCpr\": {\n    \"firstPadsOnMs\": 1000,\n")) << "one member a line";
    const QJsonObject handsOff = o["handsOff"].toObject();
    EXPECT_EQ(handsOff["totalMs"].toInt(), 4000);
    const QJsonObject byCause{{"untilAnalysisMs", 0}, {"analysisMs", 500},     {"chargeMs", 1500},
                              {"toShockMs", 1520},     {"afterShockMs", 480},  {"afterAnalysisMs", 0},
                              {"padsMs", 0},           {"breathsMs", 0},       {"otherMs", 0},
                              {"rhythmCheckMs", 0},    {"airwayMs", 0},        {"transportMs", 0}};
    EXPECT_EQ(handsOff["byCause"].toObject(), byCause);
    EXPECT_EQ(handsOff["share"].toObject().keys(), byCause.keys());
    EXPECT_DOUBLE_EQ(handsOff["share"].toObject()["chargeMs"].toDouble(), 0.375);

    const QJsonObject pause = o["pauses"].toArray()[0].toObject();
    const QJsonArray parts = pause["parts"].toArray();
    const QStringList causes = {"until-analysis", "analysis", "charge", "to-shock", "after-shock"};
    const QList<int> starts = {5000, 5000, 5500, 7000, 8520}, lengths = {0, 500, 1500, 1520, 480};
    ASSERT_EQ(parts.size(), causes.size());
    for (qsizetype i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(parts[i].toObject(), (QJsonObject{{"cause", causes[i]}, {"startMs", starts[i]},
                                                    {"lengthMs", lengths[i]}}));
    }
    EXPECT_EQ(pause["setByReviewer"], QJsonValue(false));
    const QJsonObject shock = o["shocks"].toArray()[0].toObject();
    EXPECT_EQ(shock["analysisMs"].toInt(), 500);
    EXPECT_EQ(shock["chargeMs"].toInt(), 1500);
    EXPECT_EQ(shock["toShockMs"].toInt(), 1520);
    EXPECT_EQ(shock["periShockPauseMs"].toInt(), 4000);

    // Without a pause nothing is shared out and no pause holds the shock.
    const QJsonObject wide =
        QJsonDocument::fromJson(runCli({"cpr", archive, "--pause-threshold", "5000"}).out.toUtf8()).object();
    EXPECT_EQ(wide["handsOff"].toObject()["totalMs"].toInt(), 0);
    EXPECT_TRUE(wide["handsOff"].toObject()["share"].toObject()["otherMs"].isNull());
    EXPECT_TRUE(wide["shocks"].toArray()[0].toObject()["periShockPauseMs"].isNull());

    // The reviewer's reading kept in the review file replaces the pause's parts, unless the
    // device's reading is asked for.
    QFile review(archive + ".review.json");
    ASSERT_TRUE(review.open(QIODevice::ReadOnly));
    QJsonObject marks = QJsonDocument::fromJson(review.readAll()).object();
    review.close();
    marks["version"] = 3;
    marks["pauseCauses"] = QJsonArray{QJsonObject{{"startMs", 5000}, {"cause", "rhythm-check"}}};
    ASSERT_TRUE(review.open(QIODevice::WriteOnly | QIODevice::Truncate));
    review.write(QJsonDocument(marks).toJson());
    review.close();
    for (const bool device : {false, true}) {
        const CliRun read = runCli(device ? QStringList{"cpr", archive, "--device-reading"} : QStringList{"cpr", archive});
        ASSERT_EQ(read.status, 0) << read.err.toStdString();
        const QJsonObject j = QJsonDocument::fromJson(read.out.toUtf8()).object();
        const QJsonObject p = j["pauses"].toArray()[0].toObject();
        EXPECT_EQ(p["setByReviewer"], QJsonValue(!device));
        EXPECT_EQ(p["parts"].toArray().size(), device ? 5 : 1);
        EXPECT_EQ(j["handsOff"].toObject()["byCause"].toObject()["rhythmCheckMs"].toInt(), device ? 0 : 4000);
    }
}

TEST_F(CliCommands, CprCsvIsTheTableOfMinutesWithEmptyFieldsForNone)
{
    DeviceFiles::DeviceFolder f = cprRescue();
    f.cprFeedback = {{50000, 50}, {50500, 55}, {51000, 60}, {125000, 45}};
    const QString archive = runCli({"import", writeFolder("card", f), "--serial", "SN-7"}).out.trimmed();

    // The depths in inches unless centimetres are asked for; the header names the unit.
    const std::pair<QStringList, const char *> cases[] = {
        {{}, "minute,compressions,ccf,meanRatePerMin,meanDepthIn\n"
             "0,3,0.1,120,2.2\n"
             "1,0,0,,\n"
             "2,1,0,,1.8\n"},
        {{"--depth-unit", "in"}, "minute,compressions,ccf,meanRatePerMin,meanDepthIn\n"
                                 "0,3,0.1,120,2.2\n"
                                 "1,0,0,,\n"
                                 "2,1,0,,1.8\n"},
        {{"--depth-unit", "cm"}, "minute,compressions,ccf,meanRatePerMin,meanDepthCm\n"
                                 "0,3,0.1,120,5.588000000000001\n"
                                 "1,0,0,,\n"
                                 "2,1,0,,4.572\n"},
    };
    for (const auto &[unit, expected] : cases) {
        const CliRun run = runCli(QStringList{"cpr", archive, "--format", "csv"} + unit);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, expected) << unit.join(' ').toStdString();
    }
    const CliRun feet = runCli({"cpr", archive, "--format", "csv", "--depth-unit", "ft"});
    EXPECT_EQ(feet.status, 1);
    EXPECT_TRUE(feet.err.contains("--depth-unit must be in or cm, not \"ft\"")) << feet.err.toStdString();
}

// The pauses and shocks tables hold what the JSON explains, in columns a spreadsheet can sum:
// a pause's causes add up to its length.
TEST_F(CliCommands, CprCsvTablesOfPausesAndShocksSplitTheHandsOffTime)
{
    DeviceFiles::DeviceFolder f = cprRescue();
    f.trend[0].events[2] = {7, 5500};
    f.trend[0].events[3] = {9, 7000};
    const QString archive = runCli({"import", writeFolder("card", f), "--serial", "SN-7"}).out.trimmed();

    const CliRun pauses = runCli({"cpr", archive, "--format", "csv", "--table", "pauses"});
    ASSERT_EQ(pauses.status, 0) << pauses.err.toStdString();
    EXPECT_EQ(pauses.out, "startMs,lengthMs,kind,untilAnalysisMs,analysisMs,chargeMs,toShockMs,afterShockMs,"
                          "afterAnalysisMs,padsMs,breathsMs,otherMs,rhythmCheckMs,airwayMs,transportMs,setByReviewer\n"
                          "5000,4000,peri-shock,0,500,1500,1520,480,0,0,0,0,0,0,0,false\n");

    const CliRun shocks = runCli({"cpr", archive, "--format", "csv", "--table", "shocks"});
    ASSERT_EQ(shocks.status, 0) << shocks.err.toStdString();
    EXPECT_EQ(shocks.out, "timeMs,analysisMs,chargeMs,toShockMs,preShockPauseMs,postShockPauseMs,periShockPauseMs\n"
                          "8520,500,1500,1520,3520,480,4000\n");

    // No pause holds the shock at a wider threshold: its steps are empty.
    EXPECT_EQ(runCli({"cpr", archive, "--format", "csv", "--table", "shocks", "--pause-threshold", "5000"}).out,
              "timeMs,analysisMs,chargeMs,toShockMs,preShockPauseMs,postShockPauseMs,periShockPauseMs\n"
              "8520,,,,,,\n");
    EXPECT_EQ(runCli({"cpr", archive, "--format", "csv", "--table", "minutes"}).out,
              runCli({"cpr", archive, "--format", "csv"}).out);
    for (const QStringList &bad : {QStringList{"cpr", archive, "--format", "csv", "--table", "beats"},
                                   QStringList{"cpr", archive, "--table", "pauses"}}) {
        const CliRun refused = runCli(bad);
        EXPECT_EQ(refused.status, 1) << bad.join(' ').toStdString();
        EXPECT_TRUE(refused.err.contains("--table")) << refused.err.toStdString();
    }
}

TEST_F(CliCommands, CprRefusesAnArchiveWithoutItsFeedbackFileAndBadOptions)
{
    const QString folder = writeFolder("card", cprRescue());
    const QString archive = runCli({"import", folder, "--serial", "SN-7"}).out.trimmed();
    ASSERT_TRUE(QFile::remove(folder + "/CPR Feedback.bin"));

    const CliRun missing = runCli({"cpr", archive});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "") << "no report of zero compressions";
    EXPECT_EQ(missing.err, "ravelin-cli cpr: no \"" + folder + "/CPR Feedback.bin\" beside the archive\n");

    const struct { QStringList arguments; QString error; } cases[] = {
        {{"--pause-threshold", "999"}, "--pause-threshold must be 1000 to 5000 ms"},
        {{"--pause-threshold", "5001"}, "--pause-threshold must be 1000 to 5000 ms"},
        {{"--pause-threshold", "2s"}, "--pause-threshold must be 1000 to 5000 ms"},
        {{"--format", "xml"}, "--format must be json or csv"},
        {{"--zone", "179"}, "--zone must be a row from 0 to 178"},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(QStringList{"cpr", archive} + c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("ravelin-cli cpr: " + c.error)) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
