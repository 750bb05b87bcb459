// Every file a command writes on request, pointed at what the case is read from: refused with
// a message naming it, every byte left as it was; an existing other file is replaced only
// with --overwrite.
#include "support/FileHashes.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "CliRescue.h"
#include "CliRun.h"

namespace {

// One output option of one command: the arguments before the target.
struct OutputOption
{
    const char *name;
    QStringList before; // "ARCHIVE" and "FOLDER" stand for the fixture's archive and device folder
    bool import = false; // writes an archive from the device folder, not an output of the archive
};

void PrintTo(const OutputOption &option, std::ostream *out) { *out << option.name; }

class CliOutputTarget : public ::testing::TestWithParam<OutputOption>
{
protected:
    void SetUp() override
    {
        folder = dir.file("card");
        cliRescue().write(folder);
        archive = folder + "/Q25_0905(2021-03-07).aed";
        const CliRun import = runCli({"import", folder, "--serial", "SN-7", "--out", archive});
        ASSERT_EQ(import.status, 0) << import.err.toStdString();
        dir.write("out/other.aed", "another case's archive");
        ASSERT_TRUE(QFile::link(archive, dir.file("out/link.pdf")));
    }

    CliRun write(const QString &target, bool overwrite) const
    {
        QStringList arguments;
        for (const QString &a : GetParam().before)
            arguments << (a == "ARCHIVE" ? archive : a == "FOLDER" ? folder : a);
        arguments << target;
        if (overwrite)
            arguments << "--overwrite";
        return runCli(arguments);
    }

    QMap<QString, QByteArray> everything() const
    {
        QMap<QString, QByteArray> all;
        for (const char *sub : {"card", "out"}) {
            const auto files = fileHashesIn(dir.file(sub));
            for (auto it = files.begin(); it != files.end(); ++it)
                all.insert(QString::fromLatin1(sub) + "/" + it.key(), it.value());
        }
        return all;
    }

    TempDir dir;
    QString folder;
    QString archive;
};

TEST_P(CliOutputTarget, AFileTheCaseIsReadFromIsNeverReplaced)
{
    const struct
    {
        QString target;
        bool overwrite;
        const char *says;       // what the refusal says the target is
        const char *importSays; // the same for the import's archive; nullptr: it is written
    } cases[] = {
        {archive, true, "is the archive being read", "exists already"},
        {folder + "/CPR Feedback.bin", true, "is the case's CPR data file", "is the case's CPR data file"},
        {folder + "/Q25 ECG Data.MIF", true, "is a device file of the case's folder",
         "is a device file of the case's folder"},
        {dir.file("out/link.pdf"), true, "is the archive being read", "exists already"},
        {dir.file("out/../card/Q25_0905(2021-03-07).aed.review.json"), true,
         "is the review file of the archive being read", "is the review file of an archive"},
        {dir.file("out/other.aed"), true, "is an archive", nullptr},
    };
    for (const auto &c : cases) {
        const char *says = GetParam().import ? c.importSays : c.says;
        if (!says)
            continue;
        SCOPED_TRACE(c.target.toStdString());
        const auto before = everything();

        const CliRun run = write(c.target, c.overwrite && !GetParam().import);

        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.contains("\"" + c.target + "\" " + says)) << run.err.toStdString();
        EXPECT_EQ(everything(), before);
    }
    EXPECT_TRUE(QFileInfo(dir.file("out/link.pdf")).isSymLink());
}

TEST_P(CliOutputTarget, AnExistingOtherFileIsReplacedOnlyWithOverwrite)
{
    const QString kept = dir.write("out/kept.txt", "keep me");
    const auto before = everything();

    const CliRun refused = write(kept, false);

    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("\"" + kept + "\" exists already")) << refused.err.toStdString();
    EXPECT_EQ(everything(), before);

    const CliRun replaced = write(kept, true);

    EXPECT_EQ(replaced.status, 0) << replaced.err.toStdString();
    EXPECT_NE(dir.read("out/kept.txt"), QByteArray("keep me"));
    EXPECT_FALSE(dir.read("out/kept.txt").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryOutput, CliOutputTarget,
    ::testing::Values(OutputOption{"cpr_pdf", {"cpr", "ARCHIVE", "--pdf"}},
                      OutputOption{"render", {"render", "ARCHIVE", "--view", "entire", "--at", "0", "--size", "320x200", "-o"}},
                      OutputOption{"log", {"log", "ARCHIVE", "-o"}},
                      OutputOption{"print", {"print", "ARCHIVE", "--segment", "0-2000", "-o"}},
                      OutputOption{"export_edf", {"export", "ARCHIVE", "--edf"}},
                      OutputOption{"export_events", {"export", "ARCHIVE", "--events-csv"}},
                      OutputOption{"export_compressions", {"export", "ARCHIVE", "--compressions-csv"}},
                      OutputOption{"export_pauses", {"export", "ARCHIVE", "--pauses-csv"}},
                      OutputOption{"export_minutes", {"export", "ARCHIVE", "--per-minute-csv"}},
                      OutputOption{"import", {"import", "FOLDER", "--serial", "SN-7", "--out"}, true}),
    [](const ::testing::TestParamInfo<OutputOption> &option) { return std::string(option.param.name); });

} // namespace
