// A case is one sealed unit: its recording ID, the review file that names it, and the CPR data and
// sound files bound to it. Every reader (the program's open, the reading path that ravelin-cli and
// the case library take) credits a folder's companion files only to their own recording, and a
// review file of another recording, or a damaged one, is never applied nor overwritten.
#include "archive/AedArchive.h"
#include "archive/AedArchiveReader.h"
#include "archive/CaseCompanions.h"
#include "archive/OpenFlowFixture.h"
#include "archive/RecordingId.h"
#include "base/BinaryReader.h"
#include "base/FileSha256.h"
#include "case/ReviewFile.h"
#include "support/FileHashes.h"

#include <QDirIterator>

namespace {

using DeviceFiles::DeviceFolder;

QString recordingIdOf(const QString &archive)
{
    BinaryReader in = BinaryReader::streamFile(archive);
    return ParseAedArchive(in).recordingId;
}

// Review files moved aside beside archive.
QStringList movedAside(const QString &archive)
{
    const QFileInfo info(archive);
    return info.dir().entryList({info.fileName() + ".review.*-*.json"}, QDir::Files);
}

class SealedCase : public OpenFlowFixture
{
protected:
    // Another rescue: other ECG samples and other CPR data and sound.
    static DeviceFolder otherRescue()
    {
        DeviceFolder f = rescue();
        f.ecgRaw = std::vector<int32_t>(500, 7);
        f.cprFeedback = {{5000, 60}};
        f.audioSamples = QByteArray(32000, char(0x40));
        return f;
    }

    // A folder holding the device files of f and an archive of f at each of archives.
    QString folderWith(const QString &name, const DeviceFolder &f, const QStringList &archives)
    {
        const QString folder = writeFolder(name, f);
        for (const QString &archive : archives)
            makeArchive(folder + "/" + archive, f);
        return folder;
    }

    // Binds the companion files beside archive to its recording as an import does.
    static void bind(const QString &archive)
    {
        QStringList notes;
        BindArchiveCompanions(archive, notes);
    }

