// Where a file written on request may go: never over a file a case is read from, however
// the target is spelled, and (for an output) never over an archive.
#include "archive/OutputTarget.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using OutputTarget::Role;
using OutputTarget::Writes;

class OutputTargetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        archive = dir.write("case/A.aed", "archive");
        dir.write("case/cpr feedback.BIN", "feedback"); // found without regard to case
        dir.write("case/Audio Record.bin", "sound");
        dir.write("case/Q25 ECG Data.MIF", "ecg");
        dir.write("case/notes.txt", "notes");
        dir.write("out/existing.pdf", "pdf");
        ASSERT_TRUE(QFile::link(dir.file("case"), dir.file("case-link")));
        ASSERT_TRUE(QFile::link(archive, dir.file("out/link.pdf")));
        ASSERT_TRUE(QFile::link(dir.file("case/Audio Record.wav"), dir.file("out/dangling.wav")));
        ASSERT_EQ(::link(QFile::encodeName(archive).constData(), QFile::encodeName(dir.file("out/hard.pdf")).constData()),
                  0);
        inputs.archives << archive;
    }

    TempDir dir;
    QString archive;
    OutputInputs inputs;
};

TEST_F(OutputTargetTest, AFileACaseIsReadFromIsRefusedHoweverItIsSpelled)
{
    const struct
    {
        const char *target;
        Role role;
        const char *file; // the name of the protected file named
    } cases[] = {
        {"case/A.aed", Role::Archive, "A.aed"},
        {"out/../case/./A.aed", Role::Archive, "A.aed"},
        {"out/link.pdf", Role::Archive, "A.aed"},
        {"out/hard.pdf", Role::Archive, "A.aed"},
        {"case/A.aed.review.json", Role::ReviewFile, "A.aed.review.json"},
        {"out/../case-link/A.AED.review.json", Role::ReviewFile, "A.aed.review.json"},
        {"case/CPR Feedback.bin", Role::CprData, "cpr feedback.BIN"},
        {"case/Audio Record.bin", Role::AudioRecord, "Audio Record.bin"},
        {"case/Audio Record.wav", Role::AudioWave, "Audio Record.wav"},
        {"out/dangling.wav", Role::AudioWave, "Audio Record.wav"},
        {"case/Q25 ECG Data.MIF", Role::DeviceFile, "Q25 ECG Data.MIF"},
        {"case/q21 temp data.mif", Role::DeviceFile, "Q21 Temp Data.MIF"},
        {"case-link/Q26 CT Data.MIF", Role::DeviceFile, "Q26 CT Data.MIF"},
        {"out/other.aed", Role::AnyArchive, "other.aed"},
        {"out/OTHER.AED", Role::AnyArchive, "OTHER.AED"},
        {"out/other.aed.review.json", Role::AnyReviewFile, "other.aed.review.json"},
        {"out/report.pdf", Role::None, ""},
        {"out/existing.pdf", Role::None, ""},
        {"out/CPR Feedback.bin", Role::None, ""},
        {"case/notes.txt", Role::None, ""},
        {"case/A.pdf", Role::None, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.target);
        const OutputTarget::Clash clash = OutputTarget::clashOf(dir.file(c.target), inputs);
        EXPECT_EQ(clash.role, c.role);
        EXPECT_EQ(QFileInfo(clash.file).fileName(), QString::fromUtf8(c.file));
    }
}

TEST_F(OutputTargetTest, AnArchiveWriterMayReplaceAnotherArchiveButNoInput)
{
    EXPECT_EQ(OutputTarget::clashOf(dir.file("out/other.aed"), inputs, Writes::Archive).role, Role::None);
    EXPECT_EQ(OutputTarget::clashOf(dir.file("out/other.aed.review.json"), inputs, Writes::Archive).role,
              Role::AnyReviewFile);
    EXPECT_EQ(OutputTarget::clashOf(archive, inputs, Writes::Archive).role, Role::Archive);

    OutputInputs card;
    card.deviceFolders << dir.file("case");
    EXPECT_EQ(OutputTarget::clashOf(dir.file("case/Q21 CT Data.MIF"), card, Writes::Archive).role, Role::DeviceFile);
    EXPECT_EQ(OutputTarget::clashOf(dir.file("case/CPR Feedback.bin"), card, Writes::Archive).role, Role::CprData);
    EXPECT_EQ(OutputTarget::clashOf(dir.file("case/B.aed"), card, Writes::Archive).role, Role::None);
}

TEST_F(OutputTargetTest, TheRefusalNamesTheTargetAndWhatItIs)
{
    EXPECT_EQ(OutputTarget::refusal(dir.file("out/link.pdf"), inputs),
              "\"" + dir.file("out/link.pdf") + "\" is the archive being read; nothing was written over it. "
                                                  "Choose another file.");
    EXPECT_TRUE(OutputTarget::refusal(dir.file("case/CPR Feedback.bin"), inputs).contains("the case's CPR data file"));
    EXPECT_EQ(OutputTarget::refusal(dir.file("out/report.pdf"), inputs), "");
}

} // namespace
