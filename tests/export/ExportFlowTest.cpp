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

// The form before the save dialog: its boxes by kind, what they change, and the hook that
// hears of each file written.
TEST_F(ExportFlowTest, TheOptionsFormDecidesWhatIsWrittenAndTheHookHearsOfIt)
{
    const int slot = rescueFrom(dir.file(QStringLiteral("cases/Rossi Mario 2021-03-07.aed")));
    CaseRecord &c = *view.store.caseAt(slot);
    c.lastName = QStringLiteral("Rossi");
    c.cprFeedback = {{400, 55}};
    view.store.at(slot).hasCprFeedback = true;
    QList<std::tuple<ExportKind, bool, QString>> heard;
    ExportFlow flow(view);
    flow.onExported = [&](ExportKind kind, bool anonymised, const QString &path) { heard.append({kind, anonymised, path}); };

    const QString anonymise = QString::fromLatin1(ExportOptionText::Anonymise);
    const QString compressions = QString::fromLatin1(ExportOptionText::WithCompressions);
    const struct {
        ExportKind kind;
        QList<bool> ticked;
        QStringList boxes;       // offered, in order
        const char *suggested;   // the save dialog's start, beside the archive
        QList<QByteArray> holds; // in the file written
    } exports[] = {
        {ExportKind::Edf, {true, true}, {anonymise, compressions}, "cases/anonymised.edf", {"X X X X", "Startdate X X X X", "Compression"}},
        {ExportKind::Edf, {false, false}, {anonymise, compressions}, "cases/Rossi Mario 2021-03-07.edf", {"Rossi", "SN-0042"}},
        {ExportKind::EventsCsv, {true}, {anonymise}, "cases/anonymised-events.csv", {"0,,Power on.,"}},
        {ExportKind::CompressionsCsv, {true}, {anonymise}, "cases/anonymised-compressions.csv", {"400,55,"}},
    };
    for (const auto &e : exports) {
        platform.optionForms.clear();
        platform.saveRequests.clear();
        platform.optionsScript = [&e](QList<Platform::Option> &options) {
            for (qsizetype i = 0; i < options.size(); ++i)
                options[i].checked = e.ticked.value(i);
            return true;
        };
        const QString name = QStringLiteral("out%1").arg(heard.size());
        const QString target = dir.file(name);
        platform.savePaths = {target};
        ASSERT_TRUE(flow.run(slot, e.kind));

        ASSERT_EQ(platform.optionForms.size(), 1);
        EXPECT_EQ(platform.optionForms[0].caption, texts.GetText(ExportText::ExportMenu));
        QStringList offered;
        for (const Platform::Option &o : platform.optionForms[0].options) {
            offered << o.label;
            EXPECT_FALSE(o.checked) << "nothing is ticked before the reviewer ticks it";
        }
        EXPECT_EQ(offered, e.boxes);
        ASSERT_EQ(platform.saveRequests.size(), 1);
        EXPECT_EQ(platform.saveRequests[0].folder, dir.file(QLatin1String(e.suggested)));
        const QByteArray written = dir.read(name);
        for (const QByteArray &text : e.holds)
            EXPECT_TRUE(written.contains(text)) << e.suggested << ": " << text.constData();
        ASSERT_FALSE(heard.isEmpty());
        EXPECT_EQ(heard.back(), std::make_tuple(e.kind, e.ticked.value(0), target));
    }
    EXPECT_EQ(heard.size(), qsizetype(std::size(exports)));
}

TEST_F(ExportFlowTest, ACancelledOptionsFormAsksNothingMoreAndWritesNothing)
{
    const int slot = rescueFrom(dir.file(QStringLiteral("rescue.aed")));
    platform.optionsScript = [](QList<Platform::Option> &options) {
        options[0].checked = true;
        return false;
    };
    platform.savePaths = {dir.file(QStringLiteral("out.edf"))};
    bool heard = false;
    ExportFlow flow(view);
    flow.onExported = [&](ExportKind, bool, const QString &) { heard = true; };

    EXPECT_FALSE(flow.run(slot, ExportKind::Edf));
    EXPECT_EQ(platform.optionForms.size(), 1);
    EXPECT_TRUE(platform.saveRequests.isEmpty());
    EXPECT_TRUE(platform.progressCaptions.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("out.edf"))));
    EXPECT_FALSE(heard);
}

} // namespace
