// "ravelin-cli import", "events" and "info", run as their users run them: the built
// program, its exit status, and what it writes to stdout and stderr.
#include "archive/AedArchiveWriter.h"
#include "case/CRavelinView.h"
#include "case/EventText.h"
#include "case/MemoryTreeControl.h"
#include "case/TimeZoneTable.h"
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
        "audioStartMs", "audioDurationSec"};
    qsizetype at = 0;
    for (const QString &key : order) {
        const qsizetype found = run.out.indexOf("\n  \"" + key + "\": ");
        EXPECT_GT(found, at) << key.toStdString();
        at = found;
    }

    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_EQ(o.size(), order.size());
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
    const int slot = view.CreateCaseFromMif();
    CaseRecord &c = *view.caseAt(slot);
    c.buildState = CaseListBuilt;
    c.lastName = "Ünal\\Smith";
    c.comments = "line one\nline two\ttab";
    view.AddEvent(slot, 2500, "A: second", "body \"quoted\"");
    view.AddEvent(slot, 1200, "A: first", "");
    view.AddEvent(slot, 1300, "not an annotation", "");
    const QString archive = dir.file("saved.aed");
    WriteAedArchive(view, slot, archive, AedArchiveVariant::Save);

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

} // namespace
