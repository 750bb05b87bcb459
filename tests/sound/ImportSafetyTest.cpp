// An import never destroys what it reads or must keep: the archive never goes over a file
// of the device folder, a device file is erased only while it is what the archive holds,
// a cut record is kept whole-records-first and reported, and odd archive values stay
// defined behaviour.
#include "archive/OpenFlowFixture.h"

#include "archive/AedArchiveReader.h"
#include "device/AudioRecordFile.h"
#include "sound/RecordedSound.h"
#include "device/CprFeedbackFile.h"
#include "archive/ImportChecks.h"
#include "archive/MifImport.h"
#include "case/ReviewFile.h"
#include "sound/WaveFile.h"
#include "support/FileHashes.h"
#include "support/Packs.h"
#include "support/ScratchMount.h"

#include <limits>

using DeviceFiles::Model;

namespace {

const QString Q25Name = QStringLiteral("Q25_0905(2021-03-07).aed");

void appendByte(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::Append);
    f.write("!");
}

} // namespace

class ImportSafety : public OpenFlowFixture
{
protected:
    // An import of a Q25 folder with its Temp file, as "Load MIF File" starts it.
    MifImport importOf(const QString &folder)
    {
        view.state.mifFolderPath = folder;
        view.state.deviceModel = ModelQ25;
        view.store.setTempFilePresent(view.store.nextCaseSlot(), 1);
        return MifImport(view);
    }

    // The import of folder up to the archive written at path, as the Open command runs it
    // until the archive is to be reopened.
    MifImport convert(const QString &folder, const QString &path)
    {
        MifImport import = importOf(folder);
        const int slot = import.DecodeFolder();
        EXPECT_GE(slot, 0);
        EXPECT_TRUE(import.WriteArchive(slot, path));
        return import;
    }
};

TEST_F(ImportSafety, TheArchiveIsNeverWrittenOverAFileOfTheDeviceFolder)
{
    const QString folder = writeFolder("card");
    ASSERT_TRUE(QFile::link(folder + "/Q25 ECG Data.MIF", dir.file("ecg-link.aed")));
    const QString targets[] = {
        folder + "/Q25 CT Data.MIF", folder + "/Q25 ECG Data.MIF", folder + "/Q25 HR Data.MIF",
        folder + "/Q25 Trend Data.MIF", folder + "/Q25 Temp Data.MIF", folder + "/CPR Feedback.bin",
        folder + "/Audio Record.bin",
        folder + "/Audio Record.wav",               // not there yet: made at the first open
        dir.path() + "/card/../card/Q25 HR Data.MIF", // another spelling
        dir.file("ecg-link.aed"),                   // a link to a device file
    };
    const auto before = fileHashesIn(folder);
    for (const QString &target : targets) {
        platform.messages.clear();
        scriptLoadMif(folder);
        platform.savePaths.push_back(target);

        OpenFlow(view).OnOpenRequest();

        ASSERT_EQ(platform.messages.size(), 1) << target.toStdString();
        EXPECT_EQ(platform.messages[0].text, ImportChecks::protectedTargetText(target));
        EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop);
        EXPECT_EQ(fileHashesIn(folder), before) << target.toStdString() << ": nothing changed";
        EXPECT_EQ(openCaseCount(), 0);
    }
    EXPECT_TRUE(QFileInfo(dir.file("ecg-link.aed")).isSymLink());

    // Beside the device files under its own name it is written as always.
    scriptLoadMif(folder);
    platform.savePaths.push_back(folder + "/" + Q25Name);
    OpenFlow(view).OnOpenRequest();
    EXPECT_EQ(openCaseCount(), 1);
}

TEST_F(ImportSafety, ADeviceFileThatChangesBetweenTheTwoReadsStopsTheImport)
{
    const QString folder = writeFolder("card");
    for (const char *kind : {"CT", "ECG", "HR", "Trend"}) {
        platform.messages.clear();
        const QString changed = mifPath(folder, Model::Q25, kind);
        MifImport import = importOf(folder);
        import.betweenReads = [&] { appendByte(changed); };

        EXPECT_EQ(import.DecodeFolder(), -1) << kind;

        EXPECT_EQ(platform.texts(), QStringList{ImportChecks::changedWhileReadText(changed, Packs::builtInEnglish())}) << kind;
        EXPECT_EQ(openCaseCount(), 0) << kind;
    }
}