    // Opens archive for review (the program) or for reading (ravelin-cli, the case library).
    int open(const QString &archive, bool review)
    {
        OpenFlow flow(view, review ? OpenWrites() : OpenWrites::none());
        flow.OpenArchiveFile(archive);
        return flow.openedSlot();
    }
};

TEST_F(SealedCase, RecordingIdIsTheDeviceDataWhateverThePatientFieldsOrAnnotations)
{
    const QString a = makeArchive(dir.file("a.aed"));
    const QString other = makeArchive(dir.file("other.aed"), otherRescue());
    ASSERT_TRUE(FileSha256::isDigest(recordingIdOf(a)));
    EXPECT_NE(recordingIdOf(a), recordingIdOf(other));

    // A saved copy with patient fields and an annotation is the same recording.
    const int slot = open(a, true);
    ASSERT_GE(slot, 0);
    view.store.caseAt(slot)->lastName = "Rossi";
    view.store.caseAt(slot)->comments = AedArchive::tempMarker(); // makes the save write an empty Temp section
    view.store.AddEvent(slot, 1000, "A: note", "body");
    WriteAedArchive(view.store, slot, dir.file("copy.aed"), AedArchiveVariant::Save);
    EXPECT_EQ(recordingIdOf(dir.file("copy.aed")), recordingIdOf(a));
    EXPECT_EQ(view.store.at(slot).recordingId, recordingIdOf(a));
}

// What each reader credits, says and moves aside, folder by folder.
TEST_F(SealedCase, CompanionFilesGoOnlyToTheirOwnRecording)
{
    const QString otherId = recordingIdOf(makeArchive(dir.file("elsewhere.aed"), otherRescue()));
    const struct Case
    {
        const char *name;
        std::function<QString(const QString &folder)> make; // returns the archive to open
        bool credited;
        const char *message;   // part of the one message, "" for none
        bool reviewMovedAside; // by the program's open (a reading never moves anything)
    } cases[] = {
        {"one archive with its device files", [this](const QString &f) { return folderWith(f, rescue(), {"a.aed"}) + "/a.aed"; },
         true, "", false},
        {"two archives and one set: the bound one",
         [this](const QString &f) {
             const QString folder = folderWith(f, rescue(), {"a.aed"});
             bind(folder + "/a.aed");
             makeArchive(folder + "/b.aed", otherRescue());
             return folder + "/a.aed";
         },
         true, "", false},
        {"two archives and one set: the other one",
         [this](const QString &f) {
             const QString folder = folderWith(f, rescue(), {"a.aed"});
             bind(folder + "/a.aed");
             makeArchive(folder + "/b.aed", otherRescue());
             return folder + "/b.aed";
         },
         false, "the folder holds several archives", false},
        {"two archives without review files",
         [this](const QString &f) { return folderWith(f, rescue(), {"a.aed", "b.aed"}) + "/b.aed"; }, false,
         "the folder holds several archives", false},
        {"archive moved to a folder with another recording's files",
         [this](const QString &f) {
             const QString home = folderWith(f + "-home", rescue(), {"a.aed"});
             bind(home + "/a.aed");
             const QString away = writeFolder(f + "-away", otherRescue());
             QFile::rename(home + "/a.aed", away + "/a.aed");
             QFile::rename(ReviewFile::pathFor(home + "/a.aed"), ReviewFile::pathFor(away + "/a.aed"));
             return away + "/a.aed";
         },
         false, "it belongs to another recording", false},
        {"stale review file of another recording",
         [this, otherId](const QString &f) {
             const QString archive = folderWith(f, rescue(), {"a.aed"}) + "/a.aed";
             ReviewMarks marks;
             marks.recordingId = otherId;
             marks.adjustedStart = "2019-01-01 10:00:00";
             marks.companions = std::vector<CompanionFile>();
             ReviewFile::write(archive, marks);
             return archive;
         },
         true, "holds the review marks of another recording", true},
        {"damaged review file",
         [this](const QString &f) {
             const QString archive = folderWith(f, rescue(), {"a.aed"}) + "/a.aed";
             dir.write(f + "/a.aed.review.json", "{\"version\": 1, \"viewed\": ");
             return archive;
         },
         true, "not a review file", true},
        {"review file of a newer version",
         [this](const QString &f) {
             const QString archive = folderWith(f, rescue(), {"a.aed"}) + "/a.aed";
             dir.write(f + "/a.aed.review.json", "{\"version\": 9}");
             return archive;
         },
         true, "version", true},
    };
    int row = 0;
    for (const bool review : {true, false}) {
        for (const Case &c : cases) {
            CloseAllCases(view);
            platform.messages.clear();
            const QString archive = c.make(QStringLiteral("row%1").arg(++row));
            const QString folder = QFileInfo(archive).path();
            const auto before = fileHashesIn(folder);
            const int slot = open(archive, review);
            const std::string name = std::string(c.name) + (review ? " (program)" : " (reading)");
            ASSERT_GE(slot, 0) << name;
            const OpenCase &entry = view.store.at(slot);
            EXPECT_EQ(entry.hasCprFeedback, c.credited) << name;
            EXPECT_EQ(entry.hasAudio, c.credited) << name;
            EXPECT_EQ(view.store.caseAt(slot)->cprFeedbackCount, c.credited ? 2 : 0) << name;
            EXPECT_TRUE(entry.adjustedStart.isEmpty()) << name << ": another recording's start is never applied";
            const QString said = platform.texts().join('\n');
            if (*c.message)
                EXPECT_TRUE(said.contains(QLatin1String(c.message))) << name << ": " << said.toStdString();
            else
                EXPECT_TRUE(platform.messages.isEmpty()) << name << ": " << said.toStdString();
            EXPECT_EQ(movedAside(archive).size(), review && c.reviewMovedAside ? 1 : 0) << name;
            if (review && c.reviewMovedAside) {
                EXPECT_TRUE(said.contains(QDir::toNativeSeparators(ReviewFile::pathFor(archive)))) << name;
                EXPECT_TRUE(said.contains(movedAside(archive).value(0))) << name << ": names both files";
            }
            if (!review) {
                EXPECT_TRUE(fileHashesIn(folder) == before)
                    << name << ": a reading writes nothing; now " << fileHashesIn(folder).keys().join(", ").toStdString();
                continue;
            }
            // The program records what it decided: this recording's ID and the files it credited.
            if (c.credited) {
                const ReviewFile::Reading kept = ReviewFile::read(archive);
                ASSERT_EQ(kept.kind, ReviewFile::Reading::Kind::Marks) << name;
                EXPECT_EQ(kept.marks.recordingId, recordingIdOf(archive)) << name;
                ASSERT_TRUE(kept.marks.companions.has_value()) << name;
                EXPECT_EQ(kept.marks.companions->size(), 2u) << name;
            }
        }
    }
}

TEST_F(SealedCase, AReviewFileWrittenBeforeRecordingsHadIdsIsAdoptedByTheFirstOpen)
{
    const QString archive = writeFolder("old") + "/a.aed";
    makeArchive(archive);
    dir.write("old/a.aed.review.json", "{\"version\": 1, \"viewed\": true, \"adjustedStart\": \"2021-03-07 10:00:00\"}");
    const int slot = open(archive, true);
    ASSERT_GE(slot, 0);
    EXPECT_TRUE(view.store.at(slot).viewed);
    EXPECT_EQ(view.store.at(slot).adjustedStart, "2021-03-07 10:00:00");
    const ReviewFile::Reading now = ReviewFile::read(archive);
    ASSERT_EQ(now.kind, ReviewFile::Reading::Kind::Marks);
    EXPECT_EQ(now.marks.recordingId, recordingIdOf(archive));
    EXPECT_EQ(now.marks.adjustedStart, "2021-03-07 10:00:00");
    EXPECT_TRUE(movedAside(archive).isEmpty());
}

TEST_F(SealedCase, AReviewFileIsNeverWrittenThroughALink)
{
    const QString archive = writeFolder("linked") + "/a.aed";
    makeArchive(archive);
    const QString target = dir.write("precious.txt", "not a review file");
    ASSERT_TRUE(QFile::link(target, ReviewFile::pathFor(archive)));
    const int slot = open(archive, true);
    ASSERT_GE(slot, 0);
    view.OnMarkViewed(slot);
    view.OnMarkNotViewed(slot);
    EXPECT_EQ(dir.read("precious.txt"), "not a review file");
    EXPECT_TRUE(QFileInfo(ReviewFile::pathFor(archive)).isSymLink());
    EXPECT_EQ(platform.messages.size(), 1) << platform.texts().join('\n').toStdString();
    EXPECT_TRUE(view.store.at(slot).viewed == false);
}

TEST_F(SealedCase, AnArchiveIsOpenOnceHoweverItIsReached)
{
    const QString archive = makeArchive(writeFolder("once") + "/a.aed");
    ASSERT_TRUE(QFile::link(archive, dir.file("link.aed")));
    const int first = open(archive, true);
    ASSERT_GE(first, 0);
    EXPECT_EQ(open(dir.file("link.aed"), true), first);
    EXPECT_EQ(open(dir.file("once/../once/a.aed"), true), first);
    EXPECT_EQ(openCaseCount(), 1);
}

TEST_F(SealedCase, AnImportIntoAnotherFolderTakesTheCaseWithIt)
{
    const QString device = writeFolder("card");
    const QString elsewhere = dir.mkdir("elsewhere");
    scriptLoadMif(device);
    platform.savePaths.push_back(elsewhere + "/x.aed");
    view.state.directoryMode = 0;
    OpenFlow(view).OnOpenRequest();
    ASSERT_EQ(openCaseCount(), 1) << platform.texts().join('\n').toStdString();
    const OpenCase &entry = view.store.at(0);
    EXPECT_TRUE(entry.hasCprFeedback);
    EXPECT_TRUE(entry.hasAudio);
    EXPECT_EQ(entry.cprFeedbackPath, elsewhere + "/CPR Feedback.bin");
    for (const char *name : {"CPR Feedback.bin", "Audio Record.bin"})
        EXPECT_EQ(dir.read(QString("elsewhere/") + name), dir.read(QString("card/") + name)) << name;
    EXPECT_EQ(ReviewFile::read(elsewhere + "/x.aed").marks.recordingId, entry.recordingId);

    // Into a folder that holds another recording's CPR data nothing is written.
    const QString occupied = writeFolder("occupied", otherRescue());
    const auto before = fileHashesIn(occupied);
    const QString device2 = writeFolder("card2");
    platform.messages.clear();
    scriptLoadMif(device2);
    platform.savePaths.push_back(occupied + "/y.aed");
    OpenFlow(view).OnOpenRequest();
    EXPECT_EQ(fileHashesIn(occupied), before);
    EXPECT_EQ(mifFilesIn(device2).size(), 5) << "nothing erased";
    EXPECT_TRUE(platform.texts().join('\n').contains("Choose a new folder")) << platform.texts().join('\n').toStdString();
}

TEST_F(SealedCase, ReimportingOverAnArchiveWithMarksMovesThemAside)
{
    const QString folder = writeFolder("card");
    const QString archive = folder + "/a.aed";
    makeArchive(archive, otherRescue());
    ReviewMarks old;
    old.recordingId = recordingIdOf(archive);
    old.adjustedStart = "2019-05-01 08:00:00";
    ReviewFile::write(archive, old);

    scriptLoadMif(folder);
    platform.savePaths.push_back(archive);
    OpenFlow(view).OnOpenRequest();
    ASSERT_EQ(openCaseCount(), 1) << platform.texts().join('\n').toStdString();
    EXPECT_TRUE(view.store.at(0).adjustedStart.isEmpty()) << "the device's own start";
    ASSERT_EQ(movedAside(archive).size(), 1);
    EXPECT_TRUE(dir.read("card/" + movedAside(archive).value(0)).contains("2019-05-01 08:00:00"));
}

TEST_F(SealedCase, BindingTheFoldersFilesCreditsThemToTheCaseFromThenOn)
{
    const QString folder = folderWith("pair", rescue(), {"a.aed", "b.aed"});
    int slot = open(folder + "/b.aed", true);
    ASSERT_GE(slot, 0);
    ASSERT_FALSE(view.store.at(slot).hasCprFeedback);
    OpenFlow(view).BindCompanions(slot);
    EXPECT_TRUE(view.store.at(slot).hasCprFeedback);
    EXPECT_TRUE(view.store.at(slot).hasAudio);
    EXPECT_EQ(view.store.caseAt(slot)->cprFeedbackCount, 2);

    CloseAllCases(view);
    platform.messages.clear();
    slot = open(folder + "/b.aed", false);
    EXPECT_TRUE(view.store.at(slot).hasCprFeedback) << "the binding is the review file's";
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.texts().join('\n').toStdString();
}

TEST_F(SealedCase, SaveAsIntoAnotherFolderTakesTheCaseWithIt)
{
    const QString archive = folderWith("home", rescue(), {"a.aed"}) + "/a.aed";
    const int slot = open(archive, true);
    ASSERT_TRUE(view.store.at(slot).hasCprFeedback);
    view.OnMarkViewed(slot);

    platform.savePaths.push_back(dir.mkdir("copy") + "/b.aed");
    ASSERT_TRUE(SaveCase(view, slot));
    for (const char *name : {"CPR Feedback.bin", "Audio Record.bin"})
        EXPECT_EQ(dir.read(QString("copy/") + name), dir.read(QString("home/") + name)) << name;
    const ReviewFile::Reading copied = ReviewFile::read(dir.file("copy/b.aed"));
    ASSERT_EQ(copied.kind, ReviewFile::Reading::Kind::Marks);
    EXPECT_EQ(copied.marks.recordingId, view.store.at(slot).recordingId);
    EXPECT_EQ(copied.marks.viewed, true);

    // Saved over that copy again, the copy's review file holds the marks as they are now.
    view.OnMarkNotViewed(slot);
    platform.savePaths.push_back(dir.file("copy/b.aed"));
    ASSERT_TRUE(SaveCase(view, slot)) << platform.texts().join('\n').toStdString();
    EXPECT_EQ(ReviewFile::read(dir.file("copy/b.aed")).marks.viewed, false);

    // Beside another recording's files nothing is written.
    const QString occupied = writeFolder("occupied", otherRescue());
    const auto before = fileHashesIn(occupied);
    platform.messages.clear();
    platform.savePaths.push_back(occupied + "/c.aed");
    EXPECT_FALSE(SaveCase(view, slot));
    EXPECT_TRUE(fileHashesIn(occupied) == before);
    EXPECT_TRUE(platform.texts().join('\n').contains("Choose a new folder"));

    // Nor over what the case is read from; over its own archive is the plain Save.
    const auto home = fileHashesIn(dir.file("home"));
    for (const char *name : {"CPR Feedback.bin", "Q25 ECG Data.MIF", "a.aed.review.json"}) {
        platform.savePaths.push_back(dir.file(QString("home/") + name));
        EXPECT_FALSE(SaveCase(view, slot)) << name;
    }
    EXPECT_TRUE(fileHashesIn(dir.file("home")) == home);
    platform.savePaths.push_back(archive);
    EXPECT_TRUE(SaveCase(view, slot));
}

} // namespace
