// The window's export commands over the scripted platform: where the save dialog starts,
// what is written, and that a failed write leaves a message and no file.
#include "archive/OutputTarget.h"
#include "case/CaseViewFixture.h"
#include "export/ExportFlow.h"
#include "export/ExportText.h"
#include "support/ScratchMount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class ExportFlowTest : public ::testing::Test, public CaseViewFixture
{
protected:
    int rescueFrom(const QString &archive)
    {
        DeviceFiles::DeviceFolder f = emptyFolder();
        f.ecgRaw.assign(300, 12);
        const int slot = decodeCase(f);
        view.store.at(slot).sourcePath = archive;
        return slot;
    }
};

TEST_F(ExportFlowTest, TheSaveDialogStartsBesideTheArchiveAndTheFileIsWritten)
{
    const int slot = rescueFrom(dir.file(QStringLiteral("cases/rescue 7.aed")));
    const QString target = dir.file(QStringLiteral("out.edf"));
    platform.savePaths.push_back(target);

    ASSERT_TRUE(ExportFlow(view).run(slot, ExportKind::Edf));

    ASSERT_EQ(platform.saveRequests.size(), 1);
    EXPECT_EQ(platform.saveRequests[0].folder, dir.file(QStringLiteral("cases/rescue 7.edf")));
    EXPECT_TRUE(platform.saveRequests[0].filter.startsWith(QStringLiteral("EDF+ (*.edf)")));
    EXPECT_EQ(platform.saveRequests[0].defaultSuffix, QStringLiteral("edf"));
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(8), QByteArray("0       "));
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(platform.progressEnds, 1);
    EXPECT_FALSE(platform.progressOpen);
    EXPECT_EQ(platform.progressPositions.value(platform.progressPositions.size() - 1), 10000);

    platform.savePaths.push_back(dir.file(QStringLiteral("events.csv")));
    ASSERT_TRUE(ExportFlow(view).run(slot, ExportKind::EventsCsv));
    EXPECT_EQ(platform.saveRequests[1].folder, dir.file(QStringLiteral("cases/rescue 7-events.csv")));
}

TEST_F(ExportFlowTest, TheOpenArchiveIsRefusedAndTheDialogComesAgain)
{
    const QString archive = dir.write(QStringLiteral("cases/rescue.aed"), "the reviewed archive");
    const int slot = rescueFrom(archive);
    const QString target = dir.file(QStringLiteral("cases/rescue.edf"));
    platform.savePaths = {archive, target};

    ASSERT_TRUE(ExportFlow(view).run(slot, ExportKind::Edf));

    EXPECT_EQ(dir.read(QStringLiteral("cases/rescue.aed")), QByteArray("the reviewed archive"));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, OutputTarget::refusalText(archive, OutputTarget::Role::Archive));
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop);
    EXPECT_EQ(platform.saveRequests.size(), 2);
    EXPECT_EQ(platform.progressCaptions.size(), 1) << "nothing was laid out for the refused file";
    EXPECT_TRUE(QFileInfo::exists(target));
}

TEST_F(ExportFlowTest, AWriteThatFailsNamesTheFileAndLeavesNothingBehind)
{
    const int slot = rescueFrom(dir.file(QStringLiteral("rescue.aed")));
    ReadOnlyFolder locked([](const QString &) {});
    if (!locked.isLocked())
        GTEST_SKIP() << ReadOnlyFolder::skipReason().toStdString();
    const QString folder = locked.path();
    const QString target = folder + QStringLiteral("/out.edf");
    platform.savePaths.push_back(target);

    EXPECT_FALSE(ExportFlow(view).run(slot, ExportKind::Edf));

    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(QDir::toNativeSeparators(target))) << platform.messages[0].text.toStdString();
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop);
    EXPECT_FALSE(platform.progressOpen);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(ExportFlowTest, ACaseWithNothingOfTheKindIsToldBeforeAnyDialog)
{
    const int slot = decodeCase(emptyFolder());
    EXPECT_FALSE(ExportFlow(view).run(slot, ExportKind::Edf));
    EXPECT_FALSE(ExportFlow(view).run(slot, ExportKind::CompressionsCsv));
    EXPECT_TRUE(platform.saveRequests.isEmpty());
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(platform.messages[0].text, texts.GetText(ExportText::NoEcg));
    EXPECT_EQ(platform.messages[1].text, texts.GetText(ExportText::NoCprFeedback));
}

} // namespace