TEST_F(ImportSafety, OnlyFilesThatAreStillWhatTheArchiveHoldsAreErased)
{
    const struct { const char *kind; bool erased; } files[] = {
        {"CT", true}, {"ECG", false}, {"HR", true}, {"Trend", true}, {"Temp", false},
    };
    const QString folder = writeFolder("card");
    const QString archive = folder + "/" + Q25Name;
    MifImport import = convert(folder, archive);
    appendByte(mifPath(folder, Model::Q25, "ECG"));
    QFile::remove(mifPath(folder, Model::Q25, "Temp"));
    dir.write("card/Q25 Temp Data.MIF", "a new recording");

    EXPECT_EQ(OpenFlow(view).OpenArchive(archive, view.state.timeZoneChoice, &import.conversion()),
              OpenFlow::Outcome::Opened);

    for (const auto &f : files)
        EXPECT_EQ(QFileInfo::exists(mifPath(folder, Model::Q25, f.kind)), !f.erased) << f.kind;
    const QStringList kept{mifPath(folder, Model::Q25, "ECG"), mifPath(folder, Model::Q25, "Temp")};
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.endsWith(ImportChecks::keptChangedText(kept, Packs::builtInEnglish())));
    EXPECT_FALSE(platform.messages[0].text.contains(view.GetText(170))) << "not everything was erased";
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning);
}

TEST_F(ImportSafety, DeviceFilesThatEndInACutRecordImportWithAWarning)
{
    DeviceFiles::DeviceFolder f = rescue();
    const QString folder = writeFolder("card", f);
    const struct { const char *kind; qsizetype leftOver; } cuts[] = {
        {"ECG", 3}, {"HR", 7}, {"Temp", 7}, {"Trend", 2667},
    };
    for (const auto &c : cuts) {
        QFile file(mifPath(folder, Model::Q25, c.kind));
        file.resize(file.size() - 1); // one byte short
    }
    const auto before = fileHashesIn(folder);
    MifImport import = importOf(folder);

    const int slot = import.DecodeFolder();

    ASSERT_GE(slot, 0) << "the import goes on";
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning);
    for (const auto &c : cuts)
        EXPECT_TRUE(platform.messages[0].text.contains(
            QStringLiteral("%1: %2 bytes").arg(mifPath(folder, Model::Q25, c.kind)).arg(c.leftOver)))
            << c.kind << ": " << platform.messages[0].text.toStdString();
    ASSERT_TRUE(import.WriteArchive(slot, dir.file("cut.aed")));
    const int read = view.store.AllocateCaseSlot(QString());
    ReadAedArchive(view.store, dir.file("cut.aed"), read, view.state.timeZoneChoice);
    EXPECT_EQ(view.store.at(read).fileSet->hrSize(), uint32_t(f.heartRate.size() * 8 - 1)) << "the bytes are kept";
    EXPECT_EQ(fileHashesIn(folder), before);
}

TEST_F(ImportSafety, LeftOverBytesOfEachKind)
{
    const struct { qsizetype size, head, record, leftOver; } cases[] = {
        {0, 12, 4, 0}, {5, 12, 4, 5}, {12, 12, 4, 0}, {15, 12, 4, 3}, {16, 12, 4, 0},
        {7, 0, 8, 7}, {16, 0, 8, 0}, {2668 * 2 - 1, 0, 2668, 2667},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ImportChecks::leftOverBytes(c.size, c.head, c.record), c.leftOver) << c.size << " " << c.record;
}

TEST_F(ImportSafety, ACutCprFeedbackFileKeepsEveryWholeRecordAndSaysSoOnce)
{
    const QString archive = makeArchive(dir.file("case.aed"));
    const struct { qsizetype size; size_t kept; } cases[] = {{1, 0}, {4, 0}, {9, 1}, {8 * 3 + 4, 3}};
    for (const auto &c : cases) {
        QByteArray bytes;
        for (qsizetype i = 0; i < c.size; ++i)
            bytes.append(char(i % 8 == 0 ? 10 : 0));
        const QString path = dir.write("CPR Feedback.bin", bytes);
        CloseAllCases(view); // an archive open already would only be shown
        QFile::remove(ReviewFile::pathFor(archive)); // which binds the file of the last round
        platform.messages.clear();

        ASSERT_TRUE(openArchiveFile(view, archive)) << c.size;

        const int slot = view.store.slotCount() - 1;
        EXPECT_TRUE(view.store.at(slot).hasCprFeedback) << c.size;
        EXPECT_EQ(view.store.caseAt(slot)->cprFeedback.size(), c.kept) << c.size;
        ASSERT_EQ(platform.messages.size(), 1) << c.size;
        EXPECT_EQ(platform.messages[0].text,
                  CprFeedbackFile::partialRecordText(path, c.kept, c.size - qsizetype(c.kept) * 8));
        EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning);
    }
}

TEST_F(ImportSafety, StartTimesOutsideTheCenturyAreAnInvalidStart)
{
    const struct { int64_t seconds; bool valid; } cases[] = {
        {std::numeric_limits<int64_t>::max(), false}, {std::numeric_limits<int64_t>::min(), false},
        {-1, false}, {4102444800, false}, {4102444799, true}, {1615104300, true},
    };
    for (const auto &c : cases) {
        CaseRecord record;
        CC8Class files;
        AedArchiveLayout layout;
        layout.startTime = CTime(c.seconds);
        layout.withTrailer = true;
        layout.startTimeValid = true;
        const QString path = dir.write("start.aed", EncodeAedArchive(record, files, layout));
        view.state.timeZoneChoice = uint16_t(zoneRowNamed("Wellington(New Zealand) UTC+12:00"));
        CloseAllCases(view);

        ASSERT_TRUE(openArchiveFile(view, path)) << c.seconds;

        const CaseRecord &opened = *view.store.caseAt(view.store.slotCount() - 1);
        EXPECT_EQ(opened.startTimeValid, c.valid) << c.seconds;
        EXPECT_EQ(opened.deviceStartTime.GetTime(), c.seconds) << "kept for the next save";
        EXPECT_EQ(opened.startTime.GetTime(), c.valid ? c.seconds + 3 * 3600 : 0) << c.seconds;
        EXPECT_EQ(tree.itemText(opened.caseItem).startsWith("????"), !c.valid) << c.seconds;
    }
}

TEST_F(ImportSafety, AnnotationsBeyondTheEventTableAreCountedAndNamed)
{
    CaseRecord record;
    CC8Class files;
    std::vector<EventItem> notes;
    for (int i = 0; i < MaxEvents + 5; ++i)
        notes.push_back(EventItem::make(i, QStringLiteral("A: %1").arg(i), QString()));
    AedArchiveLayout layout;
    layout.startTime = CTime(1615104300);
    for (const EventItem &e : notes)
        layout.annotations.push_back(&e);
    const QString path = dir.write("crowded.aed", EncodeAedArchive(record, files, layout));

    ASSERT_TRUE(openArchiveFile(view, path));

    const CaseRecord &c = *view.store.caseAt(0);
    const int kept = MaxEvents - 1; // "Power on." came first
    EXPECT_EQ(c.events.usedCount(), MaxEvents);
    EXPECT_EQ(c.savedAnnotationCount, kept);
    EXPECT_FALSE(c.hasUnsavedChanges());
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.startsWith(path + " holds 50005 annotations"))
        << platform.messages[0].text.toStdString();
    EXPECT_TRUE(platform.messages[0].text.contains(": 6 annotations were left out"));
}

TEST_F(ImportSafety, AnArchiveOpensWhereNothingCanBeWritten)
{
    const QByteArray samples = QByteArray::fromHex("7f8081827e") + QByteArray(16000, char(0x90));
    DeviceFiles::DeviceFolder f = rescue();
    f.audioSamples = samples;
    ReadOnlyFolder folder([&](const QString &path) {
        f.write(path);
        makeArchive(path + "/" + Q25Name, f);
    });
    if (!folder.isLocked())
        GTEST_SKIP() << ReadOnlyFolder::skipReason().toStdString();
    const QString wav = folder.path() + "/Audio Record.wav";

    ASSERT_TRUE(openArchiveFile(view, folder.path() + "/" + Q25Name));

    EXPECT_TRUE(view.store.at(0).hasCprFeedback);
    EXPECT_TRUE(view.store.at(0).hasAudio);
    EXPECT_EQ(view.store.at(0).audioDurationSec, 1);
    EXPECT_FALSE(QFileInfo::exists(wav));
    // The review lock cannot be made there either: the case opens for editing, with a warning.
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning);
    EXPECT_TRUE(platform.messages[0].text.contains("another reviewer may change it at the same time"));
    EXPECT_FALSE(view.isReadOnly(0));
    EXPECT_EQ(platform.messages[1].icon, Platform::Icon::Warning);
    EXPECT_TRUE(platform.messages[1].text.startsWith(wav + " cannot be created.\n"))
        << platform.messages[1].text.toStdString();
    EXPECT_TRUE(platform.messages[1].text.endsWith("The sound is played from " + folder.path() + "/Audio Record.bin."));

    // Playback takes the samples straight from the record.
    WaveSound sound;
    ASSERT_TRUE(LoadRecordedSound(view.store.at(0).audioRecordPath, sound));
    EXPECT_EQ(sound.samples, samples);
    EXPECT_EQ(sound.format.samplesPerSec, 16000u);
    EXPECT_EQ(sound.format.bitsPerSample, 8);
}
